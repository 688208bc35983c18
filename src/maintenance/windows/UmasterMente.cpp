#include "UmasterMente.h"

#include "kit/KeepTextDelegate.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "kit/WaitCursor.h"
#include "maintenance/PendingTable.h"
#include "maintenance/PendingTableModel.h"
#include "maintenance/TableDump.h"
#include "store/StoreError.h"
#include "store/UDMdata.h"
#include "views/PcDeletion.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {

// The dialogs show the captions before the last parentheses; the patterns
// in them take the extensions in either case.
const QString ExportFirstFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.CSV) (*.CSV *.csv)");
const QString ImportFirstFilter = QStringLiteral("ﾃｷｽﾄﾌｧｲﾙ(*.csv,*.txt) (*.csv *.CSV *.txt *.TXT)");
const QString AllFilesFilter = QStringLiteral("すべてのﾌｧｲﾙ(*.*) (*)");

// The file dialog; dir is where it opens, and becomes the chosen file's.
QString askFile(QWidget *parent, bool open, const QString &filter, QString *selectedFilter,
                QString &dir)
{
    QFileDialog dialog(parent, QString(), dir, filter);
    dialog.setOption(QFileDialog::HideNameFilterDetails);
    // An existing file is replaced without a question.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setAcceptMode(open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    dialog.setFileMode(open ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    if (selectedFilter) {
        // The dialog names the filter as it shows it, without the patterns
        // it hides: give back the filter as it was passed.
        const QString shown = dialog.selectedNameFilter().trimmed();
        *selectedFilter = shown;
        for (const QString &f : filter.split(QStringLiteral(";;"))) {
            if (!shown.isEmpty() && f.startsWith(shown))
                *selectedFilter = f;
        }
    }
    const QString chosen = dialog.selectedFiles().constFirst();
    dir = QFileInfo(chosen).absolutePath();
    return chosen;
}

QPushButton *button(const QString &caption, const QString &name, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

TFmasterMente::TFmasterMente(TDMdata &dm, TableId table, const QString &internalName,
                             const ProgramPaths &paths, QWidget *parent)
    : TForm1(internalName, paths, parent), m_dm(dm), m_dialogDir(paths.programDir()),
      m_table(std::make_unique<PendingTable>(dm, table)),
      m_model(new PendingTableModel(*m_table, this)),
      m_addBTN(button(QStringLiteral("追加"), QStringLiteral("AddBTN"), contentArea())),
      m_delBTN(button(QStringLiteral("削除"), QStringLiteral("DelBTN"), contentArea())),
      m_printBTN(button(QStringLiteral("印刷"), QStringLiteral("PrintBTN"), contentArea())),
      m_inportBTN(button(QStringLiteral("インポート"), QStringLiteral("InportBTN"), contentArea())),
      m_exportBTN(
          button(QStringLiteral("エクスポート"), QStringLiteral("ExportBTN"), contentArea())),
      m_grid(new TDBGridEx(contentArea())),
      m_okBTN(button(QStringLiteral("OK"), QStringLiteral("BitBtn2"), contentArea())),
      m_cancelBTN(button(QStringLiteral("キャンセル"), QStringLiteral("BitBtn1"), contentArea()))
{
    setWindowTitle(QStringLiteral("マスタメンテ"));
    resize(760, 480);

    // An editable grid: one cell at a time, edited in place.
    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_model);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectItems);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->setItemDelegate(new KeepTextDelegate(m_grid));

    m_fileDialog = [this](QWidget *owner, FileDialogMode mode, const QString &filter,
                          QString *selectedFilter) {
        return askFile(owner, mode == FileDialogMode::Open, filter, selectedFilter, m_dialogDir);
    };

    auto *buttons = new QHBoxLayout;
    for (QPushButton *b : {m_addBTN, m_delBTN, m_printBTN, m_inportBTN, m_exportBTN})
        buttons->addWidget(b);
    buttons->addStretch();
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_okBTN);
    bottom->addWidget(m_cancelBTN);
    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(m_grid, 1);
    layout->addLayout(bottom);

    connect(m_addBTN, &QPushButton::clicked, this, &TFmasterMente::AddBTNClick);
    connect(m_delBTN, &QPushButton::clicked, this, &TFmasterMente::DelBTNClick);
    connect(m_inportBTN, &QPushButton::clicked, this, &TFmasterMente::InportBTNClick);
    connect(m_exportBTN, &QPushButton::clicked, this, &TFmasterMente::ExportBTNClick);
    connect(m_okBTN, &QPushButton::clicked, this, &TFmasterMente::BitBtn2Click);
    connect(m_cancelBTN, &QPushButton::clicked, this, &TFmasterMente::BitBtn1Click);
    connect(m_model, &PendingTableModel::valueRefused, this,
            [this](const QString &reason) { MessageBoxes::error(this, reason); });
}

