#include "UpcDaityo.h"

#include "DrivePanelList.h"
#include "FieldBinder.h"
#include "ModeLabel.h"
#include "Uappli.h"
#include "Ucalendar.h"
#include "Udrive.h"
#include "Uprinter.h"
#include "Ushare.h"
#include "base/DateEntry.h"
#include "base/TextHelpers.h"
#include "kit/MessageBoxes.h"
#include "ledger/ChoiceLists.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/StoreReconnector.h"
#include "store/UDMdata.h"
#include "views/QueryRowsModel.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <memory>

namespace {

constexpr int DriveTab = 1;

// A typed install or removal date: shorthand widened, empty for none.
QVariant typedDate(const QString &text)
{
    if (text.trimmed().isEmpty())
        return QVariant();
    return QDate::fromString(NormalizeDateText(text), QStringLiteral("yyyy/MM/dd"));
}

} // namespace

TFpcDaityo::TFpcDaityo(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FpcDaityo"), paths, parent), m_dm(dm), m_ledger(dm),
      m_binder(new FieldBinder(m_ledger.pc(), this))
{
    setWindowTitle(QStringLiteral("PC台帳"));
    buildLayout();
    resize(900, 660);
    // TpcDonyuYMDSetText, TpcTekkyoYMDSetText
    m_binder->setTextHook(QStringLiteral("DonyuYMD"), typedDate);
    m_binder->setTextHook(QStringLiteral("TekkyoYMD"), typedDate);
    connect(m_binder, &FieldBinder::committed, this, &TFpcDaityo::fieldCommitted);
    connect(&m_ledger.pc(), &RowBuffer::stateChanged, this, &TFpcDaityo::DSpcStateChange);
    connect(&m_ledger, &PcLedger::claimLost, this, &TFpcDaityo::claimLost);
    DSpcStateChange(m_ledger.pc().state());
}

TFpcDaityo::~TFpcDaityo() = default;

bool TFpcDaityo::addPc(QWidget *parent, TDMdata &dm, const ProgramPaths &paths)
{
    TFpcDaityo window(dm, paths, parent);
    try {
        window.beginNew();
    } catch (const StoreError &e) {
        MessageBoxes::error(parent, e.message());
        return false;
    }
    return window.exec() == QDialog::Accepted;
}

bool TFpcDaityo::editPc(QWidget *parent, TDMdata &dm, const ProgramPaths &paths, const QString &key)
{
    TFpcDaityo window(dm, paths, parent);
    try {
        if (!window.beginEdit(key)) {
            // Never another PC's row: the PC is gone.
            MessageBoxes::error(parent, PcLedger::deletedText(key));
            return false;
        }
    } catch (const StoreError &e) {
        MessageBoxes::error(parent, e.message());
        return false;
    }
    return window.exec() == QDialog::Accepted;
}

void TFpcDaityo::formShow()
{
    try {
        if (m_dm.inTransaction())
            m_dm.rollback();
        for (List list :
             {List::Drive, List::Printer, List::Appli, List::Share, List::Adapter, List::Memory})
            refreshList(list);
        fillChoiceLists();
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
    }
    m_pages->setCurrentIndex(DriveTab);
    m_okBTN->setEnabled(true);
    if (m_ledger.pc().state() == RowBuffer::State::Insert)
        m_keyEDT->setFocus();
    else
        m_kanriNoEDT->setFocus();
}

void TFpcDaityo::formClose()
{
    // Closed without OK or Cancel: as Cancel.
    if (m_ledger.pc().isEditing())
        m_ledger.discard();
}

void TFpcDaityo::fillChoiceLists()
{
    for (const ChoiceLists::List &list : ChoiceLists::all()) {
        QComboBox *combo = m_choiceCombos.value(list.field);
        const QString text = combo->currentText();
        const QStringList entries
            = ChoiceLists::entries(m_dm, list, m_ledger.pc().text(QStringLiteral("Maker")));
        combo->clear();
        combo->addItems(entries);
        combo->setEditText(text);
    }
}

void TFpcDaityo::DSpcStateChange(RowBuffer::State state)
{
    ModeLabel::show(m_modeLBL, state);
    if (state != RowBuffer::State::Insert && state != RowBuffer::State::Edit)
        return;
    const bool insert = state == RowBuffer::State::Insert;
    m_keyEDT->setReadOnly(!insert);
    m_keyEDT->setFocusPolicy(insert ? Qt::StrongFocus : Qt::NoFocus);
    QPalette palette = m_keyEDT->palette();
    palette.setColor(QPalette::Base,
                     insert ? QWidget::palette().color(QPalette::Base)
                            : QWidget::palette().color(QPalette::Button));
    m_keyEDT->setPalette(palette);
    // New PCs get drives, printers and applications once they are saved;
    // shares can be added at once.
    for (List list : {List::Drive, List::Printer, List::Appli})
        m_addBTN[size_t(list)]->setEnabled(!insert);
}

void TFpcDaityo::fieldCommitted(const QString &field)
{
    // TpcMakerValidate: the models of the new maker; the model stays.
    if (field.compare(QLatin1String("Maker"), Qt::CaseInsensitive) != 0)
        return;
    QComboBox *kisyu = m_choiceCombos.value(QStringLiteral("Kisyu"));
    const QString text = kisyu->currentText();
    try {
        const QStringList entries = ChoiceLists::entries(
            m_dm, ChoiceLists::ofField(QStringLiteral("Kisyu")), m_ledger.pc().text(field));
        kisyu->clear();
        kisyu->addItems(entries);
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
    }
    kisyu->setEditText(text);
}

void TFpcDaityo::pickDate(const QString &field)
{
    if (!m_binder->commitAll())
        return;
    TFcalendar picker(paths(), this);
    picker.setDate(m_ledger.pc().value(field).toDate());
    if (picker.exec() != QDialog::Accepted || !m_ledger.pc().isEditing())
        return;
    m_ledger.pc().setValue(field, picker.date());
}

void TFpcDaityo::PageControl1Change(int index)
{
    if (QWidget *first = m_firstControls.value(index))
        first->setFocus();
}

void TFpcDaityo::OkBTNClick()
{
    if (!m_binder->commitAll())
        return;
    // A server connection that died while the window was open is restored
    // first, quietly when the server is there (the claim with it).
    const bool claimWasLost = m_ledger.isClaimLost();
    if (!StoreReconnector::of(m_dm).ensure()) {
        MessageBoxes::error(this, storeGoneText());
        return;
    }
    // Another copy took the PC meanwhile: the user has just been told; a
    // later OK tries again.
    if (!claimWasLost && m_ledger.isClaimLost())
        return;
    try {
        m_ledger.save(QDate::currentDate());
    } catch (const ConnectionLost &) {
        MessageBoxes::error(this, storeGoneText());
        return;
    } catch (const StoreError &e) {
        // A refused row leaves the window open to correct; a store that went
        // away saved nothing, and the next OK tries again.
        if (m_ledger.storeAnswers())
            MessageBoxes::error(this, e.message());
        else
            MessageBoxes::error(this, storeGoneText() + u'\n' + e.message());
        return;
    }
    accept();
}

QString TFpcDaityo::storeGoneText()
{
    return QStringLiteral("データベースサーバーに接続できないため、PC台帳は保存されていません。\n"
                          "入力した内容はそのまま残っています。"
                          "サーバーにつながってから、もう一度 OK を押してください。");
}

void TFpcDaityo::claimLost()
{
    MessageBoxes::error(this,
                        PcClaims::claimedText(m_ledger.key())
                            + QStringLiteral("\nこの画面の内容は、そのままでは保存できません。"
                                             "必要な内容を控えてからキャンセルしてください。"));
}

void TFpcDaityo::CanBTNClick()
{
    m_ledger.discard();
    reject();
}

int TFpcDaityo::currentRow(List list) const
{
    if (list == List::Drive)
        return m_drivePanels->currentRow();
    const QModelIndex current = m_grids[size_t(list)]->currentIndex();
    return current.isValid() ? current.row() : -1;
}

QString TFpcDaityo::currentName(List list) const
{
    const int row = currentRow(list);
    if (row < 0)
        return QString();
    return m_models[size_t(list)]->value(row, LedgerLists::nameColumn(list)).toString();
}

void TFpcDaityo::refreshList(List list, const QString &keepName)
{
    QueryRowsModel *model = m_models[size_t(list)];
    model->setRows(m_ledger.list(list));
    const int found
        = keepName.isEmpty() ? -1 : model->rowOf(LedgerLists::nameColumn(list), keepName);
    const int row = model->rowCount() > 0 ? qMax(found, 0) : -1;
    QAbstractItemView *view = list == List::Drive
        ? static_cast<QAbstractItemView *>(m_drivePanels)
        : static_cast<QAbstractItemView *>(m_grids[size_t(list)]);
    if (row >= 0)
        view->setCurrentIndex(model->index(row, 0));
    // Names are shown whole: the columns take the width of their contents.
    if (list != List::Drive)
        m_grids[size_t(list)]->resizeColumnsToContents();
    // QdriveAfterOpen, ...: edit and delete need a row.
    if (size_t(list) < m_editBTN.size()) {
        m_editBTN[size_t(list)]->setEnabled(model->rowCount() > 0);
        m_delBTN[size_t(list)]->setEnabled(model->rowCount() > 0);
    }
}

DetailDialog *TFpcDaityo::createDialog(List list)
{
    switch (list) {
    case List::Drive:
        return new TFdrive(paths(), this);
    case List::Printer:
        return new TFprinter(paths(), this);
    case List::Appli:
        return new TFappli(m_dm, paths(), this);
    default:
        return new TFshare(paths(), this);
    }
}

void TFpcDaityo::addDetail(List list)
{
    std::unique_ptr<DetailDialog> dialog(createDialog(list));
    m_ledger.appendDetail(dialog->row());
    dialog->setPoster([this, list](RowBuffer &row) { m_ledger.postDetail(list, row); });
    if (dialog->exec() == QDialog::Accepted)
        refreshList(list);
}

void TFpcDaityo::editDetail(List list)
{
    const QString name = currentName(list);
    if (name.isEmpty())
        return;
    std::unique_ptr<DetailDialog> dialog(createDialog(list));
    if (!m_ledger.editDetail(list, name, dialog->row()))
        return;
    dialog->setPoster([this, list](RowBuffer &row) { m_ledger.postDetail(list, row); });
    if (dialog->exec() != QDialog::Accepted)
        return;
    // The drive list starts again from its first panel; the others stay on
    // the edited row.
    refreshList(
        list, list == List::Drive ? QString() : dialog->row().text(LedgerLists::nameColumn(list)));
}

void TFpcDaityo::deleteDetail(List list)
{
    const QString name = currentName(list);
    if (currentRow(list) < 0)
        return;
    if (!MessageBoxes::yesNo(this, name + QStringLiteral("を削除します。よろしいですか？")))
        return;
    try {
        m_ledger.deleteDetail(list, name);
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        return;
    }
    refreshList(list);
}
