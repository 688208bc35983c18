// The page: its modes and refusals, the drawing of boxed items, lines,
// data-bound items and flowing text (on an image and in a PDF file), and
// the preview store.

#include "PdfText.h"
#include "layout/DisplayMask.h"
#include "layout/LRDBSpl.h"
#include "layout/LRPanel.h"
#include "layout/LRPrvSpl.h"
#include "layout/LayoutError.h"
#include "layout/LightRep.h"
#include "layout/LightRepEx2.h"
#include "layout/PdfFileDevice.h"
#include "layout/ReportFont.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace {

// Rows of named fields with a current row.
class FakeDataSet : public LRDataSet
{
public:
    QVector<QVariantMap> rows;
    int pos = 0;
    bool opened = false;

    bool isOpen() const override { return opened; }
    void open() override { opened = true; }
    void first() override { moveTo(0); }
    void next() override { moveTo(pos + 1); }
    bool eof() const override { return pos >= rows.size(); }
    bool hasField(const QString &field) const override
    {
        return !eof() && rows[pos].contains(field);
    }
    QString displayText(const QString &field) const override
    {
        return eof() ? QString() : rows[pos].value(field).toString();
    }

private:
    void moveTo(int p)
    {
        pos = p;
        emit currentRowChanged();
    }
};

bool dark(const QImage &image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

// Prints one page with a text into a PDF device; the device is left open.
bool printOnePage(PdfFileDevice &pdf)
{
    if (!pdf.open())
        return false;
    TLightRep page;
    auto *panel = new TLRLayoutPanel(&page);
    panel->setBounds(0, 0, 400, 400);
    (new TLRItem(panel))->setText(QStringLiteral("新しいページ"));
    page.BeginDoc(pdf);
    page.PrintPage();
    page.EndDoc();
    return true;
}

// Writes to a file may not go beyond a size while it lives (a full disk).
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_old);
        m_oldHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_old);
        std::signal(SIGXFSZ, m_oldHandler);
    }

private:
    rlimit m_old {};
    void (*m_oldHandler)(int) = nullptr;
};

// Reads a named pipe until its writer is done.
class PipeReader
{
public:
    explicit PipeReader(const QString &path)
    {
        m_fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        m_thread = std::thread([this] {
            char buffer[65536];
            for (;;) {
                const ssize_t n = ::read(m_fd, buffer, sizeof buffer);
                if (n > 0)
                    m_data.append(buffer, n);
                else if (m_writerDone)
                    break;
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        });
    }
    QByteArray finish()
    {
        m_writerDone = true;
        m_thread.join();
        ::close(m_fd);
        return m_data;
    }

private:
    int m_fd = -1;
    std::thread m_thread;
    std::atomic<bool> m_writerDone {false};
    QByteArray m_data;
};

} // namespace

