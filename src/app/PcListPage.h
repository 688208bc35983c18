#pragma once

#include <QWidget>

class QCheckBox;
class QPushButton;
class QTableView;
class TDMdata;

// Tab "パソコン一覧": the PC list with its auto-refresh switch.
class PcListPage : public QWidget
{
    Q_OBJECT

public:
    explicit PcListPage(QWidget *parent = nullptr);

    // "自動更新" checked; "最新の状態に更新" is enabled only while it is off.
    void setAutoRefresh(bool on);
    bool autoRefresh() const;

    // Re-runs the list query on a connected store.
    void refresh(TDMdata &dm);

signals:
    void autoRefreshChanged(bool on);

private:
    QCheckBox *m_autoRefreshCB;
    QPushButton *m_refreshBTN;
    QTableView *m_grid;
};
