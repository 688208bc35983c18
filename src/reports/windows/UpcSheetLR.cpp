#include "UpcSheetLR.h"

#include "reports/PcSheetReport.h"

TLRPCsheet::TLRPCsheet(TDMdata &dm, const ReportStatement &master, QWidget *parent)
    : TBaseLRep(parent), m_dm(dm), m_master(master)
{
    setObjectName(QStringLiteral("LRPCsheet"));
    setWindowTitle(QStringLiteral("パソコン管理シート"));
}

PcSheetReport *TLRPCsheet::previewSheet() const
{
    return static_cast<PcSheetReport *>(previewReport());
}

std::unique_ptr<LRReport> TLRPCsheet::createReport()
{
    return std::make_unique<PcSheetReport>(m_dm, m_master);
}
