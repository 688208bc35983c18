#pragma once

#include "store/QueryRows.h"

#include <QWidget>
#include <memory>
#include <optional>

class AppSettings;
class BackgroundReader;
class FilterBox;
class GridColumns;
class ProgramPaths;
class QLabel;
class QueryRowsModel;
class TDBGridEx;
class TDMdata;

// Tab "アプリケーション": the applications installed on PCs in service with
// their number of PCs, and the PCs of the selected application. The PC
// grid's sort keys, columns and font size live in the main window's
// settings, which the tab reads and changes.
class ApplicationsPage : public QWidget
{
    Q_OBJECT

public:
    explicit ApplicationsPage(QWidget *parent = nullptr);
    ~ApplicationsPage() override;

    // The main window's settings and the program's paths; both must outlive
    // the tab.
    void attach(AppSettings &settings, const ProgramPaths &paths);
    // At start: the PC grid's columns and font of the settings; at close:
    // back into them.
    void applyGridSettings();
    void storeGridSettings();

    // RefreshAppliPcGrid: the PC grid's statement from the sort settings,
    // then the grid read again.
    void refreshAppliPcGrid(TDMdata &dm);
    // RefreshLists' part: both lists read again, the current application
    // kept where it can be.
    void refreshLists(TDMdata &dm);
    // The lists are read away from the window's thread and shown when they
    // are in; finishReading() waits for them and shows them now.
    bool isReading() const;
    void finishReading();
    // Panel11Resize: "台数" 50 pixels, the name the rest of the panel.
    void fitColumns();
    // Empties both lists: no store is connected.
    void clear();

    TDBGridEx *appliGrid() const { return m_appliGrid; }
    TDBGridEx *appliPcGrid() const { return m_appliPcGrid; }
    QueryRowsModel *appliModel() const { return m_appliModel; }
    QueryRowsModel *appliPcModel() const { return m_appliPcModel; }
    FilterBox *appliFilter() const { return m_appliFilter; }
    FilterBox *appliPcFilter() const { return m_appliPcFilter; }
    // The application of the current row of the list; empty for none.
    QString currentAppli() const;
    // The PC of the current row of the PC grid; empty for none.
    QString currentPcKey() const;
    int fontSize() const;
    void setFontSize(int points);

signals:
    // Refresh the overall status and the lists (after the PC ledger).
    void refreshRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void BitBtn1Click();
    void CuteButton5Click();
    void AppliAppliInfoBTNClick();
    void AppliPCinfoBTNClick();
    void openAppliPcs();
    // Reads the PCs of the current application, and first the list of
    // applications when withList (or when a read of it is still running).
    void read(bool withList);
    void showRead(const std::optional<QueryRows> &list, const QString &appli,
                  const std::optional<QueryRows> &pcs);
    void goToPc(const QString &key);
    void showError(const QString &text);

    AppSettings *m_settings = nullptr;
    const ProgramPaths *m_paths = nullptr;
    TDMdata *m_dm = nullptr;
    QString m_statement;
    int m_designedFontSize;

    QWidget *m_leftPanel;
    QLabel *m_appliNameLBL;
    TDBGridEx *m_appliGrid;
    TDBGridEx *m_appliPcGrid;
    QueryRowsModel *m_appliModel;
    QueryRowsModel *m_appliPcModel;
    FilterBox *m_appliFilter;
    FilterBox *m_appliPcFilter;
    std::unique_ptr<GridColumns> m_columns;
    BackgroundReader *m_reader;
    bool m_listPending = false;
    // The PC to go to when the PCs being read arrive.
    QString m_pendingPcKey;
};
