#pragma once

#include <QString>
#include <functional>

class LRReport;
class PrintDevice;

// The production loop of page-layout reports, without a window: the frame
// and the command-line tool run reports through it.
namespace ReportRun {

enum class Readiness { Ready, NoDataSet, NoData };

// "dsMast.DataSet にデータセットを指定してください．" or
// "印刷対象データがありません．"; empty for Ready.
QString message(Readiness readiness);

// Opens the master data set if needed and moves it to its first row.
// Throws the data set's error.
Readiness prepare(LRReport &report);

// The master data set is past its last row, or a print job has reached
// the last page of its range.
bool isReportDone(LRReport &report);

// Prints a prepared report from its current row until it is done: pages
// before the page's FirstPage are laid out (their events run) but not
// drawn, pages from FirstPage to LastPage reach the device, each on its
// own sheet.
// beforePage is called before every page. Throws LayoutError (refusals,
// the device) or the data set's error; the job is ended either way.
void print(LRReport &report, PrintDevice &device, const std::function<void()> &beforePage = {});

} // namespace ReportRun
