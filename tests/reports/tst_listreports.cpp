// The three list reports over a few PCs, rendered into PDF and read back:
// every band's texts in order, the counts, and the places of fields in
// millimetres from the left margin.

#include "BandedPdf.h"
#include "SheetRows.h"
#include "TestStores.h"
#include "layout/LayoutUnits.h"
#include "reports/ListReports.h"

#include <QDate>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

namespace {

void addRows(TDMdata &dm)
{
    const auto pc = [&](const char *key, const char *bu, const char *ka, const char *user,
                        const QVariantMap &more = {}) {
        QVariantMap values {
            {QStringLiteral("Key"), QString::fromUtf8(key)},
            {QStringLiteral("Bu"), QString::fromUtf8(bu)},
            {QStringLiteral("Ka"), QString::fromUtf8(ka)},
            {QStringLiteral("Riyosya"), QString::fromUtf8(user)},
            {QStringLiteral("PC_Name"), QStringLiteral("WS-") + QLatin1String(key)}};
        values.insert(more);
        SheetRows::add(dm, TableId::PC, values);
    };
    pc("PC1", "総務部", "庶務課", "山田",
       {{QStringLiteral("Maker"), QStringLiteral("富士通")},
        {QStringLiteral("Kisyu"), QStringLiteral("FMV")},
        {QStringLiteral("Kataban"), QStringLiteral("K-1")},
        {QStringLiteral("SerialNo"), QStringLiteral("S1")},
        {QStringLiteral("Win_Type"), QStringLiteral("Windows XP")}});
    pc("PC2", "総務部", "庶務課", "佐藤", {{QStringLiteral("TekkyoYMD"), QDate(2005, 1, 1)}});
    pc("PC3", "総務部", "経理課", "鈴木");
    pc("PC4", "", "", "");
    const auto share = [&](const char *key, const char *name, const char *path) {
        SheetRows::add(dm, TableId::Share,
                       {{QStringLiteral("Key"), QLatin1String(key)},
                        {QStringLiteral("SharedName"), QLatin1String(name)},
                        {QStringLiteral("SharedPath"), QLatin1String(path)}});
    };
    share("PC1", "DOCS", "C:\\DOCS");
    share("PC1", "print$", "C:\\SPOOL");
    share("PC1", "PRINTER$", "C:\\PRN");
    share("PC3", "DATA", "D:\\");
    const auto appli = [&](const char *key, const char *name) {
        SheetRows::add(
            dm, TableId::Appli,
            {{QStringLiteral("Key"), QLatin1String(key)},
             {QStringLiteral("Appli"), QLatin1String(name)},
             {QStringLiteral("ProductID"), QStringLiteral("P-") + QLatin1String(key)},
             {QStringLiteral("InstallKey"), QStringLiteral("IK-") + QLatin1String(key)}});
    };
    appli("PC1", "Excel");
    appli("PC2", "Excel");
    appli("PC3", "Excel");
    appli("PC2", "Word");
}

std::unique_ptr<BandedReport> makeReport(TDMdata &dm, const QString &name)
{
    if (name == QLatin1String("bu-ka"))
        return ListReports::buKaBetu(dm);
    if (name.startsWith(QLatin1String("kyoyu")))
        return ListReports::kyoyuItiran(dm, name.endsWith(QLatin1String("printers")));
    return ListReports::appli(dm, name.section(u' ', 1));
}

// "word@mm": its left edge, "word>mm" its right edge, "word~mm" its centre,
// in millimetres from the left margin (10 mm), within 1.5 units; "word#n":
// it is there n times.
bool inPlace(const QVector<PdfText::Word> &words, const QString &place, QString &why)
{
    static const QRegularExpression pattern(QStringLiteral("^(.+)([@>~#])([\\d.]+)$"));
    const QRegularExpressionMatch m = pattern.match(place);
    if (m.captured(2) == QLatin1String("#")) {
        const auto n = std::count_if(words.cbegin(), words.cend(), [&](const PdfText::Word &w) {
            return w.text == m.captured(1);
        });
        why = QStringLiteral("%1 %2 times").arg(m.captured(1)).arg(n);
        return n == m.captured(3).toInt();
    }
    const PdfText::Word *w = PdfText::find(words, m.captured(1));
    if (!w) {
        why = QStringLiteral("no word ") + m.captured(1);
        return false;
    }
    const double x = m.captured(2) == QLatin1String("@") ? w->box.left()
        : m.captured(2) == QLatin1String(">")            ? w->box.right()
                                                         : w->box.center().x();
    const int expected = LayoutUnits::fromMillimetres(10 + m.captured(3).toDouble());
    why = QStringLiteral("%1 at %2, not %3").arg(place).arg(x).arg(expected);
    return qAbs(x - expected) <= 1.5;
}

QStringList withoutBlanks(QStringList pages)
{
    for (QString &page : pages)
        page.remove(u' ');
    return pages;
}

} // namespace

