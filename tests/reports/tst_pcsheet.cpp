// The PC management sheet rendered from the store into a PDF file and read
// back: field texts and their places, the embedded face, and the paging of
// PCs over several sheets.

#include "PdfText.h"
#include "SheetRows.h"
#include "TestStores.h"
#include "layout/LightRep.h"
#include "layout/PdfFileDevice.h"
#include "reports/MasterQuery.h"
#include "reports/PcSheetReport.h"
#include "reports/ReportRun.h"

#include <QDate>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The panel's origin on the paper, in layout units.
constexpr double Left = 93;
constexpr double Top = 74;

// Renders the sheets of the statement into file; the number of pages.
int render(TDMdata &dm, const ReportStatement &statement, const QString &file)
{
    PcSheetReport report(dm, statement);
    report.setClock([] { return QDateTime(QDate(2026, 1, 2), QTime(3, 4)); });
    if (ReportRun::prepare(report) != ReportRun::Readiness::Ready)
        return 0;
    PdfFileDevice pdf(file);
    if (!pdf.open())
        return -1;
    int pages = 0;
    ReportRun::print(report, pdf, [&] { ++pages; });
    return pdf.close() ? pages : -1;
}

} // namespace

class TstPcSheet : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
    }

    void fieldsInPlace_data() { TestStore::addEngineRows(); }
    void fieldsInPlace()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        // A key holding a quote prints like any other.
        const QString key = QStringLiteral("PC'01");
        SheetRows::add(dm, TableId::PC,
                       {{QStringLiteral("Key"), key},
                        {QStringLiteral("Maker"), QStringLiteral("富士通")},
                        {QStringLiteral("DonyuYMD"), QDate(2004, 3, 5)},
                        {QStringLiteral("Mem_All"), 524288},
                        {QStringLiteral("Mem_All_Tani"), QStringLiteral("KB")},
                        {QStringLiteral("CPU_Clock_Tani"), QStringLiteral("MHz")},
                        {QStringLiteral("KanriNo"), 12},
                        {QStringLiteral("WINS1"), QStringLiteral("10.0.0.5")},
                        {QStringLiteral("Biko"), QStringLiteral("予備機\n3階倉庫")}});
        SheetRows::add(dm, TableId::Drive,
                       {{QStringLiteral("Key"), key},
                        {QStringLiteral("Drive"), QStringLiteral("C:")},
                        {QStringLiteral("Type"), QStringLiteral("NTFS")},
                        {QStringLiteral("Capa"), 40000000},
                        {QStringLiteral("Capa_Tani"), QStringLiteral("KB")}});
        SheetRows::add(dm, TableId::Appli,
                       {{QStringLiteral("Key"), key},
                        {QStringLiteral("Appli"), QStringLiteral("Excel")},
                        {QStringLiteral("Ver"), QStringLiteral("11.0")}});
        SheetRows::add(dm, TableId::PC, {{QStringLiteral("Key"), QStringLiteral("PC02")}});

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("sheet.pdf"));
        QCOMPARE(render(dm, PcSheetReport::selectedPcs({key}), file), 1);
        const QVector<PdfText::Word> words = PdfText::words(file);
        // The word in the grid row at y (any row when y is negative).
        const auto box = [&](const char *text, int y = -1) {
            for (const PdfText::Word &w : words) {
                if (w.text == QString::fromUtf8(text)
                    && (y < 0 || qAbs(w.box.top() - (Top + y + 2)) < 2))
                    return w.box;
            }
            return QRectF();
        };
        // Right-aligned: the box's right edge less the margin.
        QCOMPARE(qRound(box("3:04").right()), qRound(Left + 528 + 137 - 2));
        QVERIFY(!box("2026/1/2").isNull());
        QCOMPARE(qRound(box("KEY:PC'01").left()), qRound(Left + 2));
        QCOMPARE(qRound(box("富士通", 80).left()), qRound(Left + 96 + 2));
        // Centred dates without leading zeros.
        QVERIFY(qAbs(box("2004/3/5", 96).center().x() - (Left + 312 + 129 / 2.0)) < 1);
        QCOMPARE(qRound(box("KB", 160).right()), qRound(Left + 520 + 137 - 2));
        QVERIFY(!box("524,288", 160).isNull());
        // A clock of no value prints only its unit.
        QCOMPARE(qRound(box("MHz", 176).right()), qRound(Left + 520 + 137 - 2));
        QCOMPARE(qRound(box("12", 24).right()), qRound(Left + 576 + 81 - 2));
        QVERIFY(qAbs(box("10.0.0.5", 352).center().x() - (Left + 312 + 129 / 2.0)) < 1);
        QVERIFY(PdfText::find(words, QStringLiteral("PC02")) == nullptr);

        // The free text, one font height (12) a line, from the area's left.
        const QRectF drives = box("【ドライブ情報】");
        QCOMPARE(qRound(drives.left()), qRound(Left + 8));
        QCOMPARE(qRound(drives.top()), qRound(Top + 386));
        QCOMPARE(qRound(box("C:(NTFS)").top() - drives.top()), 12);
        QVERIFY(!box("40,000,000").isNull());
        QCOMPARE(qRound(box("【アプリケーション情報】").top() - drives.top()), 36);
        QCOMPARE(qRound(box("Excel(11.0)").top() - drives.top()), 48);
        QCOMPARE(qRound(box("【備").top() - drives.top()), 72);
        QCOMPARE(qRound(box("3階倉庫").top() - drives.top()), 96);

        // The fixed-pitch gothic is embedded.
        QProcess fonts;
        fonts.start(QStringLiteral("pdffonts"), {file});
        QVERIFY(fonts.waitForFinished());
        const QString listed = QString::fromUtf8(fonts.readAllStandardOutput());
        QVERIFY2(listed.contains(QRegularExpression(QStringLiteral("IPAGothic\\s.*\\byes\\b"))),
                 qPrintable(listed));
    }

    // PCs in key order whatever the selection's order; a PC whose
    // applications need two or three sheets repeats the fixed part and
    // goes on without repeating the section header.
    void pcsOverSeveralSheets_data() { TestStore::addEngineRows(); }
    void pcsOverSeveralSheets()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        SheetRows::addPc(dm, QStringLiteral("A"), 60);
        SheetRows::addPc(dm, QStringLiteral("B"), 120);
        SheetRows::addPc(dm, QStringLiteral("C"), 0);
        SheetRows::addPc(dm, QStringLiteral("D"), 0);

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("pcs.pdf"));
        QCOMPARE(render(dm, PcSheetReport::selectedPcs({"C", "B", "A"}), file), 6);
        const QStringList pages = PdfText::pages(file);
        QCOMPARE(pages.size(), 6);
        const QStringList keys {"A", "A", "B", "B", "B", "C"};
        const QStringList first {"APP001", "APP049", "APP001", "APP049", "APP099", ""};
        const QStringList last {"APP048", "APP060", "APP048", "APP098", "APP120", ""};
        for (int i = 0; i < pages.size(); ++i) {
            QVERIFY2(pages[i].contains(QStringLiteral("KEY:") + keys[i]), qPrintable(pages[i]));
            QCOMPARE(pages[i].contains(QStringLiteral("【アプリケーション情報】")),
                     !first[i].isEmpty() && first[i] == QLatin1String("APP001"));
            if (!first[i].isEmpty()) {
                QVERIFY(pages[i].contains(first[i]));
                QVERIFY(pages[i].contains(last[i]));
                QVERIFY(!pages[i].contains(QStringLiteral("APP%1").arg(last[i].mid(3).toInt() + 1,
                                                                       3, 10, QLatin1Char('0'))));
            }
        }
        QCOMPARE(render(dm, PcSheetReport::allPcs(), file), 7);
        QCOMPARE(render(dm, PcSheetReport::selectedPcs({}), file), 0);
    }

    // Lines are counted as the free-text area wraps them: every wrapped
    // line of 150 long application names and of a 2,000-character memo is
    // printed, inside the area, on as many sheets as it takes, each
    // marked with its number among the PC's sheets.
    void wrappedLinesAllPrinted_data() { TestStore::addEngineRows(); }
    void wrappedLinesAllPrinted()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        // A memo of one line: "M0001漢漢漢漢漢M0002..."
        QString memo;
        for (int i = 1; i <= 200; ++i)
            memo += QStringLiteral("M%1漢漢漢漢漢").arg(i, 4, 10, QLatin1Char('0'));
        SheetRows::add(
            dm, TableId::PC,
            {{QStringLiteral("Key"), QStringLiteral("LONG")}, {QStringLiteral("Biko"), memo}});
        // Names of 122 bytes, wider than a line: "S001漢...漢E001".
        dm.startTransaction();
        for (int i = 1; i <= 150; ++i) {
            const QString n = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
            SheetRows::add(
                dm, TableId::Appli,
                {{QStringLiteral("Key"), QStringLiteral("LONG")},
                 {QStringLiteral("Appli"), u'S' + n + QString(57, QChar(u'漢')) + u'E' + n}});
        }
        dm.commit();

        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("long.pdf"));
        const int sheets = render(dm, PcSheetReport::allPcs(), file);
        QVERIFY(sheets > 1);
        const QStringList pages = PdfText::pages(file);
        QCOMPARE(pages.size(), sheets);
        const QString all = pages.join(QString());
        for (int i = 1; i <= 150; ++i) {
            const QString n = QStringLiteral("%1").arg(i, 3, 10, QLatin1Char('0'));
            QVERIFY2(all.count(u'S' + n) == 1 && all.count(u'E' + n) == 1, qPrintable(n));
        }
        for (int i = 1; i <= 200; ++i)
            QCOMPARE(all.count(QStringLiteral("M%1").arg(i, 4, 10, QLatin1Char('0'))), 1);
        for (int i = 0; i < sheets; ++i)
            QVERIFY(pages[i].contains(QStringLiteral("%1/%2").arg(i + 1).arg(sheets)));
        for (const PdfText::Word &w : PdfText::words(file))
            QVERIFY2(w.box.bottom() < Top + 386 + 609 + 1, qPrintable(w.text));
    }

    // More selected PCs than a statement binds: still those PCs, in key
    // order.
    void manySelectedPcs_data() { TestStore::addEngineRows(); }
    void manySelectedPcs()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        const int count = PcSheetReport::MaxBoundKeys + 5;
        QStringList all;
        dm.startTransaction();
        for (int i = 0; i < count; ++i) {
            all << QStringLiteral("K%1").arg(i, 4, 10, QLatin1Char('0'));
            SheetRows::add(dm, TableId::PC, {{QStringLiteral("Key"), all.last()}});
        }
        dm.commit();
        QStringList selected = all.mid(2);
        std::reverse(selected.begin(), selected.end());
        PcSheetReport report(dm, PcSheetReport::selectedPcs(selected));
        QCOMPARE(ReportRun::prepare(report), ReportRun::Readiness::Ready);
        QCOMPARE(report.Qpc().keys(), all.mid(2));
    }
};

QTEST_MAIN(TstPcSheet)
#include "tst_pcsheet.moc"
