// Two copies on one store, measured: copy A has one PC open in its ledger
// work while copy B edits, deletes and imports. Prints how long B waits for
// A's PC and for others, how long A's OK holds the store's write lock, and
// what a claim and its renewal cost.
//
//   ledger_bench [--files N] [--pg-host H --pg-port P [--pg-user U]]

#include "SampleGenerator.h"
#include "import/ImportRun.h"
#include "ledger/PcLedger.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>
#include <functional>

namespace {

class Quiet : public ImportObserver, public TableCheckObserver
{
public:
    void progress(const QString &) override { }
    void fileMessage(const QString &) override { }
    void fatal(const QString &text) override
    {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(text));
    }
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

double millis(const std::function<void()> &work, int runs = 1)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < runs; ++i)
        work();
    return timer.nsecsElapsed() / 1e6 / runs;
}

void line(const char *engine, const char *what, double ms)
{
    std::printf("%-11s %-52s %10.2f ms\n", engine, what, ms);
}

int countOf(TDMdata &dm, const QString &sql)
{
    QSqlQuery q = dm.exec(sql);
    const int n = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    return n;
}

void run(const char *engine, const StoreSettings &settings, const QString &folder, int files)
{
    Quiet quiet;
    TDMdata a, b;
    for (TDMdata *dm : {&a, &b}) {
        dm->setSettings(settings);
        dm->open();
        dm->checkTables(quiet);
    }
    ImportSummary summary;
    line(engine, "B imports the folder (no PC open)",
         millis([&] { summary = ImportRun(b, quiet).run(folder, {}); }));
    line(engine, "B imports the folder again (no PC open)",
         millis([&] { summary = ImportRun(b, quiet).run(folder, {}); }));

    SampleGenerator names(SampleGenerator::Options {});
    const QString x = names.key(0);
    const QString y = names.key(1);
    std::printf("%-11s PC %s has %d applications, %d drives\n", engine, qPrintable(x),
                countOf(a, QStringLiteral("SELECT COUNT(*) FROM Appli WHERE Key = '%1'").arg(x)),
                countOf(a, QStringLiteral("SELECT COUNT(*) FROM Drive WHERE Key = '%1'").arg(x)));

    PcLedger ledgerA(a);
    line(engine, "A opens PC X (claim and read into the work)",
         millis([&] { ledgerA.beginEdit(x); }));

    PcLedger ledgerB(b);
    line(engine, "B opens PC Y (not claimed)", millis([&] {
             ledgerB.beginEdit(y);
             ledgerB.discard();
         }));
    line(engine, "B tries to open PC X (claimed): time to the error", millis([&] {
             try {
                 ledgerB.beginEdit(x);
             } catch (const ClaimError &) { }
         }));
    line(engine, "B imports the folder while A has X open",
         millis([&] { summary = ImportRun(b, quiet).run(folder, {}); }));
    std::printf("%-11s   of %d files: %d imported, %d failed (X's)\n", engine, files,
                summary.imported, summary.failed);

    // A changes the PC and a tenth of its applications, adds a printer.
    ledgerA.pc().setValue(QStringLiteral("Bu"), QStringLiteral("総務部"));
    const QueryRows applis = ledgerA.list(LedgerLists::List::Appli);
    int edited = 0;
    for (int i = 0; i < applis.rows.size(); i += 10, ++edited) {
        RowBuffer row(TableId::Appli);
        ledgerA.editDetail(LedgerLists::List::Appli, applis.rows[i].value(1).toString(), row);
        row.setValue(QStringLiteral("Biko"), QStringLiteral("棚卸済"));
        ledgerA.postDetail(LedgerLists::List::Appli, row);
    }
    RowBuffer printer(TableId::Printer);
    ledgerA.appendDetail(printer);
    printer.setValue(QStringLiteral("Printer"), QStringLiteral("LP-S100"));
    ledgerA.postDetail(LedgerLists::List::Printer, printer);
    std::printf("%-11s A changed the PC row, %d applications, added 1 printer\n", engine, edited);
    line(engine, "A's OK: the one write transaction",
         millis([&] { ledgerA.save(QDate::currentDate()); }));

    PcClaim claim(a);
    line(engine, "claim and release of one PC (mean of 200)",
         millis(
             [&] {
                 claim.take(y);
                 claim.release();
             },
             200));
    if (a.engine() == Engine::SQLite) {
        claim.take(y);
        line(engine, "renewal of a claim (mean of 200)", millis([&] { claim.beat(); }, 200));
        claim.release();
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption filesOption(QStringLiteral("files"), QStringLiteral("PCs (files)."),
                                         QStringLiteral("N"), QStringLiteral("50"));
    const QCommandLineOption hostOption(QStringLiteral("pg-host"),
                                        QStringLiteral("PostgreSQL host."), QStringLiteral("H"));
    const QCommandLineOption portOption(QStringLiteral("pg-port"),
                                        QStringLiteral("PostgreSQL port."), QStringLiteral("P"),
                                        QStringLiteral("5432"));
    const QCommandLineOption userOption(QStringLiteral("pg-user"),
                                        QStringLiteral("PostgreSQL user."), QStringLiteral("U"),
                                        QStringLiteral("postgres"));
    parser.addOptions({filesOption, hostOption, portOption, userOption});
    parser.process(app);

    const int files = parser.value(filesOption).toInt();
    QTemporaryDir scratch;
    const QString folder = scratch.filePath(QStringLiteral("collector"));
    SampleGenerator generator(SampleGenerator::Options {});
    if (generator.writeFolder(folder, 0, files) < 0) {
        std::fprintf(stderr, "cannot write the sample files\n");
        return 1;
    }

    try {
        QTemporaryDir dataDir;
        StoreSettings s;
        s.folder = dataDir.path();
        run("SQLite", s, folder, files);
    } catch (const StoreError &e) {
        std::fprintf(stderr, "SQLite: %s\n", qPrintable(e.message()));
        return 1;
    }

    if (parser.isSet(hostOption)) {
        const QString name
            = QStringLiteral("orvane_bench_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        StoreSettings s;
        s.mode = StoreSettings::Mode::Remote;
        s.host = parser.value(hostOption);
        s.port = parser.value(portOption).toInt();
        s.user = parser.value(userOption);
        {
            QSqlDatabase admin
                = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("admin"));
            admin.setHostName(s.host);
            admin.setPort(s.port);
            admin.setUserName(s.user);
            admin.setDatabaseName(QStringLiteral("postgres"));
            if (!admin.open()
                || !QSqlQuery(admin).exec(QStringLiteral("CREATE DATABASE ") + name)) {
                std::fprintf(stderr, "PostgreSQL: %s\n", qPrintable(admin.lastError().text()));
                return 1;
            }
        }
        s.database = name;
        try {
            run("PostgreSQL", s, folder, files);
        } catch (const StoreError &e) {
            std::fprintf(stderr, "PostgreSQL: %s\n", qPrintable(e.message()));
        }
        QSqlQuery(QSqlDatabase::database(QStringLiteral("admin")))
            .exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
    }
    return 0;
}
