// SQL window benchmark: a query of wide binary values in the SQL window,
// offscreen, on a fresh store of PCs. Prints the time to the first rows,
// the rows the window keeps, the peak memory, the longest pause of the
// window's event loop while the rows come, and how long "中　止" and
// "閉じる" take to answer while a statement runs. No figure is asserted.
//
//   sql_bench [--pcs N] [--value-mb M] [--pg-host H --pg-port P [--pg-user U]]

#include "BenchSupport.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"
#include "tools/windows/Usql.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <functional>

namespace {

class Quiet : public TableCheckObserver
{
public:
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

// The longest time the event loop went without running a 5 ms timer.
class PauseMeter
{
public:
    PauseMeter()
    {
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout,
                         [this] { m_longest = std::max(m_longest, m_since.restart()); });
        m_since.start();
        m_timer.start();
    }
    qint64 longestMs() const { return m_longest; }

private:
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longest = 0;
};

// Runs the event loop until the condition holds; its time in ms.
qint64 waitUntil(const std::function<bool()> &done, int timeoutMs = 600000)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < timeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return t.elapsed();
}

QPushButton *button(const QWidget &window, const char *name)
{
    return window.findChild<QPushButton *>(QLatin1String(name));
}

void run(const char *engine, TDMdata &dm, int pcs, int valueMb, const ProgramPaths &paths)
{
    {
        StoreTransaction transaction(dm);
        for (int i = 0; i < pcs; ++i)
            dm.exec(
                QStringLiteral("INSERT INTO PC (Key) VALUES (:k)"),
                {{QStringLiteral(":k"), QStringLiteral("PC%1").arg(i, 5, 10, QLatin1Char('0'))}});
        transaction.commit();
    }
    const qint64 bytes = qint64(valueMb) * 1000 * 1000;
    const QString wide = dm.engine() == Engine::SQLite
        ? QStringLiteral("SELECT zeroblob(%1) AS b FROM PC").arg(bytes)
        : QStringLiteral("SELECT decode(repeat('00', %1), 'hex') AS b FROM PC").arg(bytes);
    QString endless = QStringLiteral("SELECT COUNT(*) FROM PC t0");
    for (int i = 1; i < 8; ++i)
        endless += QStringLiteral(", PC t%1").arg(i);

    MessageBoxes::ScopedRecorder boxes;
    std::printf("%s, %d PCs, one value of %d MB per row\n", engine, pcs, valueMb);
    {
        TFsql window(&dm, paths);
        window.show();
        auto *memo = window.findChild<QPlainTextEdit *>(QStringLiteral("SQLMemo"));
        auto *grid = window.findChild<QAbstractItemView *>();
        memo->setPlainText(wide);
        PauseMeter pauses;
        QElapsedTimer t;
        t.start();
        button(window, "ExecBTN")->click();
        const qint64 first
            = waitUntil([&] { return grid->model()->rowCount() > 0 || !window.isBusy(); });
        // The grid asks for more rows while it has room, until the bound.
        qint64 all = 0;
        for (int rows = -1; rows != grid->model()->rowCount();) {
            rows = grid->model()->rowCount();
            waitUntil([&] { return !window.isBusy(); });
            all = t.elapsed();
            waitUntil([] { return false; }, 300);
        }
        std::printf("  first rows %lld ms, rows kept %d, all read %lld ms, longest pause %lld ms, "
                    "peak memory %.0f MB%s\n",
                    first, grid->model()->rowCount(), all, pauses.longestMs(), peakMemoryMb(),
                    boxes.entries().isEmpty()
                        ? ""
                        : qPrintable((QStringLiteral(", message: ") + boxes.texts().join(u'|'))));
        boxes.clear();
    }
    // 中止 while each statement runs: until the window is idle again, and
    // the longest pause of its event loop meanwhile.
    for (const QString &sql : {wide, endless}) {
        TFsql window(&dm, paths);
        window.show();
        window.findChild<QPlainTextEdit *>(QStringLiteral("SQLMemo"))->setPlainText(sql);
        button(window, "ExecBTN")->click();
        waitUntil([] { return false; }, 500);
        PauseMeter pauses;
        button(window, "StopBTN")->click();
        const qint64 stopped = waitUntil([&] { return !window.isBusy(); });
        std::printf("  中止 while %s: idle after %lld ms, longest pause %lld ms (%s)\n",
                    sql == wide ? "wide rows are read" : "a statement runs", stopped,
                    pauses.longestMs(), qPrintable(boxes.texts().join(u'|')));
        boxes.clear();
    }
    for (const QString &sql : {wide, endless}) {
        auto *window = new TFsql(&dm, paths);
        window->show();
        window->findChild<QPlainTextEdit *>(QStringLiteral("SQLMemo"))->setPlainText(sql);
        button(*window, "ExecBTN")->click();
        waitUntil([] { return false; }, 300);
        QElapsedTimer t;
        t.start();
        delete window; // what 閉じる does to the modal window once closed
        std::printf("  閉じる while %s: %lld ms\n",
                    sql == wide ? "wide rows are read" : "a statement runs", t.elapsed());
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
    parser.addOptions({option("pcs", "PCs to write", "N", "50"),
                       option("value-mb", "size of the value of each row", "M", "40"),
                       option("pg-host", "PostgreSQL server", "H", ""),
                       option("pg-port", "its port", "P", "5432"),
                       option("pg-user", "its user", "U", "postgres")});
    parser.process(app);
    auto value = [&](const char *name) { return parser.value(QString::fromLatin1(name)); };
    const int pcs = value("pcs").toInt();
    const int valueMb = value("value-mb").toInt();

    try {
        QTemporaryDir dir;
        const ProgramPaths paths(dir.filePath(QStringLiteral("Orvane")), dir.path());
        {
            TDMdata dm;
            StoreSettings s;
            s.folder = dir.path();
            dm.setSettings(s);
            dm.open();
            Quiet quiet;
            dm.checkTables(quiet);
            run("SQLite", dm, pcs, valueMb, paths);
        }
        if (!value("pg-host").isEmpty()) {
            const QString database
                = QStringLiteral("sql_bench_%1").arg(QRandomGenerator::global()->bounded(1000000));
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
                run("PostgreSQL", dm, pcs, valueMb, paths);
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
