// The lease window opening a contract with a long payment schedule,
// offscreen: the time from showing the window to its schedule and totals
// being there, and the peak memory.
//
//   lease_bench [--rows N]   (N payments, 10,000 unless given)

#include "BenchSupport.h"
#include "base/ProgramPaths.h"
#include "lease/ScheduleModel.h"
#include "lease/windows/UleaseDaityo.h"
#include "store/StoreError.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDate>
#include <QElapsedTimer>
#include <QLabel>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <cstdio>

namespace {

class Quiet : public TableCheckObserver
{
public:
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

// One contract with rows monthly payments from 1990 on.
void fill(TDMdata &dm, int rows)
{
    dm.startTransaction();
    dm.exec(QStringLiteral("INSERT INTO Lease (lease, lease_No) VALUES (:L, :N)"),
            {{QStringLiteral(":L"), QStringLiteral("ベンチ")}, {QStringLiteral(":N"), 1}});
    QSqlQuery q = dm.prepare(
        QStringLiteral("INSERT INTO LeaseMesai (lease, lease_No, SiharaiYMD, SiharaiY, SiharaiM, "
                       "kingaku, zei, hosyuryo) VALUES (:L, :N, :D, :Y, :M, :K, :Z, :H)"));
    QDate day(1990, 1, 1);
    for (int i = 0; i < rows; ++i, day = day.addDays(1)) {
        q.bindValue(QStringLiteral(":L"), QStringLiteral("ベンチ"));
        q.bindValue(QStringLiteral(":N"), QStringLiteral("1"));
        q.bindValue(QStringLiteral(":D"), day);
        q.bindValue(QStringLiteral(":Y"), day.year());
        q.bindValue(QStringLiteral(":M"), day.month());
        q.bindValue(QStringLiteral(":K"), 15000);
        q.bindValue(QStringLiteral(":Z"), 1500);
        q.bindValue(QStringLiteral(":H"), 500);
        TDMdata::exec(q);
    }
    dm.commit();
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addOption({QStringLiteral("rows"), QStringLiteral("payments of the contract"),
                      QStringLiteral("N"), QStringLiteral("10000")});
    parser.process(app);
    const int rows = parser.value(QStringLiteral("rows")).toInt();
    try {
        QTemporaryDir dir;
        TDMdata dm;
        StoreSettings settings;
        settings.folder = dir.path();
        dm.setSettings(settings);
        dm.open();
        Quiet quiet;
        dm.checkTables(quiet);
        fill(dm, rows);

        TFleaseDaityo window(dm, ProgramPaths(dir.filePath(QStringLiteral("Orvane")), dir.path()));
        window.Mode = QStringLiteral("upd");
        window.LeaseKey = QStringLiteral("ベンチ");
        window.LeaseNoKey = QStringLiteral("1");
        QElapsedTimer timer;
        timer.start();
        window.show();
        QApplication::processEvents();
        const double ms = timer.nsecsElapsed() / 1e6;
        std::printf("lease window, %d payments: open %.0f ms, %d rows shown, totals %s / %s, "
                    "peak memory %.0f MB\n",
                    rows, ms, window.schedule()->rowCount(),
                    qPrintable(window.findChild<QLabel *>(QStringLiteral("KaisuLBL"))->text()),
                    qPrintable(window.findChild<QLabel *>(QStringLiteral("GokeiLBL"))->text()),
                    peakMemoryMb());
    } catch (const StoreError &error) {
        std::fprintf(stderr, "store error: %s\n", qPrintable(error.message()));
        return 1;
    }
    return 0;
}
