#pragma once

#include "layout/LRItem.h"

#include <QString>
#include <QVector>
#include <optional>

// A banded list report declared as data: the bands that are printed for
// the rows of one query, each with its height and its fields. Positions and
// sizes are in millimetres from the band's top-left corner (the band spans
// the page between the left and right margins); font sizes are in points.
//
// Bands: the page header at the top of every page, a header for each group
// when its value changes (outermost first, optionally on a new page), the
// detail for every row, a footer for each group after its last row
// (innermost first), the summary once after the last row, and the page
// footer at the bottom of every page.
namespace Banded {

enum class Face { Proportional, Gothic }; // Gothic: the fixed-pitch face

struct Font
{
    double points = 10;
    bool bold = false;
    Face face = Face::Proportional;
};

inline Font pt(double points, bool bold = false)
{
    return {points, bold, Face::Proportional};
}

inline Font gothicPt(double points, bool bold = false)
{
    return {points, bold, Face::Gothic};
}

struct Field
{
    enum class Kind {
        Text, // text as given
        Column, // the row's column named by text
        Parameter, // the query's parameter named by text
        DateTime, // when the report was started
        PageNumber,
        Count, // detail rows since the band last printed
        Line, // a horizontal line, width long
    };

    Kind kind = Kind::Text;
    QString text;
    double x = 0;
    double y = 0;
    // 0: up to 1 mm before the next field on the same line, or to the
    // band's right edge. Text is cut after the last whole character that
    // fits the box, but right-aligned text, which ends at the box's right
    // edge, grows to the left as far as it needs.
    double width = 0;
    TAlignment alignment = TAlignment::taLeftJustify;
    Font font;
};

inline Field text(double x, double y, const QString &text, Font font = {})
{
    return {Field::Kind::Text, text, x, y, 0, TAlignment::taLeftJustify, font};
}

inline Field column(double x, double y, const QString &column, Font font = {})
{
    return {Field::Kind::Column, column, x, y, 0, TAlignment::taLeftJustify, font};
}

inline Field parameter(double x, double y, const QString &name, Font font = {})
{
    return {Field::Kind::Parameter, name, x, y, 0, TAlignment::taLeftJustify, font};
}

// Fields that fill a box from x to right.
inline Field dateTime(double x, double right, double y, TAlignment alignment, Font font = {})
{
    return {Field::Kind::DateTime, QString(), x, y, right - x, alignment, font};
}

inline Field pageNumber(double x, double right, double y, TAlignment alignment, Font font = {})
{
    return {Field::Kind::PageNumber, QString(), x, y, right - x, alignment, font};
}

// Right-aligned.
inline Field count(double x, double right, double y, Font font = {})
{
    return {Field::Kind::Count, QString(), x, y, right - x, TAlignment::taRightJustify, font};
}

inline Field line(double x, double y, double length)
{
    return {Field::Kind::Line, QString(), x, y, length, TAlignment::taLeftJustify, {}};
}

struct Band
{
    double height = 0;
    QVector<Field> fields;
};

struct Group
{
    // Consecutive rows with the same text in this column form a group.
    QString column;
    Band header;
    std::optional<Band> footer;
    // Each group but the first starts on a new page.
    bool newPage = false;
    // The header is printed again at the top of a page on which the group
    // goes on.
    bool repeatOnNewPage = false;
};

enum class BandKind { PageHeader, GroupHeader, Detail, GroupFooter, Summary, PageFooter };

struct ReportDef
{
    // The print job's name.
    QString title;
    // A4 landscape; margins in millimetres.
    double marginTop = 10;
    double marginLeft = 10;
    double marginRight = 10;
    double marginBottom = 10;

    std::optional<Band> pageHeader;
    QVector<Group> groups; // outermost first
    Band detail;
    std::optional<Band> summary;
    std::optional<Band> pageFooter;

    // The paper, A4 landscape, in millimetres.
    static constexpr double PaperWidth = 297;
    static constexpr double PaperHeight = 210;

    double bandWidth() const { return PaperWidth - marginLeft - marginRight; }
    double areaHeight() const { return PaperHeight - marginTop - marginBottom; }

    // The band of a kind (and group); an absent band is an empty one.
    const Band &band(BandKind kind, int group = -1) const;
};

} // namespace Banded
