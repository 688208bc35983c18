#pragma once

#include "LRReport.h"
#include "PcSheetFreeText.h"
#include "ReportStatement.h"

#include <QDateTime>
#include <QSqlQuery>
#include <functional>
#include <memory>

class MasterQuery;
class PcSheetLayout;
class TDMdata;
class TLightRep;
class TLRLayoutPanel;

// The PC management sheet ("パソコン管理シート"), without a window: one A4
// sheet per PC of the master statement, in its order, with further sheets
// for a PC whose free text does not fit. The drives, printers and
// applications of the current PC are read when the master moves. Store
// errors throw StoreError while pages are produced.
class PcSheetReport : public LRReport
{
public:
    PcSheetReport(TDMdata &dm, const ReportStatement &master);
    ~PcSheetReport() override;

    // The master statements: all PCs, or the PCs of these keys (bound as
    // parameters), both in key order. No keys give a sheet without PCs.
    static ReportStatement allPcs();
    static ReportStatement selectedPcs(const QStringList &keys);
    // Beyond this many keys, selectedPcs() reads all keys and keeps the
    // selected ones (SQLite binds at most 999 parameters in older builds).
    static constexpr int MaxBoundKeys = 900;

    TLightRep &page() override;
    LRDataSet *master() override;
    MasterQuery &Qpc() const { return *m_qpc; }

    // The time printed at the top of every sheet (the current time unless
    // set).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

private:
    void LRLayoutPanel1BeforePrint();
    void LRLayoutPanel1AfterPrint();
    void loadDetails();
    QString valueText(int content, const QString &field) const;

    TDMdata &m_dm;
    std::unique_ptr<TLightRep> m_page;
    MasterQuery *m_qpc;
    std::unique_ptr<PcSheetLayout> m_layout;
    PcSheetFreeText m_freeText;
    QSqlQuery m_qdrive;
    QSqlQuery m_qprinter;
    QSqlQuery m_qappli;
    bool m_detailsPrepared = false;
    std::function<QDateTime()> m_clock;
};
