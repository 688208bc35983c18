#include "GridColumns.h"

#include "base/GridColumnsState.h"

#include <QHeaderView>

GridColumns::GridColumns(QHeaderView *header, const QStringList &fields,
                         const QStringList &designedOrder, const QVector<int> &designedWidths)
    : m_header(header), m_fields(fields), m_designedOrder(designedOrder),
      m_designedWidths(designedWidths)
{ }

int GridColumns::designedWidth(int logical) const
{
    return m_designedWidths.value(logical, 100);
}

int GridColumns::logicalOf(const QString &field) const
{
    for (int i = 0; i < m_fields.size(); ++i)
        if (m_fields[i] == field)
            return i;
    return -1;
}

void GridColumns::applyDesigned()
{
    const QStringList &designed = m_designedOrder;
    for (int position = 0; position < designed.size(); ++position) {
        const QString &field = designed.at(position);
        const int logical = logicalOf(field);
        if (logical < 0 || logical >= m_header->count())
            continue;
        m_header->moveSection(m_header->visualIndex(logical), position);
        setShown(field, true);
        setWidth(field, designedWidth(logical));
    }
}

void GridColumns::apply(const GridColumnsState &state)
{
    const QStringList order = state.order();
    int position = 0;
    for (const QString &field : order) {
        const int logical = logicalOf(field);
        if (logical < 0 || logical >= m_header->count())
            continue;
        m_header->moveSection(m_header->visualIndex(logical), position++);
        const int saved = state.width(field);
        setWidth(field, saved > 0 ? saved : designedWidth(logical));
        setShown(field, state.isVisible(field));
    }
}

void GridColumns::takeBack(GridColumnsState &state) const
{
    const QStringList fields = order();
    state.setOrder(fields);
    for (const QString &field : fields) {
        state.setVisible(field, isShown(field));
        state.setWidth(field, width(field));
    }
}

QStringList GridColumns::order() const
{
    QStringList fields;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (logical >= 0 && logical < m_fields.size())
            fields.append(m_fields.at(logical));
    }
    return fields;
}

bool GridColumns::isShown(const QString &field) const
{
    const int logical = logicalOf(field);
    return logical >= 0 && !m_header->isSectionHidden(logical);
}

void GridColumns::setShown(const QString &field, bool shown)
{
    const int logical = logicalOf(field);
    if (logical < 0 || shown == !m_header->isSectionHidden(logical))
        return;
    if (shown) {
        const int width = m_hiddenWidths.take(field);
        m_header->showSection(logical);
        if (width > 0)
            m_header->resizeSection(logical, width);
    } else {
        m_hiddenWidths[field] = m_header->sectionSize(logical);
        m_header->hideSection(logical);
    }
}

int GridColumns::width(const QString &field) const
{
    const int logical = logicalOf(field);
    if (logical < 0)
        return 0;
    if (m_header->isSectionHidden(logical))
        return m_hiddenWidths.value(field, designedWidth(logical));
    return m_header->sectionSize(logical);
}

void GridColumns::setWidth(const QString &field, int width)
{
    const int logical = logicalOf(field);
    if (logical < 0 || width <= 0)
        return;
    if (m_header->isSectionHidden(logical))
        m_hiddenWidths[field] = width;
    else
        m_header->resizeSection(logical, width);
}
