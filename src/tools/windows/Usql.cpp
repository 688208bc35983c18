#include "Usql.h"

#include "base/Cp932.h"
#include "base/FileErrorText.h"
#include "kit/HelpViewer.h"
#include "kit/MessageBoxes.h"
#include "kit/StoreRequired.h"
#include "kit/TDBGridEx.h"
#include "store/UDMdata.h"
#include "tools/SqlResultModel.h"
#include "tools/SqlRunner.h"
#include "tools/SqlStatementRules.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

// The dialogs show the captions "SQL(*.SQL)" and "すべてのファイル"; the
// patterns after them are hidden, and take the extension in either case.
// Rows read at a time.
constexpr int PageRows = 500;

const QString FirstFilter = QStringLiteral("SQL(*.SQL) (*.SQL *.sql)");
const QString DefaultExtension = QStringLiteral(".SQL");

QString askFile(QWidget *parent, TFsql::FileDialogMode mode, const QString &directory,
                const QString &filter, QString *selectedFilter)
{
    const bool open = mode == TFsql::FileDialogMode::Open;
    QFileDialog dialog(parent, QString(), directory, filter);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    // A name typed without extension means the ".SQL" file, also when
    // opening.
    dialog.setDefaultSuffix(DefaultExtension.mid(1));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (selectedFilter)
        *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

bool hasExtension(const QString &path)
{
    return QFileInfo(path).fileName().contains(u'.');
}

QString fileError(const QString &path, const QString &error)
{
    return QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(path), error);
}

