// Search benchmark: a fresh SQLite store of N PCs (50,000 unless given),
// each with applications, a printer and an adapter, and lease contracts;
// times the PC list's filter box keystroke by keystroke (offscreen, the
// window's own page) and the search over the whole ledger (LedgerSearch:
// reading its index, then each query). Three runs each, medians printed.
//
//   find_bench [--pcs N] [--applications A]

#include "BenchSupport.h"
#include "app/PcListPage.h"
#include "base/AppSettings.h"
#include "base/ProgramPaths.h"
#include "kit/FilterBox.h"
#include "kit/TDBGridEx.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"
#include "views/LedgerSearch.h"
#include "views/PcListFields.h"
#include "views/PcListModel.h"
#include "views/SearchFilterModel.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

class QuietCheck : public TableCheckObserver
{
public:
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

QString pick(QRandomGenerator &random, const QStringList &choices)
{
    return choices.at(int(random.bounded(quint32(choices.size()))));
}

QString hex2(int value)
{
    return QStringLiteral("%1").arg(value & 0xff, 2, 16, QLatin1Char('0')).toUpper();
}

void fill(TDMdata &dm, int pcs, int applications)
{
    const QStringList bu {QStringLiteral("総務部"), QStringLiteral("経理部"),
                          QStringLiteral("営業部"), QStringLiteral("開発部"),
                          QStringLiteral("製造部"), QStringLiteral("情報システム部")};
    const QStringList names {QStringLiteral("ﾔﾏﾀﾞ ﾀﾛｳ"),        QStringLiteral("鈴木 花子"),
                             QStringLiteral("サトウ イチロウ"), QStringLiteral("高橋 次郎"),
                             QStringLiteral("たなか みき"),     QStringLiteral("伊藤 健")};
    const QStringList makers {QStringLiteral("NEC"), QStringLiteral("富士通"),
                              QStringLiteral("ＤＥＬＬ"), QStringLiteral("HP")};
    QStringList appliNames;
    for (int i = 0; i < 400; ++i)
        appliNames << QStringLiteral("Application %1 ｱﾌﾟﾘ").arg(i);
    QRandomGenerator random(20261209);
    StoreTransaction transaction(dm);
    QSqlQuery pc = dm.prepare(QStringLiteral(
        "INSERT INTO PC (Key, KanriNo, PC_Name, Host, user, IP, Mac, Bu, Ka, Riyosya, Maker, "
        "Kisyu, SerialNo, Win_Type, SettiBasyo, FREE, CPU_Name)\n"
        "VALUES (:Key, :KanriNo, :PC_Name, :Host, :user, :IP, :Mac, :Bu, :Ka, :Riyosya, :Maker, "
        ":Kisyu, :SerialNo, :Win_Type, :SettiBasyo, :FREE, :CPU_Name)"));
    QSqlQuery appli = dm.prepare(QStringLiteral(
        "INSERT INTO APPLI (Key, Appli, Ver, ProductID)\nVALUES (:Key, :Appli, :Ver, :PID)"));
    QSqlQuery lan = dm.prepare(
        QStringLiteral("INSERT INTO LAN (Key, Seq, IP, Mac)\nVALUES (:Key, 1, :IP, :Mac)"));
    QSqlQuery printer
        = dm.prepare(QStringLiteral("INSERT INTO PRINTER (Key, Printer)\nVALUES (:Key, :Printer)"));
    for (int i = 0; i < pcs; ++i) {
        const QString key = QStringLiteral("PC%1").arg(i, 6, 10, QLatin1Char('0'));
        const QString ip
            = QStringLiteral("10.%1.%2.%3").arg(i / 65536).arg((i / 256) % 256).arg(i % 256);
        const QString mac
            = QStringLiteral("00-1B-%1-%2-%3-%4")
                  .arg(hex2(i >> 16), hex2(i >> 8), hex2(i), hex2(int(random.bounded(256u))));
        const QVariantList values {key,
                                   i + 1,
                                   QStringLiteral("PC-%1").arg(i),
                                   QStringLiteral("pc%1.corp.example.jp").arg(i),
                                   QStringLiteral("user%1").arg(i),
                                   ip,
                                   mac,
                                   pick(random, bu),
                                   QStringLiteral("第%1課").arg(random.bounded(5u) + 1),
                                   pick(random, names),
                                   pick(random, makers),
                                   QStringLiteral("Model %1").arg(random.bounded(40u)),
                                   QStringLiteral("SN%1").arg(random.bounded(1u << 30)),
                                   QStringLiteral("Windows 10 Pro"),
                                   QStringLiteral("本社%1F").arg(random.bounded(9u) + 1),
                                   QStringLiteral("備考 %1").arg(i % 97),
                                   QStringLiteral("Intel(R) Core(TM) i5-3470 CPU @ 3.20GHz")};
        for (int v = 0; v < values.size(); ++v)
            pc.bindValue(v, values.at(v));
        TDMdata::exec(pc);
        lan.bindValue(0, key);
        lan.bindValue(1, ip);
        lan.bindValue(2, mac);
        TDMdata::exec(lan);
        printer.bindValue(0, key);
        printer.bindValue(1, QStringLiteral("Printer %1").arg(random.bounded(300u)));
        TDMdata::exec(printer);
        QStringList chosen;
        while (chosen.size() < applications) {
            const QString name = pick(random, appliNames);
            if (!chosen.contains(name))
                chosen << name;
        }
        for (const QString &name : chosen) {
            appli.bindValue(0, key);
            appli.bindValue(1, name);
            appli.bindValue(
                2, QStringLiteral("%1.%2").arg(random.bounded(12u)).arg(random.bounded(10u)));
            appli.bindValue(3,
                            QStringLiteral("%1-OEM-%2")
                                .arg(random.bounded(100000u), 5, 10, QLatin1Char('0'))
                                .arg(random.bounded(10000000u), 7, 10, QLatin1Char('0')));
            TDMdata::exec(appli);
        }
    }
    for (int c = 0; c < 200; ++c) {
        dm.exec(
            QStringLiteral("INSERT INTO LEASE (lease, lease_No, Bukkenmei)\nVALUES (:L, :N, :B)"),
            {{QStringLiteral(":L"), QStringLiteral("オリックス")},
             {QStringLiteral(":N"), QString::number(c)},
             {QStringLiteral(":B"), QStringLiteral("パソコン一式")}});
        for (int p = 0; p < 10; ++p)
            dm.exec(
                QStringLiteral("INSERT INTO LeasePC (lease, lease_No, PCKey)\nVALUES (:L, :N, :K)"),
                {{QStringLiteral(":L"), QStringLiteral("オリックス")},
                 {QStringLiteral(":N"), QString::number(c)},
                 {QStringLiteral(":K"),
                  QStringLiteral("PC%1").arg(c * 10 + p, 6, 10, QLatin1Char('0'))}});
    }
    transaction.commit();
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2);
}

