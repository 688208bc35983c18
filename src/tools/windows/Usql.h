#pragma once

#include "kit/Unit1.h"
#include "store/UserStatement.h"

#include <functional>

class QAction;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class SqlResultModel;
class SqlRunner;
class TDBGridEx;
class TDMdata;

// The SQL window: one statement typed (or loaded from a CP932 text file)
// and run against the store. Structure changes are refused, a SELECT shows
// its rows read-only in the grid, DELETE/UPDATE/INSERT run after a
// confirmation in a transaction of their own. Statements run on a
// connection of their own away from the window, which stays usable: "中　止"
// stops a running statement, a time limit stops a long one, and the rows of
// a query are read in pages as the grid scrolls, up to a bound.
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
    // "中　止"
    void StopBTNClick();

    // True while a statement runs or a page of rows is being read.
    bool isBusy() const;
    // Tests make the bounds small.
    void setLimits(const UserStatement::Limits &limits) { m_limits = limits; }
    void setMaxRows(int rows) { m_maxRows = rows; }
    void setMaxBytes(qint64 bytes) { m_maxBytes = bytes; }

private:
    void closeQuery();
    void showColumns(const QStringList &columns);
    void showRows(const QVector<QVariantList> &rows, bool atEnd, bool full);
    qint64 bytesLeft() const;
    void showFailure(const QString &message);
    void showBusy(bool busy);
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
    QPushButton *m_stopBTN;
    QAction *m_copyAction;
    TDBGridEx *m_grid;
    SqlResultModel *m_model;
    QLabel *m_noteLBL;
    SqlRunner *m_runner;
    UserStatement::Limits m_limits;
    int m_maxRows = 100000;
    qint64 m_maxBytes = 256 * 1024 * 1024;
};