QPushButton *button(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFsql::TFsql(TDMdata *dm, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("Fsql"), paths, parent), m_dm(dm), m_fileDialog(askFile),
      m_dialogDir(paths.programDir()), m_memo(new QPlainTextEdit),
      m_execBTN(button(QStringLiteral("ＳＱＬ実行"), QStringLiteral("ExecBTN"), this)),
      m_loadBTN(button(QStringLiteral("ＳＱＬ読込"), QStringLiteral("LoadBTN"), this)),
      m_saveBTN(button(QStringLiteral("ＳＱＬ保存"), QStringLiteral("SaveBTN"), this)),
      m_copyBTN(button(QStringLiteral("コピー"), QStringLiteral("CopyBTN"), this)),
      m_closeBTN(button(QStringLiteral("閉じる"), QStringLiteral("CloseBTN"), this)),
      m_stopBTN(button(QStringLiteral("中　止"), QStringLiteral("StopBTN"), this)),
      m_copyAction(new QAction(QStringLiteral("ｺﾋﾟｰ"), this)), m_grid(new TDBGridEx),
      m_model(new SqlResultModel(this)), m_noteLBL(new QLabel), m_runner(new SqlRunner(this))
{
    setWindowTitle(QStringLiteral("SQL"));
    resize(640, 480);

    auto *menuBar = new QMenuBar(this);
    QMenu *fileMenu = menuBar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    QAction *openItem = fileMenu->addAction(QStringLiteral("開く(&O)"));
    QAction *saveItem = fileMenu->addAction(QStringLiteral("名前を付けて保存(&A)"));
    fileMenu->addSeparator();
    QAction *exitItem = fileMenu->addAction(QStringLiteral("終了(&X)"));
    QMenu *helpMenu = menuBar->addMenu(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    QAction *helpItem = helpMenu->addAction(QStringLiteral("ﾍﾙﾌﾟ(&H)"));
    setMenuBar(menuBar);

    // The statement with its label and buttons above the splitter, the
    // result below it.
    auto *top = new QWidget;
    auto *label = new QLabel(QStringLiteral(" SQL "), top);
    m_memo->setParent(top);
    m_memo->setObjectName(QStringLiteral("SQLMemo"));
    m_memo->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto *statementRow = new QHBoxLayout;
    statementRow->addWidget(label, 0, Qt::AlignTop);
    statementRow->addWidget(m_memo, 1);
    auto *buttonRow = new QHBoxLayout;
    buttonRow->addWidget(m_execBTN);
    buttonRow->addWidget(m_loadBTN);
    buttonRow->addWidget(m_saveBTN);
    buttonRow->addWidget(m_stopBTN);
    buttonRow->addStretch();
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    topLayout->addLayout(statementRow, 1);
    topLayout->addLayout(buttonRow);

    auto *bottom = new QWidget;
    m_grid->setParent(bottom);
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    m_grid->addAction(m_copyAction);
    m_copyAction->setObjectName(QStringLiteral("CopyItem"));
    m_noteLBL->setObjectName(QStringLiteral("NoteLBL"));
    auto *copyRow = new QHBoxLayout;
    copyRow->addWidget(m_copyBTN);
    copyRow->addWidget(m_noteLBL, 1);
    auto *bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addLayout(copyRow);
    bottomLayout->addWidget(m_grid, 1);

    auto *splitter = new QSplitter(Qt::Vertical, contentArea());
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(top);
    splitter->addWidget(bottom);
    splitter->setStretchFactor(1, 1);
    splitter->setChildrenCollapsible(false);

    auto *closeRow = new QHBoxLayout;
    closeRow->addStretch();
    closeRow->addWidget(m_closeBTN);
    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter, 1);
    layout->addLayout(closeRow);

    connect(m_execBTN, &QPushButton::clicked, this, &TFsql::ExecBTNClick);
    connect(m_loadBTN, &QPushButton::clicked, this, &TFsql::LoadClick);
    connect(openItem, &QAction::triggered, this, &TFsql::LoadClick);
    connect(m_saveBTN, &QPushButton::clicked, this, &TFsql::SaveClick);
    connect(saveItem, &QAction::triggered, this, &TFsql::SaveClick);
    connect(m_copyBTN, &QPushButton::clicked, this, &TFsql::CopyClick);
    connect(m_copyAction, &QAction::triggered, this, &TFsql::CopyClick);
    connect(m_closeBTN, &QPushButton::clicked, this, &QWidget::close);
    connect(exitItem, &QAction::triggered, this, &QWidget::close);
    connect(helpItem, &QAction::triggered, this,
            [this] { HelpViewer::showContents(this, this->paths()); });

    connect(m_stopBTN, &QPushButton::clicked, this, &TFsql::StopBTNClick);
    connect(m_runner, &SqlRunner::columnsReady, this, &TFsql::showColumns);
    connect(m_runner, &SqlRunner::rowsReady, this, &TFsql::showRows);
    connect(m_runner, &SqlRunner::failed, this, &TFsql::showFailure);
    connect(m_runner, &SqlRunner::busyChanged, this, &TFsql::showBusy);
    connect(m_model, &SqlResultModel::moreRowsWanted, this,
            [this] { m_runner->fetchMore(PageRows, bytesLeft()); });

    m_stopBTN->setEnabled(false);
    setCopyEnabled(false);
}

TFsql::~TFsql()
{
    if (m_runner->isBusy())
        QGuiApplication::restoreOverrideCursor();
}

bool TFsql::isBusy() const
{
    return m_runner->isBusy();
}

QString TFsql::dialogFilter()
{
    return FirstFilter + QStringLiteral(";;すべてのファイル (*)");
}

void TFsql::setCopyEnabled(bool enabled)
{
    m_copyBTN->setEnabled(enabled);
    m_copyAction->setEnabled(enabled);
}

void TFsql::closeQuery()
{
    m_runner->close();
    m_model->clear();
    m_noteLBL->clear();
    setCopyEnabled(false);
}

void TFsql::ExecBTNClick()
{
    if (m_runner->isBusy())
        return;
    closeQuery();
    const QString sql = m_memo->toPlainText();
    const SqlStatementRules::Decision decision = SqlStatementRules::decide(
        sql, m_dm ? m_dm->dialect().syntax() : SqlText::Syntax::Standard);
    switch (decision.action) {
    case SqlStatementRules::Action::Refuse:
        MessageBoxes::error(this, decision.message);
        return;
    case SqlStatementRules::Action::Query:
        if (StoreRequired::ensureConnected(this, m_dm))
            m_runner->startQuery(m_dm->connectedSettings(), sql, m_limits, PageRows, bytesLeft());
        return;
    case SqlStatementRules::Action::Change:
        if (MessageBoxes::okCancel(this, SqlStatementRules::confirmationText())
            && StoreRequired::ensureConnected(this, m_dm))
            m_runner->startChange(m_dm->connectedSettings(), sql, m_limits);
        return;
    }
}

void TFsql::StopBTNClick()
{
    m_runner->cancel();
}

void TFsql::showColumns(const QStringList &columns)
{
    m_model->setColumns(columns);
    setCopyEnabled(true);
}

qint64 TFsql::bytesLeft() const
{
    return qMax<qint64>(0, m_maxBytes - m_model->approximateBytes());
}

void TFsql::showRows(const QVector<QVariantList> &rows, bool atEnd, bool full)
{
    m_model->appendRows(rows);
    // A result is kept within bounds, each row weighed before it is kept:
    // the rest is not read.
    full = full || m_model->rowCount() >= m_maxRows || bytesLeft() == 0;
    if (full && !atEnd) {
        m_runner->close();
        m_noteLBL->setText(
            QStringLiteral("先頭の%1行だけを表示しています（以降の行は読み込みません）")
                .arg(QLocale().toString(m_model->rowCount())));
    }
    m_model->setMoreAvailable(m_runner->hasMoreRows());
}

void TFsql::showFailure(const QString &message)
{
    m_model->clear();
    setCopyEnabled(false);
    MessageBoxes::error(this, message);
}

void TFsql::showBusy(bool busy)
{
    m_execBTN->setEnabled(!busy);
    m_stopBTN->setEnabled(busy);
    setStatusText(busy ? QStringLiteral("実行中...") : QString());
    if (busy)
        QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void TFsql::CopyClick()
{
    if (m_model->hasResult())
        m_grid->CopyAllFields();
}

void TFsql::LoadClick()
{
    QString selected;
    QString path = m_fileDialog(this, FileDialogMode::Open, m_dialogDir, dialogFilter(), &selected);
    if (path.isEmpty())
        return;
    // A name typed without extension means the default one when only that
    // file exists.
    if (!QFileInfo::exists(path) && !hasExtension(path)
        && QFileInfo::exists(path + DefaultExtension))
        path += DefaultExtension;
    if (loadFile(path))
        m_dialogDir = QFileInfo(path).absolutePath();
}

void TFsql::SaveClick()
{
    QString selected;
    QString path = m_fileDialog(this, FileDialogMode::Save, m_dialogDir, dialogFilter(), &selected);
    if (path.isEmpty())
        return;
    if (!hasExtension(path))
        path += DefaultExtension;
    if (saveFile(path))
        m_dialogDir = QFileInfo(path).absolutePath();
}

bool TFsql::loadFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        MessageBoxes::error(this, fileError(path, FileErrorText(file)));
        return false;
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        MessageBoxes::error(this, fileError(path, FileErrorText(file)));
        return false;
    }
    // The file's lines, whatever their ends; a last line end closes the
    // last line and starts none.
    QStringList lines
        = Cp932::decode(bytes).split(QRegularExpression(QStringLiteral("\r\n|\r|\n")));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    m_memo->setPlainText(lines.join(u'\n'));
    return true;
}

bool TFsql::saveFile(const QString &path)
{
    const QString text = m_memo->toPlainText();
    QByteArray bytes;
    if (!text.isEmpty()) {
        for (const QString &line : text.split(u'\n'))
            bytes += Cp932::encode(line) + "\r\n";
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        MessageBoxes::error(this, fileError(path, FileErrorText(file)));
        return false;
    }
    return true;
}
