#pragma once

#include "BandLayout.h"
#include "BandedReportDef.h"
#include "LRReport.h"
#include "ReportRows.h"
#include "ReportStatement.h"
#include "store/Schema.h"

#include <QDateTime>
#include <functional>
#include <memory>

class TDMdata;
class TLightRep;
class TLRLayoutPanel;

// A banded report on the page layout engine, without a window: its query
// is read completely and laid out into pages when the report is opened,
// and each page is then drawn by one layout panel that places the page's
// bands and their items. The master data set runs over the pages, so a
// report without rows still has its one page of headers. Store errors
// throw StoreError when the report is opened.
class BandedReport : public LRReport
{
public:
    // tables: those the query reads, for the types of its columns.
    BandedReport(TDMdata &dm, Banded::ReportDef def, const ReportStatement &statement,
                 const QVector<TableId> &tables);
    ~BandedReport() override;

    TLightRep &page() override;
    LRDataSet *master() override;

    // The time the date-time fields show (the time of opening unless set).
    void setClock(std::function<QDateTime()> clock) { m_clock = std::move(clock); }

    // Runs the query and lays out the pages. Throws StoreError.
    void open();
    const ReportRows &rows() const { return m_rows; }
    const QVector<BandLayout::Page> &pages() const { return m_pages; }

private:
    class Pages;

    // Places the items of page index (from 0) on the panel.
    void fillPage(int index);
    // A field's text in a band placed for row with count.
    QString fieldText(const Banded::Field &field, int row, int count, int pageNumber) const;

    TDMdata &m_dm;
    Banded::ReportDef m_def;
    ReportStatement m_statement;
    QVector<const TableDef *> m_tables;
    std::unique_ptr<TLightRep> m_page;
    TLRLayoutPanel *m_panel;
    Pages *m_pagesSet;
    std::function<QDateTime()> m_clock;

    ReportRows m_rows;
    QVector<BandLayout::Page> m_pages;
    QDateTime m_printed;
};
