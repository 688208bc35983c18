#include "PcGridColumns.h"

#include "base/GridColumnsState.h"
#include "views/PcListFields.h"

#include <QHeaderView>

PcGridColumns::PcGridColumns(QHeaderView *header) : m_header(header) { }

int PcGridColumns::logicalOf(const QString &field) const
{
    return PcListFields::indexOfName(field);
}

void PcGridColumns::applyDesigned()
{
    const QStringList designed = PcListFields::designedOrder();
    for (int position = 0; position < designed.size(); ++position) {
        const QString &field = designed.at(position);
        const int logical = logicalOf(field);
        if (logical < 0 || logical >= m_header->count())
            continue;
        m_header->moveSection(m_header->visualIndex(logical), position);
        setShown(field, true);
        setWidth(field, PcListFields::all().at(logical).designedWidth);
    }
}

void PcGridColumns::apply(const GridColumnsState &state)
{
    const QStringList order = state.order();
    int position = 0;
    for (const QString &field : order) {
        const int logical = logicalOf(field);
        if (logical < 0 || logical >= m_header->count())
            continue;
        m_header->moveSection(m_header->visualIndex(logical), position++);
        const int saved = state.width(field);
        setWidth(field, saved > 0 ? saved : PcListFields::all().at(logical).designedWidth);
        setShown(field, state.isVisible(field));
    }
}

void PcGridColumns::takeBack(GridColumnsState &state) const
{
    const QStringList fields = order();
    state.setOrder(fields);
    for (const QString &field : fields) {
        state.setVisible(field, isShown(field));
        state.setWidth(field, width(field));
    }
}

QStringList PcGridColumns::order() const
{
    QStringList fields;
    for (int visual = 0; visual < m_header->count(); ++visual) {
        const int logical = m_header->logicalIndex(visual);
        if (logical >= 0 && logical < PcListFields::Count)
            fields.append(PcListFields::all().at(logical).name);
    }
    return fields;
}

bool PcGridColumns::isShown(const QString &field) const
{
    const int logical = logicalOf(field);
    return logical >= 0 && !m_header->isSectionHidden(logical);
}

void PcGridColumns::setShown(const QString &field, bool shown)
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

int PcGridColumns::width(const QString &field) const
{
    const int logical = logicalOf(field);
    if (logical < 0)
        return 0;
    if (m_header->isSectionHidden(logical))
        return m_hiddenWidths.value(field, PcListFields::all().at(logical).designedWidth);
    return m_header->sectionSize(logical);
}

void PcGridColumns::setWidth(const QString &field, int width)
{
    const int logical = logicalOf(field);
    if (logical < 0 || width <= 0)
        return;
    if (m_header->isSectionHidden(logical))
        m_hiddenWidths[field] = width;
    else
        m_header->resizeSection(logical, width);
}
