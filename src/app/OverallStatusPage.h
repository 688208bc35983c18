#pragma once

#include "views/Statistics.h"

#include <QWidget>

class BackgroundReader;
class QButtonGroup;
class QLabel;
class QPushButton;
class QRadioButton;
class QSplitter;
class StatisticsModel;
class StatusChart;
class TDBGridEx;
class TDMdata;

// Tab "全体状況": the total of the PCs in service, the counts of one
// grouping (or the clock of every PC) in a grid and the chart of the same
// figures.
class OverallStatusPage : public QWidget
{
    Q_OBJECT

public:
    explicit OverallStatusPage(QWidget *parent = nullptr);

    // The grouping of the checked radio button ("OS" at start).
    Statistics::Grouping grouping() const;
    void setGrouping(Statistics::Grouping grouping);

    // RefreshStatistics on a connected store: the grid, the chart and the
    // total, read away from the window's thread and shown when they are in.
    // A failing statement shows the store's text and empties the grid.
    void refresh(TDMdata &dm);
    // A refresh is still being read; finishReading() waits for it and shows
    // its figures now.
    bool isReading() const;
    void finishReading();
    // Empties the grid, the chart and the total: no store is connected.
    void clear();

    QLabel *totalLabel() const { return JyokyoLBL; }
    TDBGridEx *grid() const { return JyokyoGrid; }
    StatisticsModel *model() const { return m_model; }
    StatusChart *chart() const { return Chart1; }
    QPushButton *refreshButton() const { return MakatiButton1; }
    QRadioButton *radioButton(Statistics::Grouping grouping) const;

signals:
    // A radio button was chosen: the statistics are to be refreshed.
    void groupingChanged();
    // "最新の状態に更新": the statistics and the lists are to be refreshed,
    // keeping the PC list's current row.
    void refreshRequested();

private:
    void showFigures(Statistics::Grouping chosen, const QVector<Statistics::Row> &rows);
    void fillChart(Statistics::Grouping grouping, const QVector<Statistics::Row> &rows);

    QLabel *JyokyoLBL;
    QButtonGroup *m_groupings;
    QPushButton *MakatiButton1;
    QSplitter *m_splitter;
    TDBGridEx *JyokyoGrid;
    StatisticsModel *m_model;
    StatusChart *Chart1;
    BackgroundReader *m_reader;
};
