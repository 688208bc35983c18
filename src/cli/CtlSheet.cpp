#include "CtlArguments.h"
#include "CtlCommands.h"
#include "layout/LayoutError.h"
#include "layout/PdfFileDevice.h"
#include "reports/MasterQuery.h"
#include "reports/PcSheetReport.h"
#include "reports/ReportRun.h"
#include "store/StoreError.h"

#include <QDir>

namespace {

// sheet --pdf FILE [KEY...]: the management sheets of the named PCs, or of
// every PC, in key order, into one PDF file.
class CtlSheet : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("sheet"); }
    QString usage() const override
    {
        return QStringLiteral("  sheet --pdf FILE [KEY...]\n"
                              "                     パソコン管理シートをPDFファイルに出力する "
                              "(KEYを省略すると全パソコン)\n");
    }
    Access access() const override { return Access::Reads; }
    bool parse(CtlArguments &arguments) override
    {
        m_pdfFile = arguments.value(QLatin1String("--pdf")).value_or(QString());
        m_keys = arguments.positional();
        return !arguments.failed() && !m_pdfFile.isEmpty() ? true : arguments.refuse();
    }
    int run(const CtlContext &c) override
    {
        PcSheetReport report(
            c.dm, m_keys.isEmpty() ? PcSheetReport::allPcs() : PcSheetReport::selectedPcs(m_keys));
        MasterQuery &pcs = report.Qpc();
        ReportRun::Readiness readiness = ReportRun::Readiness::Ready;
        try {
            readiness = ReportRun::prepare(report);
        } catch (const StoreError &e) {
            c.err << e.message() << Qt::endl;
            return CtlFailure;
        }
        const QStringList found = pcs.keys();
        bool missing = false;
        for (const QString &key : std::as_const(m_keys)) {
            if (!found.contains(key)) {
                c.err << QStringLiteral("パソコンがありません: %1").arg(key) << Qt::endl;
                missing = true;
            }
        }
        if (missing)
            return CtlFailure;
        if (readiness != ReportRun::Readiness::Ready) {
            c.err << ReportRun::message(readiness) << Qt::endl;
            return CtlFailure;
        }

        PdfFileDevice device(m_pdfFile);
        if (!device.open()) {
            c.err << device.errorText() << Qt::endl;
            return CtlFailure;
        }
        int lastPosition = -1;
        int pages = 0;
        try {
            ReportRun::print(report, device, [&] {
                ++pages;
                if (pcs.position() == lastPosition)
                    return;
                lastPosition = pcs.position();
                c.progress << QStringLiteral("(%1/%2) %3")
                                  .arg(lastPosition + 1)
                                  .arg(pcs.recordCount())
                                  .arg(pcs.displayText(QStringLiteral("Key")))
                           << Qt::endl;
            });
        } catch (const LayoutError &e) {
            c.err << e.message() << Qt::endl;
        } catch (const StoreError &e) {
            c.err << e.message() << Qt::endl;
        }
        const bool complete = pcs.eof() && device.close();
        if (!complete) {
            // No half-written sheets are left for a scheduled job to file;
            // an earlier file of the name stays as it was.
            if (!device.errorText().isEmpty())
                c.err << device.errorText() << Qt::endl;
            device.discard();
            return CtlFailure;
        }
        c.verbose << QStringLiteral("%1 台、%2 ページを出力しました: %3")
                         .arg(lastPosition + 1)
                         .arg(pages)
                         .arg(QDir::toNativeSeparators(m_pdfFile))
                  << Qt::endl;
        return CtlSuccess;
    }

private:
    QString m_pdfFile;
    QStringList m_keys;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlSheet()
{
    return std::make_unique<CtlSheet>();
}
