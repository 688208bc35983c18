#include "BandLayout.h"

using Banded::BandKind;

namespace {

// Bands whose heights add up to the space left still fit.
constexpr double Slack = 1e-6;

class Paginator
{
public:
    Paginator(const Banded::ReportDef &def, int rows, const BandLayout::RowText &text)
        : m_def(def), m_rows(rows), m_text(text), m_footerCounts(int(def.groups.size()), 0),
          m_bottom(def.areaHeight() - (def.pageFooter ? def.pageFooter->height : 0))
    { }

    QVector<BandLayout::Page> run();

private:
    double height(BandKind kind, int group = -1) const { return m_def.band(kind, group).height; }
    bool fits(double h) const { return m_y + h <= m_bottom + Slack; }
    void startPage(int row);
    void finishPage();
    // A new page on which the outermost groups up to continuing go on.
    void newPage(int row, int continuing);
    void place(BandKind kind, int group, int row, int count = 0);
    // On the next page when it does not fit here.
    void placeFitting(BandKind kind, int group, int row, int count = 0);
    void openGroups(int from, int row);
    void closeGroups(int from, int row);

    const Banded::ReportDef &m_def;
    const int m_rows;
    const BandLayout::RowText &m_text;
    QVector<int> m_footerCounts;
    int m_summaryCount = 0;
    const double m_bottom;

    QVector<BandLayout::Page> m_pages;
    double m_y = 0;
    bool m_body = false; // something below the page header
    int m_pageRow = -1; // the last row shown on the page
};

QVector<BandLayout::Page> Paginator::run()
{
    startPage(m_rows > 0 ? 0 : -1);
    const int groups = int(m_def.groups.size());
    QStringList previous;
    for (int row = 0; row < m_rows; ++row) {
        QStringList keys;
        for (const Banded::Group &group : m_def.groups)
            keys << m_text(row, group.column);
        int changed = row == 0 ? 0 : groups;
        for (int g = 0; g < groups && changed == groups; ++g) {
            if (keys[g] != previous[g])
                changed = g;
        }
        if (row > 0)
            closeGroups(changed, row - 1);
        openGroups(changed, row);
        placeFitting(BandKind::Detail, -1, row);
        for (int &count : m_footerCounts)
            ++count;
        ++m_summaryCount;
        previous = keys;
    }
    if (m_rows > 0) {
        closeGroups(0, m_rows - 1);
        if (m_def.summary)
            placeFitting(BandKind::Summary, -1, m_rows - 1, m_summaryCount);
    }
    finishPage();
    return m_pages;
}

void Paginator::startPage(int row)
{
    m_pages.append(BandLayout::Page());
    m_y = 0;
    m_body = false;
    m_pageRow = row;
    if (m_def.pageHeader)
        place(BandKind::PageHeader, -1, row);
}

void Paginator::newPage(int row, int continuing)
{
    finishPage();
    startPage(row);
    for (int g = 0; g < continuing; ++g) {
        if (m_def.groups[g].repeatOnNewPage)
            place(BandKind::GroupHeader, g, row);
    }
}

void Paginator::finishPage()
{
    if (!m_def.pageFooter)
        return;
    m_pages.last().bands.append({BandKind::PageFooter, -1, m_bottom, m_pageRow, 0});
}

void Paginator::place(BandKind kind, int group, int row, int count)
{
    m_pages.last().bands.append({kind, group, m_y, row, count});
    m_y += height(kind, group);
    if (kind != BandKind::PageHeader) {
        m_body = true;
        m_pageRow = row;
    }
}

void Paginator::placeFitting(BandKind kind, int group, int row, int count)
{
    // A band taller than an empty page goes there all the same.
    if (!fits(height(kind, group)) && m_body) {
        // The groups a band belongs to go on.
        const int groups = int(m_def.groups.size());
        const int continuing = kind == BandKind::Detail ? groups
            : kind == BandKind::GroupHeader             ? group
            : kind == BandKind::GroupFooter             ? group + 1
                                                        : 0;
        newPage(row, continuing);
    }
    place(kind, group, row, count);
}

void Paginator::openGroups(int from, int row)
{
    const int groups = int(m_def.groups.size());
    bool breaks = false;
    double chain = height(BandKind::Detail);
    for (int g = from; g < groups; ++g) {
        breaks = breaks || m_def.groups[g].newPage;
        chain += height(BandKind::GroupHeader, g);
    }
    if (m_body && (breaks || !fits(chain)))
        newPage(row, from);
    for (int g = from; g < groups; ++g)
        placeFitting(BandKind::GroupHeader, g, row);
}

void Paginator::closeGroups(int from, int row)
{
    for (int g = int(m_def.groups.size()) - 1; g >= from; --g) {
        if (!m_def.groups[g].footer)
            continue;
        placeFitting(BandKind::GroupFooter, g, row, m_footerCounts[g]);
        m_footerCounts[g] = 0;
    }
}

} // namespace

namespace BandLayout {

QVector<Page> paginate(const Banded::ReportDef &def, int rows, const RowText &text)
{
    return Paginator(def, rows, text).run();
}

} // namespace BandLayout

namespace Banded {

const Band &ReportDef::band(BandKind kind, int group) const
{
    static const Band none;
    switch (kind) {
    case BandKind::PageHeader:
        return pageHeader ? *pageHeader : none;
    case BandKind::GroupHeader:
        return group >= 0 && group < groups.size() ? groups[group].header : none;
    case BandKind::Detail:
        return detail;
    case BandKind::GroupFooter:
        return group >= 0 && group < groups.size() && groups[group].footer ? *groups[group].footer
                                                                           : none;
    case BandKind::Summary:
        return summary ? *summary : none;
    case BandKind::PageFooter:
        return pageFooter ? *pageFooter : none;
    }
    return none;
}

} // namespace Banded
