#pragma once

#include <QWidget>
#include <functional>

class HistoryModel;
class QComboBox;
class QLabel;
class TDBGridEx;
class TDMdata;
struct HistoryLine;

// The PC ledger's tab "履歴": the recorded changes of the PC, newest
// first, filtered by table. The lines are read when the tab is first shown
// (a new PC has none).
class PcRirekiTab : public QWidget
{
    Q_OBJECT

public:
    // key gives the PC's key as the window holds it.
    PcRirekiTab(TDMdata &dm, std::function<QString()> key, QWidget *parent = nullptr);

    // Reads the PC's lines again.
    void reload();
    // The table chosen: empty for all.
    void setTable(const QString &table);

    TDBGridEx *grid() const { return m_grid; }
    HistoryModel *model() const { return m_model; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void applyFilter();

    TDMdata &m_dm;
    std::function<QString()> m_key;
    QComboBox *m_tableCB;
    QLabel *m_countLBL;
    TDBGridEx *m_grid;
    HistoryModel *m_model;
    QVector<HistoryLine> m_lines;
    bool m_loaded = false;
};
