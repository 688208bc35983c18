// Banded reports over small sets of PCs rendered into PDF and read back:
// which bands go on which page, group counts that restart, page breaks, and
// the places of the bands and their fields.

#include "BandedPdf.h"
#include "SheetRows.h"
#include "TestStores.h"
#include "layout/LayoutUnits.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Banded;
using LayoutUnits::fromMillimetres;

namespace {

// Groups on Bu and Ka with their counts and the total; every band but the
// page header and footer is bandHeight millimetres high.
ReportDef groupedDef(double bandHeight, bool newPagePerBu)
{
    const auto band = [&](const QString &caption, const QString &field, bool counted) {
        Band b {bandHeight, {text(0, 0, caption)}};
        if (!field.isEmpty())
            b.fields << column(20, 0, field);
        if (counted)
            b.fields << count(20, 40, 0);
        return b;
    };
    ReportDef def;
    def.pageHeader = Band {10, {text(0, 0, QStringLiteral("HEAD"))}};
    def.groups = {
        {QStringLiteral("Bu"), band(QStringLiteral("BU"), QStringLiteral("Bu"), false),
         band(QStringLiteral("BUSUM"), QString(), true), newPagePerBu},
        {QStringLiteral("Ka"), band(QStringLiteral("KA"), QStringLiteral("Ka"), false),
         band(QStringLiteral("KASUM"), QString(), true)},
    };
    def.detail = {bandHeight, {column(10, 0, QStringLiteral("Key"))}};
    def.summary = band(QStringLiteral("TOTAL"), QString(), true);
    def.pageFooter = Band {
        10,
        {text(0, 2, QStringLiteral("PAGE")), pageNumber(20, 40, 2, TAlignment::taRightJustify)}};
    return def;
}

ReportStatement allPcs()
{
    ReportStatement statement;
    statement.lines << QStringLiteral("SELECT * FROM PC") << QStringLiteral("ORDER BY BU, KA, KEY");
    return statement;
}

// "Bu/Ka/Key" entries; an empty part is no value.
void addPcs(TDMdata &dm, const QStringList &rows)
{
    for (const QString &row : rows) {
        const QStringList parts = row.split(u'/');
        SheetRows::add(dm, TableId::PC,
                       {{QStringLiteral("Bu"), parts[0]},
                        {QStringLiteral("Ka"), parts[1]},
                        {QStringLiteral("Key"), parts[2]}});
    }
}

} // namespace

