#pragma once

#include <QMenuBar>

class QAction;

// The main window's menu bar. The window connects the commands it serves.
class MainMenu : public QMenuBar
{
    Q_OBJECT

public:
    explicit MainMenu(QWidget *parent = nullptr);

    // ﾌｧｲﾙ(&F)
    QAction *dbSetting;
    QAction *importInvaro;
    QAction *exportPc;
    QAction *exportDrive;
    QAction *exportPrinter;
    QAction *exportAppli;
    QAction *exit;
    // ﾃﾞｰﾀ(&D)
    QAction *pcTable;
    QAction *appliUpd;
    QAction *history;
    QAction *duplicates;
    QAction *sqlWindow;
    // ﾂｰﾙ(&T)
    QAction *option;
    QAction *search;
    // ﾍﾙﾌﾟ(&H)
    QAction *help;
    QAction *readMe;
    QAction *version;
};