class TstLightRep : public QObject
{
    Q_OBJECT

private slots:
    void refusals_data()
    {
        QTest::addColumn<QString>("steps");
        QTest::addColumn<QString>("message");
        QTest::newRow("print job twice") << "begin begin"
                                         << "プリンタは印刷中です．";
        QTest::newRow("page without job") << "print"
                                          << "BeginDocが呼び出されていません．";
        QTest::newRow("inverted range") << "first5 last3 begin"
                                        << "印刷ページ範囲が正しくありません．";
        QTest::newRow("preview while printing")
            << "begin preview"
            << "プリンタが印刷中のため、プレビューを開始できません．";
        QTest::newRow("print while paginating") << "paginate begin"
                                                << "Paginate中です、印刷できません．";
        QTest::newRow("preview while paginating") << "paginate preview"
                                                  << "Paginate中です、プレビュー表示できません．";
        QTest::newRow("paginate while printing") << "begin paginate"
                                                 << "印刷中のため、Paginateを開始できません．";
        QTest::newRow("paginate page without paginate") << "paginatePage"
                                                        << "BeginPaginateが呼び出されていません．";
        QTest::newRow("layout panel on an item")
            << "panelOnItem"
            << "TLightRep上かTLRLayoutPanelにのみ配置できます．";
        QTest::newRow("item on a page") << "itemOnPage"
                                        << "パネル上にのみ配置できます．";
        QTest::newRow("print after preview") << "preview begin print"
                                             << "";
    }
    void refusals()
    {
        QFETCH(QString, steps);
        QFETCH(QString, message);
        QTemporaryDir dir;
        PdfFileDevice pdf(dir.filePath(QStringLiteral("r.pdf")));
        QVERIFY(pdf.open());
        TLightRep page;
        auto *panel = new TLRLayoutPanel(&page);
        QString raised;
        try {
            for (const QString &step : steps.split(u' ')) {
                if (step == QLatin1String("begin"))
                    page.BeginDoc(pdf);
                else if (step == QLatin1String("print"))
                    page.PrintPage();
                else if (step == QLatin1String("preview"))
                    page.BeginPreview();
                else if (step == QLatin1String("paginate"))
                    page.BeginPaginate();
                else if (step == QLatin1String("paginatePage"))
                    page.PaginatePage();
                else if (step == QLatin1String("first5"))
                    page.setFirstPage(5);
                else if (step == QLatin1String("last3"))
                    page.setLastPage(3);
                else if (step == QLatin1String("panelOnItem"))
                    new TLRLayoutPanel(new TLRItem(panel));
                else if (step == QLatin1String("itemOnPage"))
                    new TLRItem(&page);
            }
        } catch (const LayoutError &e) {
            raised = e.message();
        }
        page.EndDoc();
        QCOMPARE(raised, message);
        if (steps.startsWith(QLatin1String("first5")))
            QCOMPARE(page.LastPage(), 5); // the range is mended before the refusal
    }

