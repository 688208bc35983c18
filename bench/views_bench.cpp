// Views benchmark: fills a fresh SQLite store with PCs and times the main
// window's views through the code the window runs, offscreen. Each section
// measures one view and prints its figures; no figure is asserted.
//
//   views_bench [--pcs N] [--section NAME]... [--keep]

#include "BenchSupport.h"
#include "app/PcListPage.h"
#include "base/AppSettings.h"
#include "base/ProgramPaths.h"
#include "kit/TDBGridEx.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"
#include "views/PcListModel.h"
#include "views/PcListStatement.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCommandLineParser>
#include <QDate>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <memory>

namespace {

class QuietCheck : public TableCheckObserver
{
public:
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

// What every section works on: a store filled once.
struct BenchContext
{
    TDMdata *dm = nullptr;
    QString folder;
    int pcs = 0;
};

// Processor time of this process in milliseconds (user and system): the
// figure to read on a machine busy with other work.
double cpuMs()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
}

// Wall-clock and processor time of one step.
class StepTimer
{
public:
    StepTimer() { restart(); }
    void restart()
    {
        m_wall.start();
        m_cpu = cpuMs();
    }
    double wallMs() const { return m_wall.nsecsElapsed() / 1e6; }
    double cpuSinceMs() const { return cpuMs() - m_cpu; }

private:
    QElapsedTimer m_wall;
    double m_cpu = 0;
};

// ---------------------------------------------------------------- filling

QString pick(QRandomGenerator &random, const QStringList &choices)
{
    return choices.at(int(random.bounded(quint32(choices.size()))));
}

// 50,000 PCs (or N) by direct inserts in one transaction, with realistic
// values in every field of the PC list and a share of removed PCs.
void fillPcs(TDMdata &dm, int count)
{
    const QStringList columns {
        QStringLiteral("Key"),         QStringLiteral("KanriNo"),      QStringLiteral("KanriCD"),
        QStringLiteral("PC_Name"),     QStringLiteral("Host"),         QStringLiteral("Mem_All"),
        QStringLiteral("CPU_Clock"),   QStringLiteral("user"),         QStringLiteral("IP"),
        QStringLiteral("IP16"),        QStringLiteral("Mac"),          QStringLiteral("Domain"),
        QStringLiteral("Bu"),          QStringLiteral("Ka"),           QStringLiteral("Riyosya"),
        QStringLiteral("Maker"),       QStringLiteral("Kisyu"),        QStringLiteral("lease"),
        QStringLiteral("lease_No"),    QStringLiteral("Kataban"),      QStringLiteral("TekkyoYMD"),
        QStringLiteral("WorkGroup"),   QStringLiteral("UpdateYMD"),    QStringLiteral("SettiBasyo"),
        QStringLiteral("Win_Type"),    QStringLiteral("Hosyu_Kaisya"), QStringLiteral("Hosyu_No"),
        QStringLiteral("SerialNo"),    QStringLiteral("SP"),           QStringLiteral("InvaroYMD"),
        QStringLiteral("Yoto"),        QStringLiteral("SisanKBN"),     QStringLiteral("Konyusaki"),
        QStringLiteral("CompSetumei"), QStringLiteral("DonyuYMD"),     QStringLiteral("FREE"),
        QStringLiteral("CPU_Name"),    QStringLiteral("LAN_Adapter")};
    QStringList params;
    for (const QString &c : columns)
        params << u':' + c;
    const QString sql
        = QStringLiteral("INSERT INTO PC (%1)\nVALUES (%2)")
              .arg(columns.join(QStringLiteral(", ")), params.join(QStringLiteral(", ")));

    const QStringList bu {QStringLiteral("総務部"),         QStringLiteral("経理部"),
                          QStringLiteral("営業部"),         QStringLiteral("開発部"),
                          QStringLiteral("製造部"),         QStringLiteral("品質保証部"),
                          QStringLiteral("情報システム部"), QStringLiteral("人事部")};
    const QStringList ka {QStringLiteral("第一課"), QStringLiteral("第二課"),
                          QStringLiteral("第三課"), QStringLiteral("庶務課"),
                          QStringLiteral("企画課")};
    const QStringList names {QStringLiteral("山田 太郎"), QStringLiteral("鈴木 花子"),
                             QStringLiteral("佐藤 一郎"), QStringLiteral("高橋 次郎"),
                             QStringLiteral("田中 美紀"), QStringLiteral("伊藤 健"),
                             QStringLiteral("渡辺 裕子"), QStringLiteral("中村 誠")};
    const QStringList makers {QStringLiteral("NEC"),  QStringLiteral("富士通"),
                              QStringLiteral("東芝"), QStringLiteral("DELL"),
                              QStringLiteral("HP"),   QStringLiteral("Lenovo")};
    const QStringList os {
        QStringLiteral("Windows 2000 Professional"), QStringLiteral("Windows XP Professional"),
        QStringLiteral("Windows Vista Business"), QStringLiteral("Windows 7 Professional"),
        QStringLiteral("Windows 10 Pro")};
    const QStringList cpus {QStringLiteral("Intel(R) Pentium(R) 4 CPU 2.40GHz"),
                            QStringLiteral("Intel(R) Core(TM)2 Duo CPU E8400"),
                            QStringLiteral("Intel(R) Core(TM) i5-3470 CPU @ 3.20GHz"),
                            QStringLiteral("AMD Athlon(tm) 64 X2 Dual Core 4400+")};
    const QStringList adapters {QStringLiteral("Intel(R) PRO/1000 MT Network Connection"),
                                QStringLiteral("Realtek RTL8139 Family PCI Fast Ethernet NIC"),
                                QStringLiteral("Broadcom NetXtreme Gigabit Ethernet")};
    const QStringList leases {QStringLiteral("オリックス"), QStringLiteral("東京センチュリー"),
                              QStringLiteral("三井住友ファイナンス")};
    const QStringList places {QStringLiteral("本社3F"), QStringLiteral("本社4F"),
                              QStringLiteral("大阪支店"), QStringLiteral("名古屋工場")};
    const QStringList uses {QStringLiteral("事務"), QStringLiteral("設計"), QStringLiteral("開発"),
                            QStringLiteral("共用")};
    const qlonglong memories[] = {262144, 524288, 1048576, 2097152, 4194304, 8388608};
    const double clocks[] = {1800, 2400, 2800, 2993.5, 3200};

    const TableDef &pc = Schema::table(TableId::PC);
    QRandomGenerator random(20061231);
    const QDate base(2003, 4, 1);
    StoreTransaction transaction(dm);
    QSqlQuery insert = dm.prepare(sql);
    for (int i = 0; i < count; ++i) {
        const int a = int(random.bounded(256u)), b = int(random.bounded(256u));
        const QString ip = QStringLiteral("10.%1.%2.%3").arg(i / 65536).arg(a).arg(b);
        const QDate donyu = base.addDays(random.bounded(3000));
        const bool removed = random.bounded(100u) < 6;
        const QVariantList values {
            QStringLiteral("PC%1-%2")
                .arg(i, 6, 10, QLatin1Char('0'))
                .arg(a, 2, 16, QLatin1Char('0')),
            i + 1,
            QStringLiteral("K%1").arg(i, 6, 10, QLatin1Char('0')),
            QStringLiteral("PC-%1").arg(i, 6, 10, QLatin1Char('0')),
            QStringLiteral("pc-%1.corp.example.jp").arg(i, 6, 10, QLatin1Char('0')),
            memories[random.bounded(6u)],
            clocks[random.bounded(5u)],
            QStringLiteral("user%1").arg(i % 9000, 4, 10, QLatin1Char('0')),
            ip,
            QStringLiteral("0A%1%2%3")
                .arg(i / 65536, 2, 16, QLatin1Char('0'))
                .arg(a, 2, 16, QLatin1Char('0'))
                .arg(b, 2, 16, QLatin1Char('0'))
                .toUpper(),
            QStringLiteral("00-0C-29-%1-%2-%3")
                .arg(i % 256, 2, 16, QLatin1Char('0'))
                .arg(a, 2, 16, QLatin1Char('0'))
                .arg(b, 2, 16, QLatin1Char('0'))
                .toUpper(),
            QStringLiteral("CORP"),
            pick(random, bu),
            pick(random, ka),
            pick(random, names),
            pick(random, makers),
            QStringLiteral("Model %1").arg(random.bounded(40u)),
            pick(random, leases),
            QStringLiteral("L-%1").arg(random.bounded(2000u), 5, 10, QLatin1Char('0')),
            QStringLiteral("PC-%1X%2").arg(random.bounded(900u) + 100).arg(random.bounded(9u)),
            removed ? QVariant(donyu.addDays(1500)) : QVariant(),
            QStringLiteral("WORKGROUP"),
            donyu.addDays(random.bounded(400)),
            pick(random, places),
            pick(random, os),
            QStringLiteral("保守サービス株式会社"),
            QStringLiteral("H-%1").arg(random.bounded(500u), 4, 10, QLatin1Char('0')),
            QStringLiteral("SN%1").arg(random.bounded(100000000u), 8, 10, QLatin1Char('0')),
            QStringLiteral("SP%1").arg(random.bounded(4u)),
            donyu.addDays(random.bounded(600)),
            pick(random, uses),
            random.bounded(2u) ? QStringLiteral("リース") : QStringLiteral("購入"),
            QStringLiteral("大塚商会"),
            QStringLiteral("%1の端末").arg(pick(random, bu)),
            donyu,
            QStringLiteral("C:%1GB").arg(random.bounded(200u)),
            pick(random, cpus),
            pick(random, adapters),
        };
        for (int c = 0; c < columns.size(); ++c)
            insert.bindValue(
                params.at(c),
                StoreValue::toStore(*pc.column(columns.at(c)), values.at(c), dm.engine()));
        TDMdata::exec(insert);
    }
    insert.finish();
    transaction.commit();
}

// ---------------------------------------------------------------- PC list

// A step's figures with the longest stall of the window's thread during it.
void line(const char *what, const StepTimer &timer, UiStallProbe &probe)
{
    std::printf("  %-46s %9.1f ms  (cpu %7.1f ms)  longest UI stall %6.1f ms\n", what,
                timer.wallMs(), timer.cpuSinceMs(), probe.longestMs());
}

// The PC list tab as the main window runs it: the statement from the sort
// keys, the first screenful, the rest of the list, a title click, copying.
// The rows are read away from the window's thread; each step runs the event
// loop until its rows are in, as the program would.
void pcListSection(BenchContext &context)
{
    std::printf("PC list (%d PCs)\n", context.pcs);
    AppSettings settings(context.folder);
    const ProgramPaths paths(context.folder + QStringLiteral("/Orvane"), context.folder);
    PcListPage page;
    page.attach(settings, paths);
    page.resize(1200, 800);
    page.show();
    QObject::connect(&page, &PcListPage::listsRefreshRequested, &page,
                     [&] { page.refresh(*context.dm); });
    QObject::connect(&page, &PcListPage::refreshRequested, &page,
                     [&] { page.refresh(*context.dm); });
    QApplication::processEvents();
    PcListModel *model = page.model();
    const auto firstScreen
        = [&] { return model->rowCount() > 0 && page.grid()->currentIndex().isValid(); };

    // Opening: the statement runs and the first screenful is painted.
    std::unique_ptr<UiStallProbe> probe = std::make_unique<UiStallProbe>();
    StepTimer timer;
    page.refresh(*context.dm);
    runUntil(firstScreen);
    page.grid()->viewport()->repaint();
    line("open: first screenful shown", timer, *probe);
    std::printf("  %-46s %9d rows\n", "  rows at that moment", model->rowCount());
    probe = std::make_unique<UiStallProbe>();
    timer.restart();
    runUntil([&] { return model->isComplete(); }); // the rest of the list follows
    line("open: rest of the list read", timer, *probe);
    std::printf("  %-46s %9d rows\n", "  rows then", model->rowCount());

    // A title click on ﾎｽﾄ名: sort key 1 changes and the list is read again.
    QHeaderView *header = page.grid()->horizontalHeader();
    const int hostColumn = 4;
    const auto click = [&](const char *first, const char *rest) {
        page.grid()->setCurrentIndex(QModelIndex());
        probe = std::make_unique<UiStallProbe>();
        timer.restart();
        emit header->sectionClicked(hostColumn);
        runUntil(firstScreen);
        page.grid()->viewport()->repaint();
        line(first, timer, *probe);
        runUntil([&] { return model->isComplete(); });
        line(rest, timer, *probe);
    };
    click("title click: first screenful shown (asc)", "title click: whole list re-sorted (asc)");
    click("title click again: first screenful (desc)", "title click again: whole list (desc)");

    // The whole list by 部, as the display settings would order it.
    settings.pcGrid.sort.komoku[0] = QStringLiteral("部");
    settings.pcGrid.sort.jyun[0] = QStringLiteral("昇順");
    page.grid()->setCurrentIndex(QModelIndex());
    probe = std::make_unique<UiStallProbe>();
    timer.restart();
    page.refresh(*context.dm);
    runUntil([&] { return model->isComplete(); });
    line("whole list by 部", timer, *probe);

    // A refresh while the rows still come: it restarts the read, and the
    // list goes back to the row it stood on.
    page.goToKey(model->key(model->rowCount() / 2));
    const QString kept = page.currentKey();
    probe = std::make_unique<UiStallProbe>();
    timer.restart();
    page.refreshKeepingRow();
    page.refreshKeepingRow();
    runUntil([&] { return model->isComplete(); });
    line("refresh twice, keeping the row", timer, *probe);
    std::printf("  %-46s %9s\n", "  row kept", page.currentKey() == kept ? "yes" : "NO");

    // The same list read completely on this thread, for comparison.
    PcListModel whole;
    probe = std::make_unique<UiStallProbe>();
    timer.restart();
    whole.load(*context.dm, PcListStatement::build(settings.pcGrid.sort, false));
    line("whole list by 部 on the window's thread", timer, *probe);

    std::printf("  %-46s %9.0f MB\n", "peak memory before the copy", peakMemoryMb());
    // Copying every field of every row, as the context menu does.
    QAction *copyAll = page.grid()->findChild<QAction *>(QStringLiteral("CopyAllMI"));
    probe = std::make_unique<UiStallProbe>();
    timer.restart();
    copyAll->trigger();
    runUntil([&] { return !page.grid()->isCopying(); });
    line("copy all fields (whole list)", timer, *probe);
    std::printf("  %-46s %9.1f MB of text\n", "  clipboard",
                QApplication::clipboard()->text().size() * 2 / 1048576.0);
    std::printf("  %-46s %9.0f MB\n", "peak memory so far", peakMemoryMb());
}

struct Section
{
    const char *name;
    std::function<void(BenchContext &)> run;
};

// Sections in the order they run; each view adds its own.
const QList<Section> &sections()
{
    static const QList<Section> all {
        {"pclist", pcListSection},
    };
    return all;
}

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    QCommandLineOption pcsOption(QStringLiteral("pcs"), QStringLiteral("PCs in the store"),
                                 QStringLiteral("N"), QStringLiteral("50000"));
    QCommandLineOption sectionOption(QStringLiteral("section"),
                                     QStringLiteral("run only this section (repeatable)"),
                                     QStringLiteral("NAME"));
    QCommandLineOption keepOption(QStringLiteral("keep"),
                                  QStringLiteral("keep the filled store and print its folder"));
    parser.addOptions({pcsOption, sectionOption, keepOption});
    parser.process(app);

    QTemporaryDir dir;
    dir.setAutoRemove(!parser.isSet(keepOption));
    if (parser.isSet(keepOption))
        std::printf("store folder %s\n", qPrintable(dir.path()));
    BenchContext context;
    context.folder = dir.path();
    context.pcs = parser.value(pcsOption).toInt();
    TDMdata dm;
    try {
        StoreSettings settings;
        settings.folder = dir.path();
        dm.setSettings(settings);
        dm.open();
        QuietCheck check;
        dm.checkTables(check);
        QElapsedTimer timer;
        timer.start();
        fillPcs(dm, context.pcs);
        std::printf("filled %d PCs in %.1f s\n", context.pcs, timer.nsecsElapsed() / 1e9);
        context.dm = &dm;

        const QStringList wanted = parser.values(sectionOption);
        for (const Section &section : sections()) {
            if (wanted.isEmpty() || wanted.contains(QLatin1String(section.name)))
                section.run(context);
        }
    } catch (const StoreError &error) {
        std::fprintf(stderr, "store error: %s\n", qPrintable(error.message()));
        return 1;
    }
    std::printf("peak memory %.0f MB\n", peakMemoryMb());
    return 0;
}