TFmasterMente::~TFmasterMente()
{
    // The grid and its model go before the rows they show: a window that is
    // still visible asks them for their titles while it hides.
    delete m_grid;
    delete m_model;
}

QString TFmasterMente::exportFilter()
{
    return ExportFirstFilter + QStringLiteral(";;") + AllFilesFilter;
}

QString TFmasterMente::importFilter()
{
    return ImportFirstFilter + QStringLiteral(";;") + AllFilesFilter;
}

QString TFmasterMente::withDefaultExtension(const QString &name, const QString &selectedFilter)
{
    const bool firstFilter = selectedFilter.isEmpty() || selectedFilter == ExportFirstFilter;
    if (firstFilter && !QFileInfo(name).fileName().contains(u'.'))
        return name + QStringLiteral(".csv");
    return name;
}

QString TFmasterMente::importQuestion()
{
    return QStringLiteral("現在のデータが上書きされます\n\r実行してもよろしいですか？");
}

QString TFmasterMente::importFailedText()
{
    return QStringLiteral("インポートに失敗しましたが元のデータは消されています\n\r"
                          "復活させるにはキャンセルを押してください");
}

void TFmasterMente::formShow()
{
    try {
        // A transaction some other work left open would hold the store.
        if (m_dm.inTransaction())
            m_dm.rollback();
        WaitCursor wait;
        m_model->load();
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    if (m_model->rowCount() > 0)
        m_grid->setCurrentIndex(m_model->index(0, 0));
}

void TFmasterMente::AddBTNClick()
{
    const QModelIndex current = m_grid->currentIndex();
    const int row = current.isValid() ? current.row() : 0;
    m_model->insertRow(row);
    m_grid->setCurrentIndex(m_model->index(row, 0));
    m_grid->setFocus();
}

void TFmasterMente::DelBTNClick()
{
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    const QString key = m_table->keyText(current.row());
    QString question = (key.isEmpty() ? QStringLiteral("この行") : key)
        + QStringLiteral("を削除します。よろしいですか？");
    // A PC row that the store holds goes with its detail and LeasePC rows:
    // the question says how many.
    const QString storedKey = m_table->storedPcKey(current.row());
    if (!storedKey.isEmpty()) {
        try {
            question
                = PcDeletion::confirmationText(storedKey, PcDeletion::relatedRows(m_dm, storedKey));
        } catch (const StoreError &e) {
            MessageBoxes::error(this, e.message());
            return;
        }
    }
    if (!MessageBoxes::yesNo(this, question))
        return;
    m_model->removeRow(current.row());
    m_grid->setFocus();
}

void TFmasterMente::InportBTNClick()
{
    if (!MessageBoxes::warningYesNo(this, importQuestion()))
        return;
    QString selectedFilter;
    const QString name = m_fileDialog(this, FileDialogMode::Open, importFilter(), &selectedFilter);
    if (name.isEmpty())
        return;
    DumpReader::Error error;
    PendingTable::Import imported;
    {
        WaitCursor wait;
        imported = m_model->importDump(name, error, [this](qint64 fileRows, qint64 tableRows) {
            WaitCursor::Pause pause;
            return MessageBoxes::warningYesNo(this, TableDump::shrinkQuestion(fileRows, tableRows));
        });
    }
    if (imported == PendingTable::Import::Failed)
        MessageBoxes::error(this, importFailedText() + QStringLiteral("\n\n") + error.text());
}

void TFmasterMente::ExportBTNClick()
{
    QString selectedFilter;
    QString name = m_fileDialog(this, FileDialogMode::Save, exportFilter(), &selectedFilter);
    if (name.isEmpty())
        return;
    name = withDefaultExtension(name, selectedFilter);
    CsvExport::Result result;
    {
        WaitCursor wait;
        result = m_table->exportDump(name);
    }
    if (!result.ok)
        MessageBoxes::error(this, result.error);
}

void TFmasterMente::BitBtn2Click()
{
    int column = 0;
    const int row = m_table->firstIncompleteRow(&column);
    if (row >= 0) {
        MessageBoxes::error(
            this, QStringLiteral("%1 が入力されていません").arg(m_table->columns()[column].name));
        m_grid->setCurrentIndex(m_model->index(row, column));
        m_grid->setFocus();
        return;
    }
    try {
        WaitCursor wait;
        m_table->apply();
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        return;
    }
    accept();
}

void TFmasterMente::BitBtn1Click()
{
    // The pending work goes with the window.
    reject();
}