    void lineWidths_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<double>("scale");
        QTest::addColumn<int>("width");
        QTest::newRow("single on screen") << int(TLineStyle::lsSingle) << 1.0 << 1;
        QTest::newRow("half on screen is the thinnest") << int(TLineStyle::lsHalf) << 1.0 << 0;
        QTest::newRow("double on screen") << int(TLineStyle::lsDouble) << 1.0 << 2;
        QTest::newRow("single at 1200 dpi") << int(TLineStyle::lsSingle) << 12.5 << 15;
        QTest::newRow("half at 1200 dpi") << int(TLineStyle::lsHalf) << 12.5 << 6;
        QTest::newRow("half rounds 2.5 to even") << int(TLineStyle::lsHalf) << 5.0 << 2;
        QTest::newRow("half rounds 3.5 to even") << int(TLineStyle::lsHalf) << 7.0 << 4;
    }
    void lineWidths()
    {
        QFETCH(int, style);
        QFETCH(double, scale);
        QFETCH(int, width);
        QCOMPARE(TLRItem::lineWidth(TLineStyle(style), scale), width);
    }

    // Lines lie one unit outside the box at the top and the left, on its
    // last unit at the right and the bottom.
    void linesOnImage()
    {
        TLightRep page;
        auto *panel = new TLRLayoutPanel(&page);
        panel->setBounds(0, 0, 400, 400);
        auto *item = new TLRItem(panel);
        item->setBounds(10, 10, 100, 17);
        item->setLines(TLineStyle::lsSingle, TLineStyle::lsDouble, TLineStyle::lsHalf,
                       TLineStyle::lsNone);
        QImage image(page.pageUnits(), QImage::Format_RGB32);
        QPainter painter(&image);
        page.PreviewPage(painter);
        painter.end();

        QVERIFY(dark(image, 50, 9));
        QVERIFY(!dark(image, 50, 8) && !dark(image, 50, 10));
        QVERIFY(dark(image, 8, 18) && dark(image, 9, 18)); // double: two pixels
        QVERIFY(!dark(image, 7, 18) && !dark(image, 10, 18));
        QVERIFY(dark(image, 109, 18));
        QVERIFY(!dark(image, 108, 18) && !dark(image, 110, 18));
        QVERIFY(!dark(image, 50, 26)); // no bottom line
    }

    // Text placement read back from a PDF: left and right inside the
    // margins, centred without them; a data-bound item's null field prints
    // nothing; a flowing text's blank line is one font height.
    void textInPdf()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("t.pdf"));
        FakeDataSet data;
        data.rows = {{{QStringLiteral("Name"), QStringLiteral("bound")},
                      {QStringLiteral("Empty"), QVariant()}}};
        {
            TLightRep page;
            auto *panel = new TLRLayoutPanel(&page);
            panel->setBounds(100, 100, 400, 400);
            const auto item = [&](int y, TAlignment alignment, const QString &text) {
                auto *i = new TLRItem(panel);
                i->setBounds(0, y, 200, 17);
                i->setHMargin(10);
                i->setAlignment(alignment);
                i->setText(text);
                return i;
            };
            item(0, TAlignment::taLeftJustify, QStringLiteral("LEFT"));
            item(20, TAlignment::taRightJustify, QStringLiteral("RIGHT"));
            item(40, TAlignment::taCenter, QStringLiteral("CENTRE"));
            auto *masked = item(60, TAlignment::taLeftJustify, QStringLiteral("1234567"));
            masked->setDisplayMask(QStringLiteral("#,#"));
            for (const QString &field :
                 {QStringLiteral("Name"), QStringLiteral("Empty"), QStringLiteral("Missing")}) {
                auto *bound = new TLRDBItem(panel);
                bound->setBounds(0, 80, 200, 17);
                bound->setText(QStringLiteral("kept"));
                bound->setDataSource(&data);
                bound->setDataField(field);
            }
            auto *flowing = new TLRVariableText(panel);
            flowing->setBounds(0, 100, 200, 100);
            flowing->setText(QStringLiteral("FIRST\r\n \r\nTHIRD"));
            data.open();
            data.first();

            PdfFileDevice pdf(file);
            QVERIFY(pdf.open());
            page.BeginDoc(pdf);
            page.PrintPage();
            page.EndDoc();
            QVERIFY(pdf.close());
        }
        const QVector<PdfText::Word> words = PdfText::words(file);
        const auto word = [&](const char *text) {
            const PdfText::Word *w = PdfText::find(words, QLatin1String(text));
            return w ? w->box : QRectF();
        };
        QCOMPARE(qRound(word("LEFT").left()), 110);
        QCOMPARE(qRound(word("RIGHT").right()), 290);
        QCOMPARE(qRound(word("CENTRE").center().x()), 200);
        QCOMPARE(qRound(word("1,234,567").left()), 110);
        QVERIFY(!word("bound").isNull());
        QVERIFY(!word("kept").isNull()); // the field the data set lacks
        QCOMPARE(words.size(), 8); // the null field printed nothing
        QCOMPARE(qRound(word("THIRD").top() - word("FIRST").top()), 24);
    }

    // A PDF file is written as a whole: an earlier file of the name stays
    // until the new one is complete, and stays when the print fails or is
    // given up; a named pipe is written in place and never removed.
    void pdfTarget_data()
    {
        QTest::addColumn<bool>("pipe");
        QTest::addColumn<QString>("ending");
        QTest::addColumn<bool>("replaced");
        QTest::newRow("completed") << false << "close" << true;
        QTest::newRow("given up") << false << "discard" << false;
        QTest::newRow("disk full") << false << "full" << false;
        QTest::newRow("pipe completed") << true << "close" << true;
        QTest::newRow("pipe given up") << true << "discard" << false;
    }
    void pdfTarget()
    {
        QFETCH(bool, pipe);
        QFETCH(QString, ending);
        QFETCH(bool, replaced);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("out.pdf"));
        std::unique_ptr<PipeReader> reader;
        if (pipe) {
            QCOMPARE(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
            reader = std::make_unique<PipeReader>(file);
        } else {
            QFile old(file);
            QVERIFY(old.open(QIODevice::WriteOnly));
            old.write("OLD");
        }
        bool closed = false;
        {
            PdfFileDevice pdf(file);
            if (ending == QLatin1String("full")) {
                FileSizeLimit limit(2000);
                QVERIFY(printOnePage(pdf));
                closed = pdf.close();
                QVERIFY(!pdf.errorText().isEmpty());
            } else {
                QVERIFY(printOnePage(pdf));
                if (ending == QLatin1String("close"))
                    closed = pdf.close();
                else
                    pdf.discard();
            }
        }
        QCOMPARE(closed, replaced);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::System),
                 QStringList {QStringLiteral("out.pdf")});
        if (pipe) {
            QVERIFY(QFileInfo(file).exists() && !QFileInfo(file).isFile());
            const QByteArray written = reader->finish();
            QVERIFY(written.startsWith("%PDF"));
        } else {
            QFile now(file);
            QVERIFY(now.open(QIODevice::ReadOnly));
            QCOMPARE(now.readAll().startsWith("%PDF"), replaced);
        }
    }

    // A value too wide for its box keeps its start: drawn smaller down to
    // 70 %, below that left-aligned and cut after a whole character; and
    // so, without shrinking, at its own size.
    void tooWide_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("alignment");
        QTest::addColumn<int>("width");
        QTest::addColumn<bool>("shrink");
        QTest::addColumn<QString>("printed");
        QTest::addColumn<bool>("smaller");
        const int centre = int(TAlignment::taCenter);
        const int right = int(TAlignment::taRightJustify);
        const int left = int(TAlignment::taLeftJustify);
        QTest::newRow("centred, shrunk")
            << "KANRI-CODE-0015" << centre << 81 << true << "KANRI-CODE-0015" << true;
        QTest::newRow("right-aligned, shrunk")
            << "KANRI-CODE-0015" << right << 81 << true << "KANRI-CODE-0015" << true;
        QTest::newRow("tenth full-width character")
            << "情報システム部門開発" << left << 129 << true << "情報システム部門開発" << true;
        QTest::newRow("below 70 %: cut after a whole character")
            << "very-long-domain-name.example.co.jp" << centre << 129 << true
            << "very-long-domain-name.examp" << true;
        QTest::newRow("not shrinking: cut after a whole character")
            << "情報システム部門開発課長" << right << 100 << false << "情報システム部" << false;
        QTest::newRow("fitting: as it is") << "KANRI" << centre << 81 << true << "KANRI" << false;
    }
    void tooWide()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(QString, text);
        QFETCH(int, alignment);
        QFETCH(int, width);
        QFETCH(bool, shrink);
        QFETCH(QString, printed);
        QFETCH(bool, smaller);
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("w.pdf"));
        {
            TLightRep page;
            auto *panel = new TLRLayoutPanel(&page);
            panel->setBounds(100, 100, 400, 400);
            auto *item = new TLRItem(panel);
            item->setBounds(0, 0, width, 17);
            item->setFont(ReportFont::gothic(13));
            item->setAlignment(TAlignment(alignment));
            item->setShrinkToFit(shrink);
            item->setText(text);
            PdfFileDevice pdf(file);
            QVERIFY(pdf.open());
            page.BeginDoc(pdf);
            page.PrintPage();
            page.EndDoc();
            QVERIFY(pdf.close());
        }
        const QVector<PdfText::Word> words = PdfText::words(file);
        QCOMPARE(words.size(), 1);
        const PdfText::Word &word = words[0];
        QCOMPARE(word.text, printed);
        QVERIFY2(word.box.left() >= 100 + 2 - 0.5 && word.box.right() <= 100 + width - 2 + 0.5,
                 qPrintable(QStringLiteral("%1-%2").arg(word.box.left()).arg(word.box.right())));
        // The box is one font size high.
        QCOMPARE(word.box.height() < 12.8, smaller);
    }

    void displayMasks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("mask");
        QTest::addColumn<QString>("shown");
        QTest::newRow("thousands") << "524288"
                                   << "#,#"
                                   << "524,288";
        QTest::newRow("zero prints nothing") << "0"
                                             << "#,#"
                                             << "";
        QTest::newRow("halves away from zero") << "2394.5"
                                               << "#,#"
                                               << "2,395";
        QTest::newRow("negative") << "-1234"
                                  << "#,##0"
                                  << "-1,234";
        QTest::newRow("decimals") << "3.1"
                                  << "0.00"
                                  << "3.10";
        QTest::newRow("zero section") << "0"
                                      << "#;(#);ゼロ"
                                      << "ゼロ";
        QTest::newRow("literal text") << "12"
                                      << "#\" 台\""
                                      << "12 台";
        QTest::newRow("edit mask") << "abc123"
                                   << ">LLL-000;0;_"
                                   << "ABC-123";
        QTest::newRow("edit mask keeping literals") << "03-1234"
                                                    << "00-0000;1;_"
                                                    << "03-1234";
        QTest::newRow("no mask") << "abc"
                                 << ""
                                 << "abc";
    }
    void displayMasks()
    {
        QFETCH(QString, text);
        QFETCH(QString, mask);
        QFETCH(QString, shown);
        QCOMPARE(DisplayMask::apply(text, mask), shown);
    }

    // Pages are kept as their drawings, compressed in a "vLR" file of the
    // temporary folder, and rendered when shown: as the page drawn at once
    // would look, at the store's zoom; the file goes with the store.
    void previewStore()
    {
        TLightRep page;
        auto *panel = new TLRLayoutPanel(&page);
        panel->setLRAlign(TLRAlign::laClient);
        auto *text = new TLRItem(panel);
        text->setBounds(0, 0, 300, 40);
        text->setFont(ReportFont::gothic(30, true));
        QStringList drawn;
        panel->BeforePrint = [&](TLRLayoutPanel *, const QRect &, TLRLayoutPanel::PrintStatus &) {
            text->setText(QStringLiteral("PAGE %1").arg(page.PageNumber()));
            drawn << text->Text();
        };
        // Page 1 drawn at once, for comparison.
        QImage direct(page.pageUnits(), QImage::Format_RGB32);
        {
            QPainter painter(&direct);
            painter.setRenderHint(QPainter::TextAntialiasing);
            page.PreviewPage(painter);
        }
        drawn.clear();
        QString fileName;
        {
            TLRPreviewControl store;
            store.setLightRep(&page);
            QImage shown;
            connect(&store, &TLRPreviewControl::shown, this, [&](const QImage &i) { shown = i; });
            store.Reset();
            fileName = store.temporaryFileName();
            QCOMPARE(QFileInfo(fileName).absolutePath(),
                     QFileInfo(QDir::tempPath()).absoluteFilePath());
            QVERIFY(QFileInfo(fileName).fileName().startsWith(QLatin1String("vLR")));
            store.ShowNext();
            store.ShowNext();
            store.ProduceNext();
            QCOMPARE(drawn, QStringList({"PAGE 1", "PAGE 2", "PAGE 3"}));
            QCOMPARE(store.ImageCount(), 3);
            QCOMPARE(store.CurrentImage(), 2);
            QVERIFY(!store.AtLast());
            QVERIFY(store.GoToPage(1));
            QVERIFY(store.AtFirst());
            QCOMPARE(shown, direct);
            QVERIFY(!store.GoToPage(4));
            QVERIFY(!store.GoToPage(0));
            store.ShowLast();
            QCOMPARE(store.CurrentImage(), 3);
            // Page 3 shows other text than page 1.
            QImage first = shown;
            store.ShowFirst();
            QVERIFY(first != shown);
            QCOMPARE(drawn.size(), 3); // shown again, not drawn again
            store.setZoom(2);
            QCOMPARE(store.currentImage().size(), QSize(2 * 794, 2 * 1123));
            QCOMPARE(store.currentImage().deviceIndependentSize(), QSizeF(794, 1123));
            QVERIFY(QFileInfo::exists(fileName));
        }
        QVERIFY(!QFileInfo::exists(fileName));
    }
};

QTEST_MAIN(TstLightRep)
#include "tst_lightrep.moc"
