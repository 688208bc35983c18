#pragma once

#include <QWidget>

class TDMdata;

// Tab "アプリケーション": the installed applications and the PCs of the
// selected one.
class ApplicationsPage : public QWidget
{
    Q_OBJECT

public:
    explicit ApplicationsPage(QWidget *parent = nullptr);

    // Rebuilds the PC grid of the selected application.
    void refreshAppliPcGrid(TDMdata &dm);
    // Fits the application grid's columns to their contents.
    void fitColumns();
    // Empties both lists: no store is connected.
    void clear();
};
