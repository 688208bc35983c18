// The search for PCs entered twice over a large store: how long
// PcDuplicates::find takes, and its peak memory.
//
//   dups_bench [--pcs N] [--renamed R] [--runs K] [--pg-host H --pg-port P [--pg-user U]]
//
// The store holds N PCs with unique names, MAC addresses and product IDs,
// a quarter of them with a second adapter of one fixed address (as virtual
// adapters have), plus R renamed copies: new key and name, the same
// adapter, product ID and model, later collector data.

#include "BenchSupport.h"
#include "ledger/PcDuplicates.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

class Quiet : public TableCheckObserver
{
public:
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

QString mac(quint32 n)
{
    return QStringLiteral("00-0B-%1-%2-%3-%4")
        .arg((n >> 24) & 0xff, 2, 16, QLatin1Char('0'))
        .arg((n >> 16) & 0xff, 2, 16, QLatin1Char('0'))
        .arg((n >> 8) & 0xff, 2, 16, QLatin1Char('0'))
        .arg(n & 0xff, 2, 16, QLatin1Char('0'))
        .toUpper();
}

void fill(TDMdata &dm, int pcs, int renamed)
{
    QSqlQuery pc = dm.prepare(
        QStringLiteral("INSERT INTO PC (Key, PC_Name, Host, Mac, Win_ProductID, Win_OEM_Model, "
                       "InvaroYMD) VALUES (:KEY, :NAME, :HOST, :MAC, :PID, :MODEL, :DAY)"));
    QSqlQuery lan
        = dm.prepare(QStringLiteral("INSERT INTO LAN (Key, Seq, Mac) VALUES (:KEY, :SEQ, :MAC)"));
    const auto add = [&](const QString &key, const QString &name, int identity, const QDate &day) {
        pc.bindValue(QStringLiteral(":KEY"), key);
        pc.bindValue(QStringLiteral(":NAME"), name);
        pc.bindValue(QStringLiteral(":HOST"), name.toLower());
        pc.bindValue(QStringLiteral(":MAC"), mac(quint32(identity) * 2654435761u));
        pc.bindValue(QStringLiteral(":PID"),
                     QStringLiteral("55274-OEM-%1-00001").arg(identity, 7, 10, QLatin1Char('0')));
        pc.bindValue(QStringLiteral(":MODEL"), QStringLiteral("Model %1").arg(identity % 50));
        pc.bindValue(QStringLiteral(":DAY"), day);
        TDMdata::exec(pc);
        lan.bindValue(QStringLiteral(":KEY"), key);
        lan.bindValue(QStringLiteral(":SEQ"), 1);
        lan.bindValue(QStringLiteral(":MAC"), mac(quint32(identity) * 2654435761u));
        TDMdata::exec(lan);
        if (identity % 4 == 0) {
            lan.bindValue(QStringLiteral(":SEQ"), 2);
            lan.bindValue(QStringLiteral(":MAC"), QStringLiteral("00:0B:00:00:00:02"));
            TDMdata::exec(lan);
        }
    };
    StoreTransaction transaction(dm);
    for (int i = 0; i < pcs; ++i)
        add(QStringLiteral("PC%1").arg(i + 1, 5, 10, QLatin1Char('0')),
            QStringLiteral("PC-%1").arg(i + 1, 5, 10, QLatin1Char('0')), i + 1, QDate(2025, 6, 1));
    for (int i = 0; i < renamed; ++i) {
        const int identity = 1 + int(QRandomGenerator::global()->bounded(quint32(pcs)));
        add(QStringLiteral("RN%1").arg(i + 1, 5, 10, QLatin1Char('0')),
            QStringLiteral("NEW-%1").arg(i + 1, 5, 10, QLatin1Char('0')), identity,
            QDate(2026, 6, 1));
    }
    transaction.commit();
}

void run(const char *engine, TDMdata &dm, int pcs, int renamed, int runs)
{
    QElapsedTimer timer;
    timer.start();
    fill(dm, pcs, renamed);
    std::printf("%s: %d PCs and %d renamed copies written in %.1f s\n", engine, pcs, renamed,
                timer.elapsed() / 1000.0);
    std::fflush(stdout);
    QVector<double> times;
    PcDuplicates::Result result;
    for (int r = 0; r < runs; ++r) {
        const double cpu = cpuSeconds();
        timer.restart();
        result = PcDuplicates::find(dm);
        times.append(timer.nsecsElapsed() / 1e6);
        std::printf("  run %d: %.0f ms (processor %.0f ms)\n", r + 1, times.last(),
                    (cpuSeconds() - cpu) * 1000);
        std::fflush(stdout);
    }
    std::sort(times.begin(), times.end());
    std::printf("%s: find over %d PCs: median %.0f ms, %lld pairs, %lld values ignored as shared "
                "(the largest by %d PCs), peak %.0f MB\n",
                engine, pcs + renamed, times[times.size() / 2],
                static_cast<long long>(result.pairs.size()),
                static_cast<long long>(result.shared.size()),
                result.shared.isEmpty() ? 0 : result.shared.first().pcs, peakMemoryMb());
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    auto option = [](const char *name, const char *help, const char *value, const char *dflt) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help),
                                  QString::fromLatin1(value), QString::fromLatin1(dflt));
    };
    QCommandLineParser parser;
    parser.addOptions({option("pcs", "PCs to write", "N", "10000"),
                       option("renamed", "renamed copies among them", "R", "100"),
                       option("runs", "searches", "K", "3"),
                       option("pg-host", "PostgreSQL server", "H", ""),
                       option("pg-port", "its port", "P", "5432"),
                       option("pg-user", "its user", "U", "postgres")});
    parser.process(app);
    auto value = [&](const char *name) { return parser.value(QString::fromLatin1(name)); };
    const int pcs = std::max(1, value("pcs").toInt());
    const int renamed = std::max(0, value("renamed").toInt());
    const int runs = std::max(1, value("runs").toInt());

    try {
        QTemporaryDir dir;
        {
            TDMdata dm;
            StoreSettings s;
            s.folder = dir.path();
            dm.setSettings(s);
            dm.open();
            Quiet quiet;
            dm.checkTables(quiet);
            run("SQLite", dm, pcs, renamed, runs);
        }
        if (!value("pg-host").isEmpty()) {
            const QString database
                = QStringLiteral("dups_bench_%1").arg(QRandomGenerator::global()->bounded(1000000));
            const QString adminName = QStringLiteral("admin");
            {
                QSqlDatabase admin = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), adminName);
                admin.setHostName(value("pg-host"));
                admin.setPort(value("pg-port").toInt());
                admin.setUserName(value("pg-user"));
                admin.setDatabaseName(QStringLiteral("postgres"));
                if (!admin.open()
                    || !QSqlQuery(admin).exec(QStringLiteral("CREATE DATABASE ") + database))
                    throw StoreError(QStringLiteral("cannot create the benchmark database"));
            }
            {
                TDMdata dm;
                StoreSettings s;
                s.mode = StoreSettings::Mode::Remote;
                s.host = value("pg-host");
                s.port = value("pg-port").toInt();
                s.user = value("pg-user");
                s.database = database;
                dm.setSettings(s);
                dm.open();
                Quiet quiet;
                dm.checkTables(quiet);
                run("PostgreSQL", dm, pcs, renamed, runs);
            }
            {
                QSqlDatabase admin = QSqlDatabase::database(adminName);
                QSqlQuery(admin).exec(QStringLiteral("DROP DATABASE ") + database);
            }
            QSqlDatabase::removeDatabase(adminName);
        }
    } catch (const StoreError &error) {
        std::fprintf(stderr, "store error: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