// Runs a step three times: the median of the wall-clock and processor
// milliseconds.
void measure(const char *what, const std::function<QString()> &step)
{
    QList<double> wall, cpu;
    QString note;
    for (int run = 0; run < 3; ++run) {
        QElapsedTimer timer;
        const double cpu0 = cpuSeconds();
        timer.start();
        note = step();
        wall << timer.nsecsElapsed() / 1e6;
        cpu << (cpuSeconds() - cpu0) * 1e3;
    }
    std::printf("  %-44s %8.1f ms  (cpu %7.1f ms)  %s\n", what, median(wall), median(cpu),
                qPrintable(note));
    std::fflush(stdout);
}

void filterSection(TDMdata &dm, const QString &folder, int pcs)
{
    std::printf("PC list filter (%d PCs)\n", pcs);
    AppSettings settings(folder);
    const ProgramPaths paths(folder + QStringLiteral("/Orvane"), folder);
    PcListPage page;
    page.attach(settings, paths);
    page.resize(1200, 800);
    page.show();
    page.refresh(dm);
    while (!page.model()->isComplete())
        QApplication::processEvents();
    SearchFilterModel *filter = page.filterBox()->filter();
    QLineEdit *edit = page.filterBox()->edit();

    measure("search forms of every row (kept)", [&] {
        // Made again each run: what the slices do after a list is read.
        filter->setSearchedColumns({});
        filter->setSearchedColumns(QList<bool>(PcListFields::Count, true));
        filter->prepareAll();
        return QString();
    });
    filter->setSearchedColumns({});
    edit->clear();
    // Keystrokes as typed, each filtering the whole list.
    const QStringList typed {QStringLiteral("ﾔ"),       QStringLiteral("ﾔﾏ"),
                             QStringLiteral("ﾔﾏﾀﾞ"),    QStringLiteral("ﾔﾏﾀﾞ "),
                             QStringLiteral("ﾔﾏﾀﾞ 総"), QStringLiteral("ﾔﾏﾀﾞ 総務")};
    for (const QString &text : typed) {
        const QByteArray label = QStringLiteral("keystroke \"%1\"").arg(text).toUtf8();
        measure(label.constData(), [&] {
            edit->setText(text.left(text.size() - 1));
            edit->setText(text);
            page.grid()->viewport()->repaint();
            return page.filterBox()->countText();
        });
    }
    measure("keystroke: a MAC written with colons", [&] {
        edit->clear();
        edit->setText(QStringLiteral("00:1b:00:30:39"));
        page.grid()->viewport()->repaint();
        return page.filterBox()->countText();
    });
    measure("Esc: the whole list again", [&] {
        edit->setText(QStringLiteral("ﾔﾏﾀﾞ"));
        edit->clear();
        page.grid()->viewport()->repaint();
        return page.filterBox()->countText();
    });
}

void searchSection(TDMdata &dm, int pcs)
{
    std::printf("search over the whole ledger (%d PCs)\n", pcs);
    LedgerSearch search;
    measure("read the index from the store", [&] {
        search.load(dm);
        return QStringLiteral("%1 records, %2 distinct values")
            .arg(search.recordCount())
            .arg(search.distinctValueCount());
    });
    for (const QString &query : {QStringLiteral("やまだ 総務"), QStringLiteral("00:1b:00:30:39"),
                                 QStringLiteral("ｱﾌﾟﾘ 12"), QStringLiteral("10.0.48"),
                                 QStringLiteral("オリックス PC000015")}) {
        const QByteArray label = QStringLiteral("find \"%1\"").arg(query).toUtf8();
        measure(label.constData(),
                [&] { return QStringLiteral("%1 matches").arg(search.find(query).size()); });
    }
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
    QCommandLineOption appliOption(QStringLiteral("applications"),
                                   QStringLiteral("applications per PC"), QStringLiteral("A"),
                                   QStringLiteral("20"));
    parser.addOptions({pcsOption, appliOption});
    parser.process(app);
    const int pcs = parser.value(pcsOption).toInt();

    QTemporaryDir dir;
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
        fill(dm, pcs, parser.value(appliOption).toInt());
        std::printf("filled %d PCs in %.1f s\n", pcs, timer.nsecsElapsed() / 1e9);
        filterSection(dm, dir.path(), pcs);
        searchSection(dm, pcs);
    } catch (const StoreError &error) {
        std::fprintf(stderr, "store error: %s\n", qPrintable(error.message()));
        return 1;
    }
    std::printf("peak memory %.0f MB\n", peakMemoryMb());
    return 0;
}