class TstListReports : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    void lists_data()
    {
        QTest::addColumn<QString>("report");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<QStringList>("places");
        QTest::addColumn<int>("engine");
        const QString head
            = QStringLiteral("Ｋｅｙ メーカ 機種 型番 シリアル№ ｺﾝﾋﾟｭｰﾀ名 ＯＳタイプ 利用者");
        const QString kaHead = QStringLiteral("Ｋｅｙ ｺﾝﾋﾟｭｰﾀ名 利用者 メーカ 機種 シリアル№");
        const QString appliHead
            = QStringLiteral("部 課 利用者 コンピュータ名 プロダクトID インストールキー");
        for (int engine : {int(TestStore::Kind::SQLite), int(TestStore::Kind::PostgreSQL)}) {
            const QByteArray name = engine == int(TestStore::Kind::SQLite) ? "sqlite" : "pg";
            const auto row = [&name](const char *tag) -> QTestData & {
                return QTest::newRow((QByteArray(tag) + '-' + name).constData());
            };
            // Removed PCs included; PCs without department and section
            // first, under empty headings.
            row("department list")
                << QStringLiteral("bu-ka")
                << QStringList {QStringList {
                       QStringLiteral("部・課別パソコン一覧"), QStringLiteral("2026/1/2 3:04"),
                       head, QStringLiteral("PC4 WS-PC4"), QStringLiteral("課合計 1 台"),
                       QStringLiteral("部合計 1 台"), QStringLiteral("総務部"),
                       QStringLiteral("庶務課"),
                       QStringLiteral("PC1 富士通 FMV K-1 S1 WS-PC1 Windows "
                                      "XP 山田"),
                       QStringLiteral("PC2 WS-PC2 佐藤"), QStringLiteral("課合計 2 台"),
                       QStringLiteral("経理課"), QStringLiteral("PC3 WS-PC3 鈴木"),
                       QStringLiteral("課合計 1 台"), QStringLiteral("部合計 3 台"),
                       QStringLiteral("総合計 4 台")}
                                    .join(u'|')}
                << QStringList {"部・課別@112.2", "Ｋｅｙ@10.6", "利用者@247.7", "総務部@0",
                                "庶務課@4.2", "PC1@10.6", "富士通@46.6", "FMV@74.1", "K-1@101.6",
                                "S1@131.2", "WS-PC1@163.0", "Windows@194.7", "山田@247.7",
                                "課合計@234.9",
                                // The count runs into "台" at 270.9, one
                                // em of 11 pt (3.88 mm) wide.
                                "4台>274.78"}
                << engine;
            // A PC's line once, then one line per share; no printer
            // shares unless asked for.
            const QString kyoyuTop
                = QStringLiteral("共 有 情 報 一 覧|2026/1/2 3:04|部： 総務部|課： 庶務課|")
                + kaHead
                + QStringLiteral("|PC1 WS-PC1 山田 富士通 FMV S1|共有名 パス|DOCS C:\\DOCS");
            const QString kyoyuRest = QStringLiteral("|課： 経理課|") + kaHead
                + QStringLiteral("|PC3 WS-PC3 鈴木|共有名 パス|DATA D:\\");
            row("shared folders") << QStringLiteral("kyoyu") << QStringList {kyoyuTop + kyoyuRest}
                                  << QStringList {"部：@0",      "総務部@6.3",   "課：@6.3",
                                                  "庶務課@12.7", "PC1@12.7",     "WS-PC1@38.1",
                                                  "山田@65.6",   "富士通@86.8",  "FMV@108.0",
                                                  "S1@137.6",    "共有名@21.2",  "パス@74.1",
                                                  "DOCS@21.2",   "C:\\DOCS@74.1"}
                                  << engine;
            // The order of a PC's shares is the store's.
            row("shared folders with printer shares")
                << QStringLiteral("kyoyu printers") << QStringList {}
                << QStringList {"PC1#1",         "DOCS@21.2",      "print$@21.2",
                                "PRINTER$@21.2", "C:\\SPOOL@74.1", "C:\\PRN@74.1"}
                << engine;
            // PCs in service only, counted; the page number at the foot.
            row("application list")
                << QStringLiteral("appli Excel")
                << QStringList {QStringLiteral("2026/1/2 3:04|アプリケーション導入状況一覧|"
                                               "アプリケーション名： Excel|")
                                + appliHead
                                + QStringLiteral("|総務部 庶務課 山田 WS-PC1 P-PC1 IK-PC1|"
                                                 "総務部 経理課 鈴木 WS-PC3 P-PC3 IK-PC3|2 台|1")}
                << QStringList {"3:04>277.5",  "アプリケーション@95.2",
                                "Excel@42.3",  "庶務課@40.2",
                                "山田@67.7",   "WS-PC1@99.5",
                                "P-PC1@143.9", "IK-PC1@196.8",
                                "2台>276.98",  "1~139.95"}
                << engine;
            row("application on removed PCs only")
                << QStringLiteral("appli Word")
                << QStringList {QStringLiteral("2026/1/2 3:04|アプリケーション導入状況一覧|"
                                               "アプリケーション名： Word|")
                                + appliHead + QStringLiteral("|1")}
                << QStringList {} << engine;
        }
    }
    void lists()
    {
        QFETCH(QString, report);
        QFETCH(QStringList, pages);
        QFETCH(QStringList, places);
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        addRows(dm);

        std::unique_ptr<BandedReport> list = makeReport(dm, report);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("list.pdf"));
        const int printed = BandedPdf::render(*list, file);
        const QVector<PdfText::Word> words = PdfText::words(file);
        if (!pages.isEmpty()) {
            QCOMPARE(printed, pages.size());
            // How pdftotext parts the words of a line is its own affair.
            QCOMPARE(withoutBlanks(BandedPdf::pageLines(words)), withoutBlanks(pages));
        }
        for (const QString &place : places) {
            QString why;
            QVERIFY2(inPlace(words, place, why), qPrintable(why));
        }
    }
};

QTEST_MAIN(TstListReports)
#include "tst_listreports.moc"
