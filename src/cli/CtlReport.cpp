#include "CtlArguments.h"
#include "CtlCommands.h"
#include "layout/LayoutError.h"
#include "layout/PdfFileDevice.h"
#include "reports/BandedReport.h"
#include "reports/ListReports.h"
#include "reports/MasterQuery.h"
#include "reports/ReportRun.h"
#include "store/StoreError.h"

#include <QDir>

namespace {

// report bu-ka|kyoyu [--printers]|appli NAME --pdf FILE: a list report into
// a PDF file.
class CtlReport : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("report"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  report bu-ka|kyoyu [--printers]|appli NAME --pdf FILE\n"
            "                     一覧表をPDFファイルに出力する (bu-ka: 部・課別パソコン一覧、\n"
            "                     kyoyu: 共有情報一覧 (--printers でプリンタ共有も)、\n"
            "                     appli: アプリケーションNAMEの導入状況一覧)\n");
    }
    Access access() const override { return Access::Reads; }
    bool parse(CtlArguments &arguments) override
    {
        m_pdfFile = arguments.value(QLatin1String("--pdf")).value_or(QString());
        m_printerShares = arguments.flag(QLatin1String("--printers"));
        const QStringList rest = arguments.positional();
        if (arguments.failed() || m_pdfFile.isEmpty() || rest.isEmpty())
            return arguments.refuse();
        m_kind = rest[0];
        const bool known = (rest.size() == 1 && m_kind == QLatin1String("bu-ka"))
            || (rest.size() == 1 && m_kind == QLatin1String("kyoyu"))
            || (rest.size() == 2 && m_kind == QLatin1String("appli"));
        if (!known)
            return arguments.refuse();
        if (m_printerShares && m_kind != QLatin1String("kyoyu"))
            return arguments.refuse(QStringLiteral("--printers は report kyoyu だけに使えます"));
        m_appliName = rest.value(1);
        return true;
    }
    int run(const CtlContext &c) override
    {
        std::unique_ptr<BandedReport> list = m_kind == QLatin1String("bu-ka")
            ? ListReports::buKaBetu(c.dm)
            : m_kind == QLatin1String("kyoyu") ? ListReports::kyoyuItiran(c.dm, m_printerShares)
                                               : ListReports::appli(c.dm, m_appliName);
        // A list without rows still prints its headers; but a name no PC
        // has ever had is more likely a typing error.
        try {
            if (m_kind == QLatin1String("appli") && !ListReports::appliKnown(c.dm, m_appliName)) {
                c.err << QStringLiteral("アプリケーションがありません: %1").arg(m_appliName)
                      << Qt::endl;
                return CtlFailure;
            }
            ReportRun::prepare(*list);
        } catch (const StoreError &e) {
            c.err << e.message() << Qt::endl;
            return CtlFailure;
        }
        PdfFileDevice device(m_pdfFile);
        if (!device.open()) {
            c.err << device.errorText() << Qt::endl;
            return CtlFailure;
        }
        int pages = 0;
        try {
            ReportRun::print(*list, device, [&] { ++pages; });
        } catch (const LayoutError &e) {
            c.err << e.message() << Qt::endl;
        }
        const bool complete = list->master()->eof() && device.close();
        if (!complete) {
            // No half-written list is left for a scheduled job to file; an
            // earlier file of the name stays as it was.
            if (!device.errorText().isEmpty())
                c.err << device.errorText() << Qt::endl;
            device.discard();
            return CtlFailure;
        }
        c.verbose << QStringLiteral("%1 件、%2 ページを出力しました: %3")
                         .arg(list->rows().size())
                         .arg(pages)
                         .arg(QDir::toNativeSeparators(m_pdfFile))
                  << Qt::endl;
        return CtlSuccess;
    }

private:
    QString m_pdfFile;
    bool m_printerShares = false;
    QString m_kind;
    QString m_appliName;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlReport()
{
    return std::make_unique<CtlReport>();
}
