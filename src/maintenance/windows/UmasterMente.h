#pragma once

#include "kit/Unit1.h"
#include "store/Schema.h"

#include <functional>
#include <memory>

class PendingTable;
class PendingTableModel;
class QPushButton;
class TDBGridEx;
class TDMdata;

// The table maintenance window ("マスタメンテ"): one table of the store in
// an editable grid, rows added and deleted, the whole table exported as a
// dump and a dump imported in place of its rows.
//
// Everything done in the window is one unit that OK writes and Cancel (or
// the close box) drops. The work is kept pending in the window and written
// at OK in one short store transaction, so no lock is held on the store
// while the window is open. A failed import leaves the rows emptied (or
// partly read), as the failure box says; Cancel brings the old rows back.
class TFmasterMente : public TForm1
{
    Q_OBJECT

public:
    enum class FileDialogMode { Open, Save };
    // Asks for a file: the chosen name, empty when cancelled; sets
    // selectedFilter to the filter chosen.
    using FileDialog = std::function<QString(QWidget *parent, FileDialogMode mode,
                                             const QString &filter, QString *selectedFilter)>;

    TFmasterMente(TDMdata &dm, TableId table, const QString &internalName,
                  const ProgramPaths &paths, QWidget *parent = nullptr);
    ~TFmasterMente() override;

    // Tests answer the file dialogs themselves.
    void setFileDialog(FileDialog dialog) { m_fileDialog = std::move(dialog); }

    static QString exportFilter();
    static QString importFilter();
    // ".csv" added to a name without extension when the first filter was
    // chosen (or the dialog reported none).
    static QString withDefaultExtension(const QString &name, const QString &selectedFilter);
    static QString importQuestion();
    static QString importFailedText();

    // "追加"
    void AddBTNClick();
    // "削除"
    void DelBTNClick();
    // "インポート"
    void InportBTNClick();
    // "エクスポート"
    void ExportBTNClick();
    // "OK"
    void BitBtn2Click();
    // "キャンセル"
    void BitBtn1Click();

    PendingTableModel *model() const { return m_model; }
    TDBGridEx *grid() const { return m_grid; }

protected:
    void formShow() override;
    QPushButton *printBTN() const { return m_printBTN; }

private:
    TDMdata &m_dm;
    QString m_dialogDir; // where the file dialogs open
    std::unique_ptr<PendingTable> m_table;
    PendingTableModel *m_model;
    FileDialog m_fileDialog;

    QPushButton *m_addBTN;
    QPushButton *m_delBTN;
    QPushButton *m_printBTN;
    QPushButton *m_inportBTN;
    QPushButton *m_exportBTN;
    TDBGridEx *m_grid;
    QPushButton *m_okBTN;
    QPushButton *m_cancelBTN;
};