class TstBandedReport : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    // 170 mm between the page header and footer: 21 bands of 8 mm or five
    // of 30 mm.
    void bandsOnPages_data()
    {
        QTest::addColumn<double>("bandHeight");
        QTest::addColumn<bool>("newPagePerBu");
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("pages");
        QTest::addColumn<int>("engine");
        for (int engine : {int(TestStore::Kind::SQLite), int(TestStore::Kind::PostgreSQL)}) {
            const QByteArray name = engine == int(TestStore::Kind::SQLite) ? "sqlite" : "pg";
            const auto row = [&name](const char *tag) -> QTestData & {
                return QTest::newRow((QByteArray(tag) + '-' + name).constData());
            };
            row("counts restart after their footers")
                << 8.0 << false << QStringList {"A/a/K1", "A/a/K2", "A/b/K3", "B/a/K4"}
                << QStringList {"HEAD|BU A|KA a|K1|K2|KASUM 2|KA b|K3|KASUM 1|BUSUM 3|BU B|KA a|K4|"
                                "KASUM 1|BUSUM 1|TOTAL 4|PAGE 1"}
                << engine;
            row("no department or section is a group of its own")
                << 8.0 << false << QStringList {"A/a/K2", "//K1"}
                << QStringList {"HEAD|BU|KA|K1|KASUM 1|BUSUM 1|BU A|KA a|K2|KASUM 1|BUSUM 1|"
                                "TOTAL 2|PAGE 1"}
                << engine;
            row("a full page goes on with the next")
                << 30.0 << false << QStringList {"A/a/K1", "A/a/K2", "A/a/K3", "A/a/K4"}
                << QStringList {"HEAD|BU A|KA a|K1|K2|K3|PAGE 1",
                                "HEAD|K4|KASUM 4|BUSUM 4|TOTAL 4|PAGE 2"}
                << engine;
            row("a header goes with its first row")
                << 30.0 << false << QStringList {"A/a/K1", "A/b/K2", "A/b/K3"}
                << QStringList {"HEAD|BU A|KA a|K1|KASUM 1|PAGE 1",
                                "HEAD|KA b|K2|K3|KASUM 2|BUSUM 3|PAGE 2", "HEAD|TOTAL 3|PAGE 3"}
                << engine;
            row("a new page for each department")
                << 8.0 << true << QStringList {"A/a/K1", "B/a/K2"}
                << QStringList {"HEAD|BU A|KA a|K1|KASUM 1|BUSUM 1|PAGE 1",
                                "HEAD|BU B|KA a|K2|KASUM 1|BUSUM 1|TOTAL 2|PAGE 2"}
                << engine;
            row("no rows print the headers only")
                << 8.0 << false << QStringList {} << QStringList {"HEAD|PAGE 1"} << engine;
        }
    }
    void bandsOnPages()
    {
        QFETCH(double, bandHeight);
        QFETCH(bool, newPagePerBu);
        QFETCH(QStringList, rows);
        QFETCH(QStringList, pages);
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        addPcs(dm, rows);

        BandedReport report(dm, groupedDef(bandHeight, newPagePerBu), allPcs(), {TableId::PC});
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("bands.pdf"));
        QCOMPARE(BandedPdf::render(report, file), pages.size());
        QCOMPARE(BandedPdf::pageLines(PdfText::words(file)), pages);
    }

    // Groups that go on on a new page repeat their headers under the page
    // header, outermost first; a group starting there has its own.
    void repeatedHeaders_data()
    {
        QTest::addColumn<QStringList>("rows");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("rows go on")
            << QStringList {"A/a/K1", "A/a/K2", "A/a/K3", "A/a/K4"}
            << QStringList {"HEAD|BU A|KA a|K1|K2|K3|PAGE 1",
                            "HEAD|BU A|KA a|K4|KASUM 4|BUSUM 4|PAGE 2", "HEAD|TOTAL 4|PAGE 3"};
        QTest::newRow("a section starts")
            << QStringList {"A/a/K1", "A/a/K2", "A/b/K3"}
            << QStringList {"HEAD|BU A|KA a|K1|K2|KASUM 2|PAGE 1",
                            "HEAD|BU A|KA b|K3|KASUM 1|BUSUM 3|PAGE 2", "HEAD|TOTAL 3|PAGE 3"};
    }
    void repeatedHeaders()
    {
        QFETCH(QStringList, rows);
        QFETCH(QStringList, pages);
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        addPcs(dm, rows);
        ReportDef def = groupedDef(30, false);
        for (Group &group : def.groups)
            group.repeatOnNewPage = true;
        BandedReport report(dm, def, allPcs(), {TableId::PC});
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("repeat.pdf"));
        QCOMPARE(BandedPdf::render(report, file), pages.size());
        QCOMPARE(BandedPdf::pageLines(PdfText::words(file)), pages);
    }

    // Bands follow one another from the top margin, the page footer ends at
    // the bottom margin, fields lie at their millimetres from the band's
    // corner, counts end at their box's right edge.
    void fieldsInPlace()
    {
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        addPcs(dm, {"A/a/K1"});
        ReportDef def = groupedDef(8, false);
        def.marginTop = 25;
        def.marginLeft = 15;
        BandedReport report(dm, def, allPcs(), {TableId::PC});
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("place.pdf"));
        QCOMPARE(BandedPdf::render(report, file), 1);
        const QVector<PdfText::Word> words = PdfText::words(file);
        const auto box = [&](const char *text) {
            const PdfText::Word *w = PdfText::find(words, QString::fromUtf8(text));
            return w ? w->box : QRectF();
        };
        const auto near
            = [](double actual, double mm) { return qAbs(actual - fromMillimetres(mm)) <= 1.5; };
        QVERIFY(near(box("HEAD").left(), 15));
        QVERIFY(near(box("HEAD").top(), 25));
        QVERIFY(near(box("K1").left(), 15 + 10));
        QVERIFY(near(box("K1").top(), 25 + 10 + 8 + 8));
        QVERIFY(near(box("TOTAL").top(), 25 + 10 + 8 * 5));
        // The count of the total, right-aligned in 20-40 mm.
        const PdfText::Word *total = nullptr;
        for (const PdfText::Word &w : words) {
            if (w.text == QLatin1String("1") && qAbs(w.box.top() - box("TOTAL").top()) < 2)
                total = &w;
        }
        QVERIFY(total);
        QVERIFY(near(total->box.right(), 15 + 40));
        // The page footer's last 10 mm end at the bottom margin (10 mm).
        QVERIFY(near(box("PAGE").top(), 210 - 10 - 10 + 2));
    }
};

QTEST_MAIN(TstBandedReport)
#include "tst_bandedreport.moc"
