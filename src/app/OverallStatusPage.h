#pragma once

#include <QWidget>

class TDMdata;

// Tab "全体状況": the overall status of the PCs in service with its chart.
class OverallStatusPage : public QWidget
{
    Q_OBJECT

public:
    explicit OverallStatusPage(QWidget *parent = nullptr);

    // Re-reads the statistics from a connected store.
    void refresh(TDMdata &dm);
};
