// Overall status benchmark: fills a fresh store with N PCs (default 50,000;
// realistic operating systems, departments, makers, forms and clocks, about
// 5% removed) and times RefreshStatistics's work for each grouping through
// the tab itself, offscreen: the statement (on the tab's reader thread), the
// grid's model, the chart's data and the total, until they are shown, with
// the longest stall of the window's thread meanwhile. A paint of the tab is
// timed apart.
//
//   status_bench [--pcs N] [--runs R] [--pg-host H --pg-port P [--pg-user U]]

#include "BenchSupport.h"
#include "app/OverallStatusPage.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"
#include "views/StatisticsModel.h"
#include "views/windows/StatusChart.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDate>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QUuid>
#include <algorithm>
#include <cstdio>
#include <vector>

using Statistics::Grouping;

namespace {

class Quiet : public TableCheckObserver
{
public:
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

// A value drawn with the given weights.
QString pick(QRandomGenerator &rng, const std::vector<std::pair<const char *, int>> &choices)
{
    int total = 0;
    for (const auto &c : choices)
        total += c.second;
    int n = int(rng.bounded(total));
    for (const auto &c : choices) {
        if (n < c.second)
            return QString::fromUtf8(c.first);
        n -= c.second;
    }
    return {};
}

void fill(TDMdata &dm, int count)
{
    QRandomGenerator rng(20261209);
    const std::vector<std::pair<const char *, int>> os = {{"Windows 11 Pro", 40},
                                                          {"Windows 10 Pro", 35},
                                                          {"Windows 10 Enterprise", 8},
                                                          {"Windows 11 Enterprise", 6},
                                                          {"Windows 8.1 Pro", 3},
                                                          {"Windows 7 Professional", 2},
                                                          {"Windows Server 2019 Standard", 2},
                                                          {"Windows Server 2022 Standard", 2},
                                                          {"Windows 10 Home", 1},
                                                          {"", 1}};
    const std::vector<std::pair<const char *, int>> makers
        = {{"富士通", 25}, {"NEC", 22},      {"Dell", 15}, {"HP", 12},  {"Lenovo", 10},
           {"東芝", 6},    {"Panasonic", 5}, {"VAIO", 3},  {"自作", 1}, {"", 1}};
    const std::vector<std::pair<const char *, int>> forms
        = {{"ﾉｰﾄ", 55}, {"ﾃﾞｽｸﾄｯﾌﾟ", 35}, {"ﾀﾜｰ", 6}, {"ｻｰﾊﾞｰ", 2}, {"", 2}};
    const double clocks[] = {1600,   1800, 1992, 2000, 2100, 2400, 2496,   2500,
                             2592.5, 2800, 3000, 3200, 3400, 3600, 3700.5, 4200};
    QStringList departments;
    for (int i = 1; i <= 40; ++i)
        departments << QStringLiteral("第%1部").arg(i);
    departments << QString();

    StoreTransaction transaction(dm);
    QSqlQuery q = dm.prepare(QStringLiteral(
        "INSERT INTO PC (Key, Win_Type, Bu, Ka, Maker, Keijyo, CPU_Clock, TekkyoYMD)\n"
        "VALUES (:KEY, :OS, :BU, :KA, :MAKER, :KEIJYO, :CLOCK, :TEKKYO)"));
    const QVariant noText(QMetaType(QMetaType::QString));
    const QVariant noDate(QMetaType(QMetaType::QDate));
    auto text = [&](const QString &s) { return s.isEmpty() ? noText : QVariant(s); };
    for (int i = 0; i < count; ++i) {
        q.bindValue(
            QStringLiteral(":KEY"),
            QUuid::createUuidV5(QUuid(), QString::number(i)).toString(QUuid::Id128).left(32));
        q.bindValue(QStringLiteral(":OS"), text(pick(rng, os)));
        q.bindValue(QStringLiteral(":BU"), text(departments.at(rng.bounded(departments.size()))));
        q.bindValue(QStringLiteral(":KA"), QStringLiteral("第%1課").arg(rng.bounded(1, 6)));
        q.bindValue(QStringLiteral(":MAKER"), text(pick(rng, makers)));
        q.bindValue(QStringLiteral(":KEIJYO"), text(pick(rng, forms)));
        q.bindValue(QStringLiteral(":CLOCK"), clocks[rng.bounded(int(std::size(clocks)))]);
        q.bindValue(QStringLiteral(":TEKKYO"),
                    rng.bounded(100) < 5 ? QVariant(QDate(2022, 3, 31)) : noDate);
        TDMdata::exec(q);
    }
    q.finish();
    transaction.commit();
}

void run(const char *engineName, TDMdata &dm, int pcs, int runs)
{
    QElapsedTimer timer;
    timer.start();
    fill(dm, pcs);
    std::printf("%s: %d PCs written in %.2f s\n", engineName, pcs, timer.nsecsElapsed() / 1e9);

    OverallStatusPage page;
    page.resize(1000, 650);
    page.show();
    const struct
    {
        Grouping grouping;
        const char *name;
    } groupings[] = {{Grouping::OS, "OS"},       {Grouping::Bu, "Bu"},
                     {Grouping::Maker, "Maker"}, {Grouping::Keijyo, "Keijyo"},
                     {Grouping::Clock, "Clock"}, {Grouping::OS, "OS after Clock"}};
    for (const auto &g : groupings) {
        page.setGrouping(g.grouping);
        std::vector<double> refresh, paint, stall;
        for (int r = 0; r < runs; ++r) {
            // Until the figures are shown, the event loop running meanwhile
            // as in the program; the probe notes its longest stall.
            UiStallProbe probe;
            timer.restart();
            page.refresh(dm);
            runUntil([&] { return !page.isReading(); });
            refresh.push_back(timer.nsecsElapsed() / 1e6);
            stall.push_back(probe.longestMs());
            timer.restart();
            const QPixmap image = page.grab();
            paint.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(refresh.begin(), refresh.end());
        std::sort(paint.begin(), paint.end());
        std::sort(stall.begin(), stall.end());
        // Where the time goes: the statement, the total, the chart alone.
        timer.restart();
        const QVector<Statistics::Row> rows = Statistics::run(dm, g.grouping);
        const double statement = timer.nsecsElapsed() / 1e6;
        timer.restart();
        Statistics::totalCount(dm);
        const double total = timer.nsecsElapsed() / 1e6;
        timer.restart();
        if (g.grouping == Grouping::Clock)
            page.chart()->showClocks(Statistics::clockBars(rows));
        else
            page.chart()->showCounts(Statistics::pieSlices(rows));
        const double chart = timer.nsecsElapsed() / 1e6;
        std::printf("  %-15s rows %6d  refresh median %7.1f ms (min %7.1f, max %7.1f)  "
                    "longest UI stall median %6.1f ms (max %6.1f)\n"
                    "  %-15s paint median %7.1f ms  peak %.0f MB\n"
                    "  %-15s of which statement %.1f ms, chart %.1f ms (a separate count of the "
                    "total, no longer run: %.1f ms)\n",
                    g.name, page.model()->rowCount(), refresh[refresh.size() / 2], refresh.front(),
                    refresh.back(), stall[stall.size() / 2], stall.back(), "",
                    paint[paint.size() / 2], peakMemoryMb(), "", statement, chart, total);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    auto option = [](const char *name, const char *help, const char *value, const char *dflt) {
        return QCommandLineOption(QString::fromLatin1(name), QString::fromLatin1(help),
                                  QString::fromLatin1(value), QString::fromLatin1(dflt));
    };
    QCommandLineParser parser;
    parser.addOptions({option("pcs", "PCs to write", "N", "50000"),
                       option("runs", "refreshes per grouping", "R", "5"),
                       option("pg-host", "PostgreSQL server", "H", ""),
                       option("pg-port", "its port", "P", "5432"),
                       option("pg-user", "its user", "U", "postgres")});
    parser.process(app);
    auto value = [&](const char *name) { return parser.value(QString::fromLatin1(name)); };
    const int pcs = value("pcs").toInt();
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
            run("SQLite", dm, pcs, runs);
        }
        if (!value("pg-host").isEmpty()) {
            const QString database = QStringLiteral("status_bench_%1")
                                         .arg(QRandomGenerator::global()->bounded(1000000));
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
                run("PostgreSQL", dm, pcs, runs);
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
