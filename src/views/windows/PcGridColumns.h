#pragma once

#include <QHash>
#include <QString>
#include <QStringList>

class GridColumnsState;
class QHeaderView;

// The PC grid's columns as the user arranged them: order on screen,
// visibility and widths, read from and written back to the settings' column
// state. Columns are named by their field names. A hidden column keeps the
// width it had, so hiding and showing it again (or saving it while hidden)
// loses nothing.
class PcGridColumns
{
public:
    // The header of a grid over the PC list's model (one section per field
    // in field order).
    explicit PcGridColumns(QHeaderView *header);

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

    QHeaderView *m_header;
    QHash<QString, int> m_hiddenWidths;
};
