// Import benchmark: generates N collector files, imports them into a fresh
// SQLite store (and into PostgreSQL when a server is given), imports the
// same folder again, then a folder of the same PCs with other values (every
// file changes, and its changes are recorded in the history), and compares
// with the physical floor: the same number of rows bulk-inserted into an
// empty SQLite table in one transaction with one prepared statement. Each
// store is imported with the history recorded and, for comparison, without.
//
//   import_bench [--files N] [--pg-host H --pg-port P [--pg-user U]] [--keep DIR]

#include "BenchSupport.h"
#include "SampleGenerator.h"
#include "base/Cp932.h"
#include "import/ImportRun.h"
#include "store/StoreError.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <cstdio>

namespace {

class Quiet : public ImportObserver, public TableCheckObserver
{
public:
    void progress(const QString &) override { }
    void fileMessage(const QString &text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    void fatal(const QString &text) override
    {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(text));
    }
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

struct Timing
{
    double seconds = 0;
    ImportSummary summary;
};

Timing importFolder(TDMdata &dm, const QString &folder, bool history)
{
    Quiet quiet;
    QElapsedTimer timer;
    timer.start();
    Timing t;
    ImportOptions options;
    options.recordHistory = history;
    t.summary = ImportRun(dm, quiet).run(folder, options);
    t.seconds = timer.nsecsElapsed() / 1e9;
    return t;
}

// The floor of the run, the reference each figure is printed beside.
double g_floorRate = 0;

void report(const QString &what, const Timing &t, qint64 records)
{
    const double rate = records / t.seconds;
    std::printf("%-36s %8.2f s  %10.0f records/s  floor %.0f rows/s, ratio %.2f  (%d files, %d "
                "failed)  peak %.0f MB\n",
                qPrintable(what), t.seconds, rate, g_floorRate, g_floorRate / rate,
                t.summary.imported, t.summary.failed, peakMemoryMb());
}

qint64 historyLines(TDMdata &dm)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT COUNT(*) FROM History"));
    const qint64 n = q.next() ? q.value(0).toLongLong() : 0;
    q.finish();
    return n;
}

// Imports the folder, the same again and the changed folder into the open
// store, with or without the history.
struct Runs
{
    Timing first, again, changed;
};

Runs importThree(TDMdata &dm, const QString &engine, const QString &folder,
                 const QString &changedFolder, qint64 records, qint64 changedRecords, bool history)
{
    const QString label
        = engine + (history ? QStringLiteral(" (history)") : QStringLiteral(" (no history)"));
    Runs r;
    r.first = importFolder(dm, folder, history);
    report(label + QStringLiteral(" import"), r.first, records);
    r.again = importFolder(dm, folder, history);
    report(label + QStringLiteral(" re-import"), r.again, records);
    r.changed = importFolder(dm, changedFolder, history);
    report(label + QStringLiteral(" changed"), r.changed, changedRecords);
    std::printf("%-36s %8lld\n", qPrintable(label + QStringLiteral(" history lines")),
                static_cast<long long>(historyLines(dm)));
    return r;
}

// The floor: every record as one row of a 7-column table, one prepared
// INSERT, one transaction.
double floorSeconds(const QString &folder)
{
    QTemporaryDir dir;
    double seconds = 0;
    {
        QSqlDatabase db
            = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("floor"));
        db.setDatabaseName(dir.filePath(QStringLiteral("floor.db")));
        db.open();
        QSqlQuery q(db);
        q.exec(QStringLiteral("PRAGMA journal_mode = WAL"));
        q.exec(QStringLiteral("PRAGMA synchronous = NORMAL"));
        q.exec(QStringLiteral(
            "CREATE TABLE R (k TEXT, g TEXT, i TEXT, s TEXT, c TEXT, u TEXT, r TEXT)"));
        // Only the inserts are timed: each file is split untimed, then its
        // rows go into the one transaction with the one prepared statement.
        QSqlQuery insert(db);
        insert.prepare(QStringLiteral("INSERT INTO R VALUES (?, ?, ?, ?, ?, ?, ?)"));
        q.exec(QStringLiteral("BEGIN"));
        qint64 nanoseconds = 0;
        QElapsedTimer timer;
        QDirIterator it(folder, {QStringLiteral("*.csv")}, QDir::Files);
        while (it.hasNext()) {
            QFile f(it.next());
            f.open(QIODevice::ReadOnly);
            const QStringList lines
                = Cp932::decode(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
            QVector<QStringList> rows;
            rows.reserve(lines.size());
            for (int i = 1; i < lines.size(); ++i)
                rows << lines[i].split(u',');
            timer.start();
            for (const QStringList &r : rows) {
                for (int i = 0; i < 7; ++i)
                    insert.bindValue(i, r.value(i));
                insert.exec();
            }
            nanoseconds += timer.nsecsElapsed();
        }
        timer.start();
        q.exec(QStringLiteral("COMMIT"));
        nanoseconds += timer.nsecsElapsed();
        seconds = nanoseconds / 1e9;
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("floor"));
    return seconds;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    std::setvbuf(stdout, nullptr, _IOLBF, 0); // each figure as it comes
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption filesOption(QStringLiteral("files"), QStringLiteral("PCs (files)."),
                                         QStringLiteral("N"), QStringLiteral("2000"));
    const QCommandLineOption hostOption(QStringLiteral("pg-host"),
                                        QStringLiteral("PostgreSQL host."), QStringLiteral("H"));
    const QCommandLineOption portOption(QStringLiteral("pg-port"),
                                        QStringLiteral("PostgreSQL port."), QStringLiteral("P"),
                                        QStringLiteral("5432"));
    const QCommandLineOption userOption(QStringLiteral("pg-user"),
                                        QStringLiteral("PostgreSQL user."), QStringLiteral("U"),
                                        QStringLiteral("postgres"));
    const QCommandLineOption keepOption(QStringLiteral("keep"),
                                        QStringLiteral("Generate into (or reuse) this folder."),
                                        QStringLiteral("DIR"));
    parser.addOptions({filesOption, hostOption, portOption, userOption, keepOption});
    parser.process(app);

    const int files = parser.value(filesOption).toInt();
    QTemporaryDir scratch;
    const QString folder = parser.isSet(keepOption) ? parser.value(keepOption)
                                                    : scratch.filePath(QStringLiteral("collector"));
    qint64 records = 0;
    qint64 changedRecords = 0;
    const QString changedFolder = folder + QStringLiteral("-changed");
    {
        SampleGenerator generator(SampleGenerator::Options {});
        QElapsedTimer timer;
        timer.start();
        records = generator.writeFolder(folder, 0, files);
        // The same PCs a day later with other values.
        SampleGenerator::Options changed;
        changed.seed = 2;
        changed.date = changed.date.addDays(1);
        changedRecords = SampleGenerator(changed).writeFolder(changedFolder, 0, files);
        if (records < 0 || changedRecords < 0) {
            std::fprintf(stderr, "cannot write the sample files\n");
            return 1;
        }
        std::printf("generated %d files, %lld records (%.1f per file) in %.1f s\n", files,
                    static_cast<long long>(records), double(records) / files,
                    timer.elapsed() / 1000.0);
    }

    // The floor first, so that every figure is printed beside it.
    const double floor = floorSeconds(folder);
    g_floorRate = records / floor;
    std::printf("%-36s %8.2f s  %10.0f rows/s\n", "SQLite floor (bulk insert)", floor, g_floorRate);
    try {
        Runs withHistory, without;
        for (const bool history : {true, false}) {
            QTemporaryDir dataDir;
            TDMdata dm;
            StoreSettings s;
            s.folder = dataDir.path();
            dm.setSettings(s);
            dm.open();
            Quiet quiet;
            dm.checkTables(quiet);
            (history ? withHistory : without)
                = importThree(dm, QStringLiteral("SQLite"), folder, changedFolder, records,
                              changedRecords, history);
            dm.close();
        }
        std::printf("%-36s %8.2f\n", "ratio import/floor", withHistory.first.seconds / floor);
        std::printf("%-36s %8.2f\n", "ratio import/floor (no history)",
                    without.first.seconds / floor);
        std::printf("%-36s %8.2f\n", "ratio re-import/import",
                    withHistory.again.seconds / withHistory.first.seconds);
        std::printf("%-36s %8.2f\n", "history cost, import",
                    withHistory.first.seconds / without.first.seconds);
        std::printf("%-36s %8.2f\n", "history cost, re-import",
                    withHistory.again.seconds / without.again.seconds);
        std::printf("%-36s %8.2f\n", "history cost, changed",
                    withHistory.changed.seconds / without.changed.seconds);
    } catch (const StoreError &e) {
        std::fprintf(stderr, "SQLite: %s\n", qPrintable(e.message()));
        return 1;
    }

    if (parser.isSet(hostOption)) {
        StoreSettings s;
        s.mode = StoreSettings::Mode::Remote;
        s.host = parser.value(hostOption);
        s.port = parser.value(portOption).toInt();
        s.user = parser.value(userOption);
        QSqlDatabase admin
            = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("admin"));
        admin.setHostName(s.host);
        admin.setPort(s.port);
        admin.setUserName(s.user);
        admin.setDatabaseName(QStringLiteral("postgres"));
        if (!admin.open()) {
            std::fprintf(stderr, "PostgreSQL: %s\n", qPrintable(admin.lastError().text()));
            return 1;
        }
        // A new database for each pass, so that neither finds the other's
        // pages.
        for (const bool history : {true, false}) {
            const QString name = QStringLiteral("orvane_bench_")
                + QUuid::createUuid().toString(QUuid::Id128).left(12);
            if (!QSqlQuery(admin).exec(QStringLiteral("CREATE DATABASE ") + name)) {
                std::fprintf(stderr, "PostgreSQL: %s\n", qPrintable(admin.lastError().text()));
                return 1;
            }
            s.database = name;
            try {
                TDMdata dm;
                dm.setSettings(s);
                dm.open();
                Quiet quiet;
                dm.checkTables(quiet);
                importThree(dm, QStringLiteral("PostgreSQL"), folder, changedFolder, records,
                            changedRecords, history);
            } catch (const StoreError &e) {
                std::fprintf(stderr, "PostgreSQL: %s\n", qPrintable(e.message()));
            }
            QSqlQuery(admin).exec(
                QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        }
    }
    return 0;
}
