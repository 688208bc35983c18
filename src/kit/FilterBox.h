#pragma once

#include <QWidget>

class QLabel;
class QLineEdit;
class QTableView;
class SearchFilterModel;

// The search box 「絞り込み」 of a list: placed between a grid and its
// model, it shows only the rows whose shown columns match what is typed
// (SearchFilterModel), keeping the list's order and the current row when
// it stays, and the count of shown rows beside it (「50 台中 3 台」).
// Ctrl+F within the scope moves to the box, Esc in the box clears it.
//
// After the box is made, the grid's model is the filter: rows of the grid
// are the filter's rows (filter()->mapToSource gives the list's rows).
class FilterBox : public QWidget
{
    Q_OBJECT

public:
    // unit: what the list counts ("台", "件"). shortcutScope: where Ctrl+F
    // leads here (that widget and its children, or with Qt::WindowShortcut
    // its whole window while the scope is shown).
    FilterBox(QTableView *grid, const QString &unit, QWidget *shortcutScope,
              QWidget *parent = nullptr,
              Qt::ShortcutContext context = Qt::WidgetWithChildrenShortcut);

    SearchFilterModel *filter() const { return m_filter; }
    QLineEdit *edit() const { return m_edit; }
    QString countText() const;
    // The list's row of a grid index (-1 for none), and the grid's index of
    // a list row in column 0: the first shown row when that row is not
    // shown, invalid when no row is.
    int listRow(const QModelIndex &gridIndex) const;
    QModelIndex gridIndex(int listRow) const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void applyQuery();
    void searchShownColumns();
    void showCount();

    QTableView *m_grid;
    SearchFilterModel *m_filter;
    QLineEdit *m_edit;
    QLabel *m_countLBL;
    QString m_unit;
};
