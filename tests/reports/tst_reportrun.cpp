// The report production loop: readiness and print ranges.

#include "PdfText.h"
#include "layout/LRDataSet.h"
#include "layout/LRItem.h"
#include "layout/LRPanel.h"
#include "layout/LightRep.h"
#include "layout/PdfFileDevice.h"
#include "reports/LRReport.h"
#include "reports/ReportRun.h"

#include <QTemporaryDir>
#include <QTest>

namespace {

class Rows : public LRDataSet
{
public:
    int count = 0;
    int pos = 0;
    bool opened = false;
    bool isOpen() const override { return opened; }
    void open() override { opened = true; }
    void first() override { pos = 0; }
    void next() override { ++pos; }
    bool eof() const override { return pos >= count; }
    bool hasField(const QString &) const override { return false; }
    QString displayText(const QString &) const override { return {}; }
};

// One page per row, showing "PAGE" and the row's number.
class CountingReport : public LRReport
{
public:
    explicit CountingReport(int rows, bool withMaster = true) : m_withMaster(withMaster)
    {
        m_rows.count = rows;
        auto *panel = new TLRLayoutPanel(&m_page);
        panel->setLRAlign(TLRAlign::laClient);
        auto *item = new TLRItem(panel);
        item->setBounds(0, 0, 300, 17);
        panel->BeforePrint
            = [this, item](TLRLayoutPanel *, const QRect &, TLRLayoutPanel::PrintStatus &) {
                  ++events;
                  item->setText(QStringLiteral("PAGE%1").arg(m_rows.pos + 1));
              };
        panel->AfterPrint = [this](TLRLayoutPanel *) { m_rows.next(); };
    }
    TLightRep &page() override { return m_page; }
    LRDataSet *master() override { return m_withMaster ? &m_rows : nullptr; }

    int events = 0;

private:
    TLightRep m_page;
    Rows m_rows;
    bool m_withMaster;
};

} // namespace

class TstReportRun : public QObject
{
    Q_OBJECT

private slots:
    void readiness_data()
    {
        QTest::addColumn<bool>("withMaster");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("message");
        QTest::newRow("ready") << true << 2 << "";
        QTest::newRow("no data set")
            << false << 2 << "dsMast.DataSet にデータセットを指定してください．";
        QTest::newRow("no rows") << true << 0 << "印刷対象データがありません．";
    }
    void readiness()
    {
        QFETCH(bool, withMaster);
        QFETCH(int, rows);
        QFETCH(QString, message);
        CountingReport report(rows, withMaster);
        QCOMPARE(ReportRun::message(ReportRun::prepare(report)), message);
    }

    // Pages before the range run their events without output; the range
    // reaches the file, a sheet each; printing stops after the last page.
    void ranges_data()
    {
        QTest::addColumn<int>("first");
        QTest::addColumn<int>("last");
        QTest::addColumn<QStringList>("printed");
        QTest::addColumn<int>("events");
        QTest::newRow("all") << 0 << 0
                             << QStringList {"PAGE1", "PAGE2", "PAGE3", "PAGE4", "PAGE5", "PAGE6"}
                             << 6;
        QTest::newRow("3 to 4") << 3 << 4 << QStringList {"PAGE3", "PAGE4"} << 4;
        QTest::newRow("up to 3") << 0 << 3 << QStringList {"PAGE1", "PAGE2", "PAGE3"} << 3;
        QTest::newRow("from 5") << 5 << 0 << QStringList {"PAGE5", "PAGE6"} << 6;
        QTest::newRow("one page") << 2 << 2 << QStringList {"PAGE2"} << 2;
    }
    void ranges()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(int, first);
        QFETCH(int, last);
        QFETCH(QStringList, printed);
        QFETCH(int, events);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("range.pdf"));
        CountingReport report(6);
        report.page().setFirstPage(first);
        report.page().setLastPage(last);
        QCOMPARE(ReportRun::prepare(report), ReportRun::Readiness::Ready);
        PdfFileDevice pdf(file);
        QVERIFY(pdf.open());
        ReportRun::print(report, pdf);
        QVERIFY(pdf.close());
        QStringList pages = PdfText::pages(file);
        for (QString &page : pages)
            page = page.trimmed();
        QCOMPARE(pages, printed);
        QCOMPARE(report.events, events);
        QCOMPARE(report.page().mode(), TLightRep::Mode::Idle);
    }
};

QTEST_MAIN(TstReportRun)
#include "tst_reportrun.moc"
