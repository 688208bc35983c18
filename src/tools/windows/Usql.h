#pragma once

#include "kit/Unit1.h"

#include <functional>

class QAction;
class QPlainTextEdit;
class QPushButton;
class SqlResultModel;
class TDBGridEx;
class TDMdata;

// The SQL window: one statement typed (or loaded from a CP932 text file)
// and run against the store. Structure changes are refused, a SELECT shows
// its rows read-only in the grid, DELETE/UPDATE/INSERT run after a
// confirmation in a transaction of their own. The rows are held in full, so
// no statement stays open on the store.
class TFsql : public TForm1
{
    Q_OBJECT

public:
    enum class FileDialogMode { Open, Save };
    // Asks for a file: the chosen name, empty when cancelled; sets
    // selectedFilter to the filter chosen.
    using FileDialog
        = std::function<QString(QWidget *parent, FileDialogMode mode, const QString &directory,
                                const QString &filter, QString *selectedFilter)>;

    // dm may be null (no store yet); running a statement then says so.
    TFsql(TDMdata *dm, const ProgramPaths &paths, QWidget *parent = nullptr);
    ~TFsql() override;

    // Tests answer the file dialogs themselves.
    void setFileDialog(FileDialog dialog) { m_fileDialog = std::move(dialog); }
    // The folder both file dialogs open in.
    QString dialogDirectory() const { return m_dialogDir; }

    static QString dialogFilter();

    // "ＳＱＬ実行"
    void ExecBTNClick();
    // "ＳＱＬ読込" / "開く(&O)"
    void LoadClick();
    // "ＳＱＬ保存" / "名前を付けて保存(&A)"
    void SaveClick();
    // "コピー" / "ｺﾋﾟｰ"
    void CopyClick();

private:
    void closeQuery();
    void runQuery(const QString &sql);
    void runChange(const QString &sql);
    void setCopyEnabled(bool enabled);
    bool loadFile(const QString &path);
    bool saveFile(const QString &path);

    TDMdata *m_dm;
    FileDialog m_fileDialog;
    QString m_dialogDir;

    QPlainTextEdit *m_memo;
    QPushButton *m_execBTN;
    QPushButton *m_loadBTN;
    QPushButton *m_saveBTN;
    QPushButton *m_copyBTN;
    QPushButton *m_closeBTN;
    QAction *m_copyAction;
    TDBGridEx *m_grid;
    SqlResultModel *m_model;
};
