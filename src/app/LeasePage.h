#pragma once

#include "base/ProgramPaths.h"
#include "lease/LeaseContract.h"

#include <QWidget>

class LeaseListModel;
class TDBGridEx;
class TDMdata;

// Tab "リース管理": the lease contracts with what is due on each, the
// commands that add, edit and delete a contract and make contracts from
// the PC ledger, and "最新の状態に更新" for all the views.
class LeasePage : public QWidget
{
    Q_OBJECT

public:
    explicit LeasePage(const ProgramPaths &paths, QWidget *parent = nullptr);

    // Reopens the lease list with the figures as of today; the grid stays on
    // its contract (the first row when it is gone). A store error is shown
    // with its own text and leaves the list empty.
    void refresh(TDMdata &dm);
    // Empties the list: no store is connected.
    void clear();

    TDBGridEx *grid() const { return m_grid; }
    LeaseListModel *model() const { return m_model; }

signals:
    // Refresh the lists (RefreshLists).
    void listsRefreshRequested();
    // "最新の状態に更新": refresh the overall status and the lists, each
    // keeping its current row.
    void refreshRequested();

private:
    void LeaseAddBTNClick();
    void LeaseEditBTNClick();
    void LeaseDelBTNClick();
    void BitBtn2Click();
    // Reads the lease list again and goes to the row of this key (the first
    // row when it is not in the list).
    void reopen(const LeaseKey &key);
    LeaseKey currentKey() const;

    ProgramPaths m_paths;
    TDMdata *m_dm = nullptr;
    TDBGridEx *m_grid;
    LeaseListModel *m_model;
};
