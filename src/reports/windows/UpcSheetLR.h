#pragma once

#include "BaseLRepU.h"
#include "reports/ReportStatement.h"

class PcSheetReport;
class TDMdata;

// The report window of the PC management sheet: the frame's preview and
// printing over the sheets of the PCs of its master statement.
class TLRPCsheet : public TBaseLRep
{
    Q_OBJECT

public:
    // master: the statement of Qpc, PcSheetReport::allPcs() or
    // PcSheetReport::selectedPcs(keys).
    TLRPCsheet(TDMdata &dm, const ReportStatement &master, QWidget *parent = nullptr);

    ReportStatement masterStatement() const { return m_master; }
    // The sheet shown in the preview; null before the first preview.
    PcSheetReport *previewSheet() const;

protected:
    std::unique_ptr<LRReport> createReport() override;

private:
    TDMdata &m_dm;
    ReportStatement m_master;
};
