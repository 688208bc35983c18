#pragma once

#include <QPointer>
#include <QTableView>

class GridCopy;

// The grid of the main window and the SQL window: a read-only table view
// whose mouse wheel moves the current row one row per notch (clearing the
// row selection unless a modifier key or mouse button is held), and the two
// clipboard copies. Selection and current row are apart: the user's clicks
// select rows, while the current row, tinted, is where the cursor stands.
//
// Copy format: tab-separated, every line (the last included) ends with one
// CR; the first line holds the column titles (the model's horizontal header
// data); values come from GridRoles::PlainText, else Qt::DisplayRole. A
// grid of many rows is copied a slice at a time (GridCopy), the window
// answering meanwhile.
class TDBGridEx : public QTableView
{
    Q_OBJECT

public:
    explicit TDBGridEx(QWidget *parent = nullptr);

    // Every column of the model in model order, whatever is shown.
    void CopyAllFields();
    // The shown columns in their current order on screen.
    void CopyShownColumns();

    // Whether a copy is still putting its text together.
    bool isCopying() const;

    // The texts the copies put on the clipboard.
    QString allFieldsText() const;
    QString shownColumnsText() const;

protected:
    void wheelEvent(QWheelEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;

private:
    QList<int> allColumns() const;
    QList<int> shownColumns() const;
    void startCopy(const QList<int> &columns);

    QPointer<GridCopy> m_copy;
};
