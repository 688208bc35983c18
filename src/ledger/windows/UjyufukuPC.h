#pragma once

#include "kit/Unit1.h"
#include "ledger/PcMerge.h"

#include <optional>

class DuplicatePairModel;
class QLabel;
class QPushButton;
class QTableWidget;
class QTableWidgetItem;
class TDBGridEx;
class TDMdata;

// "重複したPC": the pairs of PCs that are probably one PC entered twice
// (PcDuplicates), the two PCs' ledger values side by side with a choice
// per differing value, and the merge of the older PC into the newer one
// (PcMerge) or the mark 「別のPC」 (DistinctPcs).
class TFjyufukuPC : public TForm1
{
    Q_OBJECT

public:
    TFjyufukuPC(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);

    // Whether a merge changed the PCs (the main window refreshes its views).
    bool changedPcs() const { return m_changedPcs; }

    // Reads the pairs anew and shows the first.
    void refresh();
    // Shows the pair of the list's row.
    void showPair(int row);
    // "統　合": merges the pair shown, as chosen, after asking.
    void MergeBTNClick();
    // "別のPC": marks the pair shown as two PCs, after asking.
    void BetuBTNClick();

    TDBGridEx *pairGrid() const { return m_pairGrid; }
    QTableWidget *hikakuGrid() const { return m_hikakuGrid; }
    // The row of a ledger column in the comparison grid.
    int hikakuRow(int ledgerColumn) const;
    const std::optional<PcMerge::Plan> &plan() const { return m_plan; }

protected:
    void formShow() override;

private:
    void fillComparison();
    void showChoice(int ledgerColumn);
    void choiceClicked(QTableWidgetItem *item);
    void describeRows();

    TDMdata &m_dm;
    TDBGridEx *m_pairGrid;
    DuplicatePairModel *m_pairs;
    QTableWidget *m_hikakuGrid;
    QLabel *m_countLBL;
    QLabel *m_meisaiLBL;
    QPushButton *m_mergeBTN;
    QPushButton *m_betuBTN;
    std::optional<PcMerge::Plan> m_plan;
    bool m_filling = false;
    bool m_changedPcs = false;
};
