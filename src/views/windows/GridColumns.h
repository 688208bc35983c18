#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

class GridColumnsState;
class QHeaderView;

// A grid's columns as the user arranged them: order on screen, visibility
// and widths, read from and written back to the settings' column state.
// Columns are named by their field names. A hidden column keeps the width
// it had, so hiding and showing it again (or saving it while hidden) loses
// nothing.
class GridColumns
{
public:
    // The header of a grid whose model has one section per field, in this
    // order; the designed order and widths (by field order) apply before
    // any settings.
    GridColumns(QHeaderView *header, const QStringList &fields, const QStringList &designedOrder,
                const QVector<int> &designedWidths);

    // The designed order, every column shown with its designed width.
    void applyDesigned();
    // The state's order, visibility and widths (0: the designed width).
    void apply(const GridColumnsState &state);
    // Writes order, visibility and widths into the state.
    void takeBack(GridColumnsState &state) const;

    // Field names in their order on screen.
    QStringList order() const;
    bool isShown(const QString &field) const;
    void setShown(const QString &field, bool shown);
    int width(const QString &field) const;
    void setWidth(const QString &field, int width);

private:
    int logicalOf(const QString &field) const;
    int designedWidth(int logical) const;

    QHeaderView *m_header;
    QStringList m_fields;
    QStringList m_designedOrder;
    QVector<int> m_designedWidths;
    QHash<QString, int> m_hiddenWidths;
};
