#pragma once

#include "base/ProgramPaths.h"
#include "base/WindowPlacement.h"

#include <QDialog>

class QLabel;
class QMenuBar;
class QStatusBar;
class QTableView;
class QVBoxLayout;

// The base of the program's windows. It keeps the window's placement in the
// window's own section of the settings file (named after its internal name,
// "Fmain", "FDBSetting", ...), moves the focus on Enter, and carries a
// status bar of two panels: the internal name and a status text.
//
// Derived windows put their controls into contentArea(). Their own show and
// close handling runs after the base part (restore on first show, save when
// the window closes).
class TForm1 : public QDialog
{
    Q_OBJECT

public:
    TForm1(const QString &internalName, const ProgramPaths &paths, QWidget *parent = nullptr);
    ~TForm1() override;

    QString internalName() const { return m_internalName; }
    const ProgramPaths &paths() const { return m_paths; }

    // The settings file. When its name cannot be formed the user is told
    // and the fixed fallback path is used.
    QString iniFilePath();

    // Whether the user may resize the window. A fixed window keeps its
    // designed size whatever the settings file says. Set before showing.
    void setResizable(bool resizable);
    bool isResizable() const { return m_resizable; }

    // Whether Esc closes the window (rejects it); on by default.
    void setClosesOnEscape(bool closes) { m_closesOnEscape = closes; }

    void setStatusText(const QString &text);
    QString statusText() const;
    QStatusBar *statusBar() const { return m_statusBar; }

    // The remembered normal bounds (left, top, width, height).
    QRect rememberedBounds() const { return m_placement.rememberedBounds(); }

    void done(int result) override;

protected:
    // The widget that holds the window's own controls.
    QWidget *contentArea() const { return m_content; }
    void setMenuBar(QMenuBar *menuBar);

    // Runs after the base part of the first show (placement restored).
    virtual void formShow() { }
    // Runs after the base part of closing (placement saved), before the
    // window hides.
    virtual void formClose() { }

    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void changeEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void restorePlacement();
    void savePlacement();
    bool handleEnter(QWidget *focused);
    static void moveToNextCell(QTableView *grid);

    QString m_internalName;
    ProgramPaths m_paths;
    WindowPlacement m_placement;
    QVBoxLayout *m_layout;
    QWidget *m_content;
    QStatusBar *m_statusBar;
    QLabel *m_namePanel;
    QLabel *m_textPanel;
    bool m_resizable = true;
    bool m_closesOnEscape = true;
    bool m_shownOnce = false;
    bool m_filterInstalled = false;
};
