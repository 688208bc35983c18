#pragma once

#include <QWidget>
#include <memory>

class AppSettings;
class FilterBox;
class PcGridColumns;
class PcListModel;
class ProgramPaths;
class QCheckBox;
class QLabel;
class QPushButton;
class TDBGridEx;
class TDMdata;

// Tab "パソコン一覧": the PC list with its buttons, the auto-refresh switch,
// title-click sorting, copying, deletion and the display settings. The sort
// keys, the hide-removed flag and the grid's columns and font live in the
// main window's settings, which the tab reads and changes.
class PcListPage : public QWidget
{
    Q_OBJECT

public:
    explicit PcListPage(QWidget *parent = nullptr);
    ~PcListPage() override;

    // The main window's settings and the program's paths (for the dialogs).
    // Both must outlive the tab.
    void attach(AppSettings &settings, const ProgramPaths &paths);

    // "自動更新" checked; "最新の状態に更新" is enabled only while it is off.
    void setAutoRefresh(bool on);
    bool autoRefresh() const;

    // At start: the grid shows the columns and the font size of the
    // settings. At close: the grid's columns and font size go back into them.
    void applyGridSettings();
    void storeGridSettings();

    // Rebuilds the list statement from the settings and reads the list
    // again away from the window's thread; the grid goes to its first row
    // as the rows arrive. A store error is shown with its own text and
    // leaves the grid empty.
    void refresh(TDMdata &dm);
    // Waits for the rows still coming and takes them in now.
    void finishReading() { completeList(); }
    // Empties the list: no store is connected.
    void clear();

    // The key of the current row (empty when the list is empty), and going
    // to a key's row (the first row when the key is not in the list; while
    // the rows still come, as soon as it arrives or the read ends). Moving
    // the current row clears the selection: only the user's clicks select.
    QString currentKey() const;
    void goToKey(const QString &key);
    // The keys an action works on: the selected rows in list order, or the
    // current row when none is selected.
    QStringList actionKeys() const;

    // The grid's font size in points; 0 (or less) sets the designed size,
    // sizes beyond any usable one are capped.
    int fontSize() const;
    void setFontSize(int points);

    TDBGridEx *grid() const { return m_grid; }
    PcListModel *model() const { return m_model; }
    FilterBox *filterBox() const { return m_filterBox; }
    PcGridColumns &columns() const { return *m_columns; }

public slots:
    // "最新の状態に更新": remember the current row, refresh, go back to it.
    void refreshKeepingRow();

signals:
    void autoRefreshChanged(bool on);
    // Refresh the overall status and the lists (RefreshStatistics, then
    // RefreshLists).
    void refreshRequested();
    // Refresh the lists only (RefreshLists).
    void listsRefreshRequested();

private:
    // Actions of the tab.
    void PCaddBTNClick();
    void PCupdBTNClick();
    void PCdelBTNClick();
    void HyojiBTNClick();
    // "管理シート印刷" and "管理ｼｰﾄ印刷": the sheets of actionKeys().
    void KanriSheetBTNClick();
    void titleClick(int section);
    void copyAllFields();
    void copyShownColumns();
    // A copy asked while rows still come is made once the last one is in,
    // the window answering meanwhile.
    void copyWhenComplete(void (TDBGridEx::*copy)());
    void runPendingCopy();

    void buildContextMenu();
    // Rows from this one on have arrived (or the read has ended): the grid
    // goes to the awaited key's row once it is there.
    void rowsArrived(int from);
    void listFailed(const QString &message, bool lost);
    // Waits for the rows still coming.
    void completeList();
    // Rows of the grid are the filter box's; goToRow() takes a grid row.
    void goToRow(int row);
    void showCurrentKey();
    QPushButton *button(const QString &name, const QString &caption);

    AppSettings *m_settings = nullptr;
    const ProgramPaths *m_paths = nullptr;
    TDMdata *m_dm = nullptr;
    int m_designedFontSize;
    // The row to go to while the rows come: that of this key (empty: the
    // first row).
    QString m_pendingKey;
    bool m_waitingForKey = false;
    void (TDBGridEx::*m_pendingCopy)() = nullptr;
    // The first rows of the running read are in (until then the grid shows
    // those of the read before).
    bool m_newRowsIn = true;

    QLabel *m_keyLBL;
    QCheckBox *m_autoRefreshCB;
    QPushButton *m_refreshBTN;
    TDBGridEx *m_grid;
    PcListModel *m_model;
    FilterBox *m_filterBox;
    std::unique_ptr<PcGridColumns> m_columns;
};
