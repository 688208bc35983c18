#include "ReportRun.h"

#include "LRReport.h"
#include "layout/LRDataSet.h"
#include "layout/LightRep.h"

namespace ReportRun {

QString message(Readiness readiness)
{
    switch (readiness) {
    case Readiness::NoDataSet:
        return QStringLiteral("dsMast.DataSet にデータセットを指定してください．");
    case Readiness::NoData:
        return QStringLiteral("印刷対象データがありません．");
    case Readiness::Ready:
        break;
    }
    return QString();
}

Readiness prepare(LRReport &report)
{
    LRDataSet *master = report.master();
    if (!master)
        return Readiness::NoDataSet;
    if (!master->isOpen())
        master->open();
    master->first();
    return isReportDone(report) ? Readiness::NoData : Readiness::Ready;
}

bool isReportDone(LRReport &report)
{
    const TLightRep &page = report.page();
    if (page.mode() == TLightRep::Mode::Printing && page.LastPage() > 0
        && page.PageNumber() >= page.LastPage())
        return true;
    LRDataSet *master = report.master();
    return !master || master->eof();
}

void print(LRReport &report, PrintDevice &device, const std::function<void()> &beforePage)
{
    TLightRep &page = report.page();
    page.BeginDoc(device);
    try {
        while (!isReportDone(report)) {
            if (beforePage)
                beforePage();
            page.PrintPage();
            if (!isReportDone(report))
                page.NewPage();
        }
    } catch (...) {
        page.EndDoc();
        throw;
    }
    page.EndDoc();
}

} // namespace ReportRun
