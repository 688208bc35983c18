#include "GridColumnsState.h"

#include "IniFile.h"

#include <QSet>

namespace {

// True when the saved positions give every column of the order its own
// position in 0..n-1.
bool isCompletePermutation(const QStringList &order, const QHash<QString, int> &saved)
{
    QSet<int> seen;
    for (const QString &field : order) {
        const auto it = saved.constFind(field);
        if (it == saved.constEnd() || *it < 0 || *it >= order.size() || seen.contains(*it))
            return false;
        seen.insert(*it);
    }
    return true;
}

} // namespace

GridColumnsState::GridColumnsState(const QStringList &designedOrder, const Sections &sections)
    : m_order(designedOrder), m_sections(sections)
{ }

QStringList GridColumnsState::applySavedPositions(QStringList order,
                                                  const QHash<QString, int> &saved)
{
    const qsizetype last = order.size() - 1;
    for (int pass = 0; pass < 4; ++pass) {
        for (qsizetype position = 0; position <= last; ++position) {
            const QString field = order.at(position);
            const qsizetype target = qBound(qsizetype(0), qsizetype(saved.value(field, 0)), last);
            order.move(position, target);
        }
    }
    return order;
}

QStringList GridColumnsState::restoreOrder(const QStringList &order,
                                           const QHash<QString, int> &saved)
{
    // The passes do not always reach the saved order (moving the last of
    // eighteen or more columns to the front comes back scrambled), so a
    // complete set of positions from an earlier close is applied directly.
    if (isCompletePermutation(order, saved)) {
        QStringList result = order;
        for (const QString &field : order)
            result[saved.value(field)] = field;
        return result;
    }
    return applySavedPositions(order, saved);
}

void GridColumnsState::read(const IniFile &ini)
{
    for (const QString &field : std::as_const(m_order))
        m_visible[field] = ini.readBool(m_sections.visible, field, true);

    for (const QString &field : std::as_const(m_order)) {
        const int w = ini.readInteger(m_sections.width, field, 0);
        if (w != 0)
            m_width[field] = w;
    }

    QHash<QString, int> saved;
    for (const QString &field : std::as_const(m_order))
        saved[field] = ini.readInteger(m_sections.index, field, 0);
    m_order = restoreOrder(m_order, saved);
}

void GridColumnsState::write(IniFile &ini) const
{
    for (const QString &field : m_order)
        ini.writeBool(m_sections.visible, field, isVisible(field));
    for (qsizetype position = 0; position < m_order.size(); ++position)
        ini.writeInteger(m_sections.index, m_order.at(position), int(position));
    for (const QString &field : m_order)
        ini.writeInteger(m_sections.width, field, width(field));
}
