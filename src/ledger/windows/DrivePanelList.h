#pragma once

#include <QListView>

class QueryRowsModel;

// The drive list of the PC ledger window: one panel of 90 pixels per drive
// row, with the drive's name and type, its total, used and free space with
// their units, its remarks, and a small pie of free and used space (drawn
// when the total and the free space are above zero). The current panel has
// the selection's light yellow; a double click anywhere on a panel, its pie
// included, asks to edit it.
class DrivePanelList : public QListView
{
    Q_OBJECT

public:
    static constexpr int PanelHeight = 90;

    explicit DrivePanelList(QWidget *parent = nullptr);

    // A model with the drive list's fields (Qdrive's statement).
    void setDrives(QueryRowsModel *model);
    QueryRowsModel *drives() const { return m_drives; }
    int currentRow() const;

signals:
    void editRequested();

protected:
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    // Panel5Resize: as many whole panels as fit, at least one.
    void resizeEvent(QResizeEvent *event) override;

private:
    QueryRowsModel *m_drives = nullptr;
};
