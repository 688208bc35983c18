#pragma once

#include <QString>
#include <memory>

class BandedReport;
class TDMdata;

// The three list reports, each declared as bands over its query, without a
// window (the report windows and orvanectl show and print them).
namespace ListReports {

// "部・課別パソコン一覧": every PC, removed ones too, by department and
// section with their counts and the total.
std::unique_ptr<BandedReport> buKaBetu(TDMdata &dm);

// "共　有　情　報　一　覧": the shared folders of every PC by department,
// section and PC; the printer shares print$ and PRINTER$ only when
// printerShares is set.
std::unique_ptr<BandedReport> kyoyuItiran(TDMdata &dm, bool printerShares);

// "アプリケーション導入状況一覧": the PCs in service that have the
// application, with their count.
std::unique_ptr<BandedReport> appli(TDMdata &dm, const QString &appli);

// Whether any PC, in service or removed, has ever had the application (a
// row of Appli names it). Throws StoreError.
bool appliKnown(TDMdata &dm, const QString &appli);

} // namespace ListReports
