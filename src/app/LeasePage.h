#pragma once

#include <QWidget>

class TDMdata;

// Tab "リース管理": the lease contracts.
class LeasePage : public QWidget
{
    Q_OBJECT

public:
    explicit LeasePage(QWidget *parent = nullptr);

    // Reopens the lease list.
    void refresh(TDMdata &dm);
    // Empties the list: no store is connected.
    void clear();
};
