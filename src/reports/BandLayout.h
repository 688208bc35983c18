#pragma once

#include "BandedReportDef.h"

#include <QString>
#include <QVector>
#include <functional>

// The pages of a banded report: which bands go on which page, where, for
// which row, and with which count.
//
// Every page has the page header at its top and the page footer at the
// bottom of the area between the margins; the other bands follow one
// another between them. A band that does not fit goes to the next page,
// and so do new group headers with the first detail row under them, so a
// header never ends a page alone. A group that starts a new page does so
// unless nothing but the page header is on the page yet. On a page where
// groups go on from the page before, the headers of those that repeat
// follow the page header, outermost first. A count shows the
// detail rows since its band was last placed. Without rows the pages hold
// the page header and the page footer only.
namespace BandLayout {

struct PlacedBand
{
    Banded::BandKind kind;
    int group = -1; // of group headers and footers
    double top = 0; // millimetres from the top of the area between the margins
    int row = -1; // the row whose columns it shows; -1 for none
    int count = 0; // detail rows counted for its count fields
};

struct Page
{
    QVector<PlacedBand> bands;
};

// The text of a row's column, as groups compare it.
using RowText = std::function<QString(int row, const QString &column)>;

QVector<Page> paginate(const Banded::ReportDef &def, int rows, const RowText &text);

} // namespace BandLayout
