#pragma once

#include "base/ProgramPaths.h"
#include "lease/LeaseContract.h"

#include <QWidget>

class LeaseListModel;
class TDBGridEx;
class TDMdata;

// Tab "リース管理": the lease contracts with what is due on each, and the
// commands that add, edit and delete a contract and make contracts from
// the PC ledger.
class LeasePage : public QWidget
{
    Q_OBJECT

public:
    explicit LeasePage(const ProgramPaths &paths, QWidget *parent = nullptr);

    // Reopens the lease list with the figures as of today; the grid goes to
    // its first row. A store error is shown with its own text and leaves
    // the list empty.
    void refresh(TDMdata &dm);
    // Empties the list: no store is connected.
    void clear();

    TDBGridEx *grid() const { return m_grid; }
    LeaseListModel *model() const { return m_model; }

signals:
    // Refresh the lists (RefreshLists).
    void listsRefreshRequested();

private:
    void LeaseAddBTNClick();
    void LeaseEditBTNClick();
    void LeaseDelBTNClick();
    void BitBtn2Click();
    // Reads the lease list again and goes to the row of this key (the first
    // row when it is not in the list).
    void reopen(const LeaseKey &key);

    ProgramPaths m_paths;
    TDMdata *m_dm = nullptr;
    TDBGridEx *m_grid;
    LeaseListModel *m_model;
};
