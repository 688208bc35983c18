#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class IniFile;

// Visibility, width and position of a grid's columns as kept in the
// settings file (one key per column's field name in three sections).
class GridColumnsState
{
public:
    struct Sections
    {
        QString visible; // e.g. "HyojiKomoku"
        QString width; // e.g. "HyojiColumnWidth"
        QString index; // e.g. "HyojiColumnIndex"
    };

    GridColumnsState(const QStringList &designedOrder, const Sections &sections);

    // Reads visibility, then widths, then applies the saved positions in the
    // four passes the grid uses.
    void read(const IniFile &ini);
    // Writes visibility for every column in the current order, then each
    // column's position, then each width.
    void write(IniFile &ini) const;

    // The four passes: in each, for each position from first to last, the
    // column standing there is moved to its saved index (0 when missing).
    static QStringList applySavedPositions(QStringList order, const QHash<QString, int> &saved);
    // What read() applies: a complete set of distinct positions (as every
    // close writes) is taken as it stands; anything else goes through the
    // four passes, which leave the order unchanged when nothing is saved.
    static QStringList restoreOrder(const QStringList &order, const QHash<QString, int> &saved);

    QStringList order() const { return m_order; }
    void setOrder(const QStringList &order) { m_order = order; }
    bool isVisible(const QString &field) const { return m_visible.value(field, true); }
    void setVisible(const QString &field, bool visible) { m_visible[field] = visible; }
    int width(const QString &field) const { return m_width.value(field, 0); }
    void setWidth(const QString &field, int width) { m_width[field] = width; }

private:
    QStringList m_order;
    Sections m_sections;
    QHash<QString, bool> m_visible;
    QHash<QString, int> m_width;
};
