// PC management sheet benchmark: imports N sample PCs into a fresh SQLite
// store, then measures the time to the first preview page, the PDF of all
// sheets, and the background production of every preview page, each with
// the peak memory of the process so far. Each figure is printed beside its
// reference from the same run: the goal, the peak before the sheets, and,
// for the preview's temporary file, the same pages kept as compressed grey
// images (the preview's former store).
//
//   sheet_bench [--pcs N] [--max-applications M] [--keep-pdf FILE]

#include "BenchSupport.h"
#include "SampleGenerator.h"
#include "import/ImportRun.h"
#include "layout/LRPrvSpl.h"
#include "layout/LightRep.h"
#include "layout/PdfFileDevice.h"
#include "reports/PcSheetReport.h"
#include "reports/ReportRun.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <cstdio>

namespace {

class Quiet : public ImportObserver, public TableCheckObserver
{
public:
    void progress(const QString &) override { }
    void fileMessage(const QString &text) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
    }
    void fatal(const QString &text) override
    {
        std::fprintf(stderr, "fatal: %s\n", qPrintable(text));
    }
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

double seconds(const QElapsedTimer &timer)
{
    return timer.nsecsElapsed() / 1e9;
}

// A page as the preview kept it before: a grey image at one pixel per
// unit, 8 bits per pixel, compressed fast.
qsizetype asGreyImage(const QImage &page)
{
    const QImage grey = page.convertToFormat(QImage::Format_Grayscale8);
    return qCompress(grey.constBits(), int(grey.sizeInBytes()), 1).size();
}

} // namespace

int main(int argc, char *argv[])
{
    // Drawing needs a GUI application, not a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption pcsOption(QStringLiteral("pcs"), QStringLiteral("PCs."),
                                       QStringLiteral("N"), QStringLiteral("1000"));
    const QCommandLineOption appsOption(QStringLiteral("max-applications"),
                                        QStringLiteral("Most applications of a PC (at least 5)."),
                                        QStringLiteral("M"), QStringLiteral("30"));
    const QCommandLineOption keepOption(QStringLiteral("keep-pdf"),
                                        QStringLiteral("Write the PDF here and keep it."),
                                        QStringLiteral("FILE"));
    parser.addOptions({pcsOption, appsOption, keepOption});
    parser.process(app);

    QTemporaryDir scratch;
    const int pcs = parser.value(pcsOption).toInt();
    SampleGenerator::Options options;
    options.minApplications = 5;
    options.maxApplications = qMax(5, parser.value(appsOption).toInt());
    const QString collector = scratch.filePath(QStringLiteral("collector"));
    QDir().mkpath(collector);
    SampleGenerator(options).writeFolder(collector, 0, pcs);

    TDMdata dm;
    StoreSettings settings;
    settings.folder = scratch.filePath(QStringLiteral("PCDB"));
    QDir().mkpath(settings.folder);
    dm.setSettings(settings);
    Quiet quiet;
    dm.open();
    dm.checkTables(quiet);
    QElapsedTimer timer;
    timer.start();
    const ImportSummary imported = ImportRun(dm, quiet).run(collector, ImportOptions {});
    const double importPeak = peakMemoryMb();
    std::printf("import of %d PCs                %7.2f s                                  "
                "peak %4.0f MB\n",
                imported.imported, seconds(timer), importPeak);

    // The preview's first page, as the report window shows it.
    {
        timer.start();
        PcSheetReport report(dm, PcSheetReport::allPcs());
        ReportRun::prepare(report);
        TLRPreviewControl preview;
        preview.setLightRep(&report.page());
        preview.Reset();
        preview.ShowNext();
        std::printf("first preview page              %7.3f s (goal < 1 s)                     "
                    "peak %4.0f MB (after the import %.0f MB)\n",
                    seconds(timer), peakMemoryMb(), importPeak);
    }

    // Every sheet into one PDF file.
    const QString pdfFile = parser.isSet(keepOption) ? parser.value(keepOption)
                                                     : scratch.filePath(QStringLiteral("s.pdf"));
    int sheets = 0;
    {
        timer.start();
        const double cpu = cpuSeconds();
        PcSheetReport report(dm, PcSheetReport::allPcs());
        ReportRun::prepare(report);
        PdfFileDevice pdf(pdfFile);
        if (!pdf.open()) {
            std::fprintf(stderr, "%s\n", qPrintable(pdf.errorText()));
            return 1;
        }
        ReportRun::print(report, pdf, [&] { ++sheets; });
        pdf.close();
        const double s = seconds(timer);
        std::printf("PDF of %d sheets               %7.2f s (processor %.2f s), %.0f sheets/s, "
                    "%.1f MB file (goal < 20 s)  peak %4.0f MB (after the import %.0f MB)\n",
                    sheets, s, cpuSeconds() - cpu, sheets / s, QFileInfo(pdfFile).size() / 1e6,
                    peakMemoryMb(), importPeak);
    }

    // The background producer of the preview: every page into the store.
    {
        timer.start();
        const double cpu = cpuSeconds();
        PcSheetReport report(dm, PcSheetReport::allPcs());
        ReportRun::prepare(report);
        TLRPreviewControl preview;
        preview.setLightRep(&report.page());
        preview.Reset();
        while (!ReportRun::isReportDone(report))
            preview.ProduceNext();
        const double s = seconds(timer);
        const double processor = cpuSeconds() - cpu;
        const double fileBytes = QFileInfo(preview.temporaryFileName()).size();
        const int pages = preview.ImageCount();
        std::printf("preview of %d pages            %7.2f s (processor %.2f s), %.0f pages/s       "
                    "peak %4.0f MB (after the import %.0f MB)\n",
                    pages, s, processor, pages / s, peakMemoryMb(), importPeak);

        // Showing stored pages, and the same pages as grey images.
        const int sample = qMin(pages, 100);
        QImage shown;
        QObject::connect(&preview, &TLRPreviewControl::shown,
                         [&](const QImage &image) { shown = image; });
        qint64 greyBytes = 0;
        qint64 showingNs = 0;
        for (int n = 1; n <= sample; ++n) {
            timer.start();
            preview.GoToPage(n);
            showingNs += timer.nsecsElapsed();
            greyBytes += asGreyImage(shown);
        }
        const double showing = showingNs / 1e9 / sample;
        std::printf("preview temporary file          %7.1f MB, %.1f KB a page (goal <= 16 KB; "
                    "as grey images %.1f KB a page)\n",
                    fileBytes / 1e6, fileBytes / pages / 1024, greyBytes / 1024.0 / sample);
        std::printf("showing a stored page           %7.3f s (goal < 1 s)\n", showing);
    }
    return 0;
}
