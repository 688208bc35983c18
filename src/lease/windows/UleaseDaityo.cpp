#include "UleaseDaityo.h"

#include "base/DateEntry.h"
#include "base/DateText.h"
#include "kit/EditGrid.h"
#include "kit/MessageBoxes.h"
#include "lease/CoveredPcModel.h"
#include "lease/LeaseReader.h"
#include "lease/LeaseSaver.h"
#include "lease/ScheduleModel.h"
#include "ledger/windows/Ucalendar.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/StoreReconnector.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

constexpr int DateColumnWidth = 96;
constexpr int AmountColumnWidth = 90;

QPushButton *pushButton(const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QLatin1String(name));
    b->setAutoDefault(false);
    return b;
}

// Numbers, dates and the contract number are typed without the Japanese
// input method.
void withoutInputMethod(QWidget *w)
{
    w->setAttribute(Qt::WA_InputMethodEnabled, false);
    w->setInputMethodHints(Qt::ImhPreferLatin | Qt::ImhNoPredictiveText);
}

QTableView *grid(const char *name, QAbstractItemModel *model)
{
    auto *view = new EditGrid;
    view->setObjectName(QLatin1String(name));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectItems);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->verticalHeader()->hide();
    view->horizontalHeader()->setHighlightSections(false);
    view->setWordWrap(false);
    return view;
}

QLabel *totalLabel(const char *name, const QString &text)
{
    auto *label = new QLabel(text);
    label->setObjectName(QLatin1String(name));
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    label->setFrameShape(QFrame::Panel);
    label->setFrameShadow(QFrame::Sunken);
    return label;
}

} // namespace

TFleaseDaityo::TFleaseDaityo(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FleaseDaityo"), paths, parent), m_dm(dm),
      m_claim(new PcClaim(dm, this)), m_schedule(new ScheduleModel(dm, this)),
      m_pcs(new CoveredPcModel(dm, this))
{
    setWindowTitle(QStringLiteral("リース台帳"));
    connect(m_claim, &PcClaim::lost, this, &TFleaseDaityo::claimLost);
    buildControls();
    connect(qApp, &QApplication::focusChanged, this, &TFleaseDaityo::focusChanged);
    connect(m_schedule, &ScheduleModel::posted, this, &TFleaseDaityo::TmesaiAfterPost);
    connect(m_schedule, &ScheduleModel::refused, this, &TFleaseDaityo::showRefused);
    connect(m_pcs, &CoveredPcModel::refused, this, &TFleaseDaityo::showRefused);
}

TFleaseDaityo::~TFleaseDaityo() = default;

void TFleaseDaityo::claim()
{
    const ::LeaseKey key = LeaseContract::keyOf(LeaseKey, LeaseNoKey);
    m_claim->take(ClaimSubject::lease(key.lease, key.leaseNo));
}

QString TFleaseDaityo::storeGoneText()
{
    return QStringLiteral(
        "データベースサーバーに接続できないため、リース台帳は保存されていません。\n"
        "入力した内容はそのまま残っています。"
        "サーバーにつながってから、もう一度 OK を押してください。");
}

void TFleaseDaityo::claimLost()
{
    MessageBoxes::error(this,
                        PcClaims::claimedText(m_claim->subject())
                            + QStringLiteral("\nこの画面の内容は、そのままでは保存できません。"
                                             "必要な内容を控えてからキャンセルしてください。"));
}

QLineEdit *TFleaseDaityo::edit(const QString &column)
{
    auto *e = new QLineEdit;
    e->setObjectName(column + QStringLiteral("EDT"));
    m_controls.insert(column, e);
    return e;
}

QComboBox *TFleaseDaityo::combo(const QString &column)
{
    auto *c = new QComboBox;
    c->setObjectName(column + QStringLiteral("CB"));
    c->setEditable(true);
    c->setInsertPolicy(QComboBox::NoInsert);
    c->setMinimumWidth(120);
    m_controls.insert(column, c);
    return c;
}

QWidget *TFleaseDaityo::dateBox(QLineEdit *edit, const char *buttonName,
                                void (TFleaseDaityo::*click)())
{
    withoutInputMethod(edit);
    edit->setMaxLength(20);
    edit->setMinimumWidth(edit->fontMetrics().horizontalAdvance(QStringLiteral("0000/00/00")) + 12);
    m_dateEdits.append(edit);
    auto *button = new QToolButton;
    button->setObjectName(QLatin1String(buttonName));
    button->setText(QStringLiteral("..."));
    button->setToolTip(QStringLiteral("カレンダー"));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, click);
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    row->addWidget(edit, 1);
    row->addWidget(button);
    return box;
}

void TFleaseDaityo::buildControls()
{
    // 1. The key.
    m_keyGroup = new QGroupBox(QStringLiteral("キー"));
    m_keyGroup->setObjectName(QStringLiteral("GroupBox1"));
    m_leaseCB = combo(QStringLiteral("lease"));
    m_leaseCB->setObjectName(QStringLiteral("LeaseCB"));
    m_leaseCB->setMinimumWidth(180);
    m_leaseNoEDT = edit(QStringLiteral("lease_No"));
    m_leaseNoEDT->setObjectName(QStringLiteral("Lease_NoEDT"));
    withoutInputMethod(m_leaseNoEDT);
    auto *keyRow = new QHBoxLayout(m_keyGroup);
    keyRow->addWidget(new QLabel(QStringLiteral("リース会社")));
    keyRow->addWidget(m_leaseCB, 1);
    keyRow->addSpacing(12);
    keyRow->addWidget(new QLabel(QStringLiteral("契約№")));
    keyRow->addWidget(m_leaseNoEDT, 1);

    m_modeLBL = new QLabel;
    m_modeLBL->setObjectName(QStringLiteral("ModeLBL"));
    m_modeLBL->setAlignment(Qt::AlignCenter);
    m_modeLBL->setMinimumSize(64, 28);
    m_modeLBL->setAutoFillBackground(true);
    auto *top = new QHBoxLayout;
    top->addWidget(m_keyGroup, 1);
    top->addWidget(m_modeLBL, 0, Qt::AlignTop);

    // 2. to 5. The contract's data, label and control side by side.
    auto *fields = new QGridLayout;
    fields->setHorizontalSpacing(6);
    const auto put
        = [fields](int row, int pair, const QString &label, QWidget *control, int span = 1) {
              auto *l = new QLabel(label);
              l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
              l->setBuddy(control);
              fields->addWidget(l, row, pair * 2);
              fields->addWidget(control, row, pair * 2 + 1, 1, span);
          };
    const auto amount = [this](const QString &column) {
        QLineEdit *e = edit(column);
        withoutInputMethod(e);
        e->setAlignment(Qt::AlignRight);
        e->setMinimumWidth(e->fontMetrics().horizontalAdvance(QStringLiteral("000,000,000")));
        return e;
    };
    put(0, 0, QStringLiteral("契約日"),
        dateBox(edit(QStringLiteral("KeiyakuYMD")), "SpeedButton1",
                &TFleaseDaityo::SpeedButton1Click));
    put(0, 1, QStringLiteral("契約期間（月）"), amount(QStringLiteral("kikan_tuki")));
    put(0, 2, QStringLiteral("リース開始日"),
        dateBox(edit(QStringLiteral("kikan_start")), "SpeedButton2",
                &TFleaseDaityo::SpeedButton2Click));
    put(0, 3, QStringLiteral("リース終了日"),
        dateBox(edit(QStringLiteral("kikan_end")), "SpeedButton3",
                &TFleaseDaityo::SpeedButton3Click));
    put(1, 0, QStringLiteral("物件名"), edit(QStringLiteral("Bukkenmei")), 3);
    put(1, 2, QStringLiteral("売　主"), edit(QStringLiteral("urinusi")), 3);
    put(2, 0, QStringLiteral("契約金額"), amount(QStringLiteral("keiyaku_kingaku")));
    put(2, 1, QStringLiteral("物件金額"), amount(QStringLiteral("bukken_kingaku")));
    put(2, 2, QStringLiteral("年額"), amount(QStringLiteral("nengaku")));
    put(2, 3, QStringLiteral("年額（税）"), amount(QStringLiteral("nengaku_zei")));
    put(2, 4, QStringLiteral("前払金"), amount(QStringLiteral("maebaraikin")));
    put(3, 0, QStringLiteral("年間保守額"), amount(QStringLiteral("nen_hosyugaku")));
    put(3, 1, QStringLiteral("契約部門（部）"), combo(QStringLiteral("keiyaku_bu")));
    put(3, 2, QStringLiteral("契約部門（課）"), combo(QStringLiteral("Keiyaku_ka")));
    for (int c = 1; c < fields->columnCount(); c += 2)
        fields->setColumnStretch(c, 1);

    // 6. The schedule and the covered PCs.
    m_mesaiDBG = grid("MesaiDBG", m_schedule);
    m_mesaiDBG->setColumnWidth(ScheduleModel::SiharaiYMD, DateColumnWidth);
    for (int c = ScheduleModel::Kingaku; c <= ScheduleModel::Gokei; ++c)
        m_mesaiDBG->setColumnWidth(c, AmountColumnWidth);
    m_kaisuLBL = totalLabel("KaisuLBL", QStringLiteral("回数"));
    m_kingakuLBL = totalLabel("KingakuLBL", QStringLiteral("0"));
    m_zeiLBL = totalLabel("ZeiLBL", QStringLiteral("0"));
    m_hosyuryoLBL = totalLabel("HosyuryoLBL", QStringLiteral("0"));
    m_gokeiLBL = totalLabel("GokeiLBL", QStringLiteral("0"));
    // The totals stand under the grid's columns and follow their widths.
    const QList<QLabel *> totals {m_kaisuLBL, m_kingakuLBL, m_zeiLBL, m_hosyuryoLBL, m_gokeiLBL};
    auto *totalsRow = new QHBoxLayout;
    totalsRow->setSpacing(0);
    for (int c = 0; c < totals.size(); ++c) {
        totals[c]->setFixedWidth(m_mesaiDBG->columnWidth(c));
        totalsRow->addWidget(totals[c]);
    }
    totalsRow->addStretch();
    connect(m_mesaiDBG->horizontalHeader(), &QHeaderView::sectionResized, this,
            [totals](int section, int, int size) {
                if (section < totals.size())
                    totals[section]->setFixedWidth(size);
            });
    auto *mesaiButtons = new QHBoxLayout;
    QPushButton *leaseAdd = pushButton("LeaseAddBTN", QStringLiteral("追　加"));
    QPushButton *leaseDel = pushButton("LeaseDelBTN", QStringLiteral("削　除"));
    mesaiButtons->addWidget(leaseAdd);
    mesaiButtons->addWidget(leaseDel);
    mesaiButtons->addStretch();
    auto *mesaiPage = new QWidget;
    mesaiPage->setObjectName(QStringLiteral("TabSheet1"));
    auto *mesaiLayout = new QVBoxLayout(mesaiPage);
    mesaiLayout->addLayout(mesaiButtons);
    mesaiLayout->addWidget(m_mesaiDBG, 1);
    mesaiLayout->addLayout(totalsRow);

    m_pcDBG = grid("PCDBG", m_pcs);
    m_pcDBG->setColumnWidth(CoveredPcModel::PCKey, 220);
    m_pcDBG->horizontalHeader()->setStretchLastSection(true);
    auto *pcButtons = new QHBoxLayout;
    QPushButton *pcAdd = pushButton("PCaddBTN", QStringLiteral("追　加"));
    QPushButton *pcDel = pushButton("PCDelBTN", QStringLiteral("削　除"));
    pcButtons->addWidget(pcAdd);
    pcButtons->addWidget(pcDel);
    pcButtons->addStretch();
    auto *pcPage = new QWidget;
    pcPage->setObjectName(QStringLiteral("TabSheet2"));
    auto *pcLayout = new QVBoxLayout(pcPage);
    pcLayout->addLayout(pcButtons);
    pcLayout->addWidget(m_pcDBG, 1);

    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->addTab(mesaiPage, QStringLiteral("支払明細"));
    m_tabs->addTab(pcPage, QStringLiteral("対象ＰＣ"));

    // 7. OK and Cancel.
    m_okBTN = pushButton("OkBTN", QStringLiteral("Ｏ　Ｋ"));
    m_canBTN = pushButton("CanBTN", QStringLiteral("キャンセル"));
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_okBTN);
    bottom->addWidget(m_canBTN);

    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addLayout(fields);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);
    resize(760, 600);

    connect(leaseAdd, &QPushButton::clicked, this, &TFleaseDaityo::LeaseAddBTNClick);
    connect(leaseDel, &QPushButton::clicked, this, &TFleaseDaityo::LeaseDelBTNClick);
    connect(pcAdd, &QPushButton::clicked, this, &TFleaseDaityo::PCaddBTNClick);
    connect(pcDel, &QPushButton::clicked, this, &TFleaseDaityo::PCDelBTNClick);
    connect(m_okBTN, &QPushButton::clicked, this, &TFleaseDaityo::OkBTNClick);
    connect(m_canBTN, &QPushButton::clicked, this, &QDialog::reject);
}

void TFleaseDaityo::formShow()
{
    const bool add = isAddMode();
    const bool upd = Mode == QLatin1String("upd");
    m_modeLBL->setText(add       ? QStringLiteral("追加")
                           : upd ? QStringLiteral("修正")
                                 : QStringLiteral("？？"));
    QPalette palette = m_modeLBL->palette();
    palette.setColor(QPalette::Window, add ? Qt::blue : upd ? Qt::yellow : Qt::red);
    palette.setColor(QPalette::WindowText, upd ? Qt::black : Qt::white);
    m_modeLBL->setPalette(palette);
    if (load())
        (add ? static_cast<QWidget *>(m_leaseCB) : m_controls.value(QStringLiteral("KeiyakuYMD")))
            ->setFocus();
}

bool TFleaseDaityo::load()
{
    try {
        const QList<QPair<QComboBox *, const char *>> lists {
            {m_leaseCB, "LEASE"},
            {qobject_cast<QComboBox *>(m_controls.value(QStringLiteral("keiyaku_bu"))),
             "keiyaku_bu"},
            {qobject_cast<QComboBox *>(m_controls.value(QStringLiteral("Keiyaku_ka"))),
             "keiyaku_ka"}};
        for (const auto &[box, column] : lists) {
            box->clear();
            box->addItems(LeaseReader::distinctValues(m_dm, QLatin1String(column)));
        }
        m_schedule->create();
        m_pcs->create();
        const bool add = isAddMode();
        m_leaseCB->setEnabled(add);
        m_leaseNoEDT->setEnabled(add);
        if (add) {
            setTexts({});
            return true;
        }
        // Claimed before it is read, so what is read stays as it is.
        if (!m_claim->isHeld())
            claim();
        const ::LeaseKey key = LeaseContract::keyOf(LeaseKey, LeaseNoKey);
        const std::optional<LeaseContract::Texts> contract
            = LeaseReader::contract(m_dm, key, &m_readStamp);
        if (!contract) {
            abandon(QStringLiteral("修正対象データが見つかりません"));
            return false;
        }
        setTexts(*contract);
        m_schedule->load(LeaseReader::schedule(m_dm, key));
        for (const QString &pc : LeaseReader::coveredPcs(m_dm, key))
            m_pcs->load(pc);
    } catch (const StoreError &e) {
        abandon(e.message());
        return false;
    }
    return true;
}

void TFleaseDaityo::abandon(const QString &message)
{
    // Closed once the showing is over, without OK.
    QTimer::singleShot(0, this, [this, message] {
        MessageBoxes::error(this, message);
        reject();
    });
}

LeaseContract::Texts TFleaseDaityo::texts() const
{
    LeaseContract::Texts result;
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        if (const auto *e = qobject_cast<const QLineEdit *>(it.value()))
            result.insert(it.key(), e->text());
        else if (const auto *c = qobject_cast<const QComboBox *>(it.value()))
            result.insert(it.key(), c->currentText());
    }
    return result;
}

void TFleaseDaityo::setTexts(const LeaseContract::Texts &texts)
{
    for (auto it = m_controls.cbegin(); it != m_controls.cend(); ++it) {
        if (auto *e = qobject_cast<QLineEdit *>(it.value()))
            e->setText(texts.value(it.key()));
        else if (auto *c = qobject_cast<QComboBox *>(it.value()))
            c->setEditText(texts.value(it.key()));
    }
}

void TFleaseDaityo::focusChanged(QWidget *old, QWidget *now)
{
    if (!old || !now || old->window() != this)
        return;
    if (auto *date = qobject_cast<QLineEdit *>(old); date && m_dateEdits.contains(date))
        dateBoxExit(date);
    if (isAddMode() && m_keyGroup->isAncestorOf(old) && now->window() == this
        && !m_keyGroup->isAncestorOf(now))
        QTimer::singleShot(0, this, &TFleaseDaityo::GroupBox1Exit);
}

void TFleaseDaityo::GroupBox1Exit()
{
    // OK makes the same check itself; Cancel leaves without one.
    QWidget *focused = QApplication::focusWidget();
    if (!isVisible() || focused == m_okBTN || focused == m_canBTN
        || (focused && m_keyGroup->isAncestorOf(focused)))
        return;
    try {
        if (!LeaseReader::exists(
                m_dm, LeaseContract::keyOf(m_leaseCB->currentText(), m_leaseNoEDT->text())))
            return;
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        return;
    }
    MessageBoxes::error(this, QStringLiteral("既に登録済みです"));
    m_leaseCB->setFocus();
}

void TFleaseDaityo::dateBoxExit(QLineEdit *edit)
{
    const QString text = edit->text().trimmed();
    if (text.isEmpty()) {
        edit->clear();
        return;
    }
    try {
        edit->setText(NormalizeDateText(text));
        setStatusText(QString());
    } catch (const InputError &e) {
        // No box: the reason stands in the status bar, and the box keeps the
        // focus.
        setStatusText(e.message());
        QTimer::singleShot(0, edit, [edit] { edit->setFocus(); });
    }
}

void TFleaseDaityo::pickDate(QLineEdit *edit)
{
    QDate date;
    try {
        date = QDate::fromString(NormalizeDateText(edit->text().trimmed()),
                                 QStringLiteral("yyyy/MM/dd"));
    } catch (const InputError &) {
        // The picker starts on today.
    }
    TFcalendar picker(paths(), this);
    picker.setDate(date);
    if (picker.exec() == QDialog::Accepted)
        edit->setText(DateText::shortDate(picker.date()));
}

void TFleaseDaityo::SpeedButton1Click()
{
    pickDate(qobject_cast<QLineEdit *>(m_controls.value(QStringLiteral("KeiyakuYMD"))));
}

void TFleaseDaityo::SpeedButton2Click()
{
    pickDate(qobject_cast<QLineEdit *>(m_controls.value(QStringLiteral("kikan_start"))));
}

void TFleaseDaityo::SpeedButton3Click()
{
    pickDate(qobject_cast<QLineEdit *>(m_controls.value(QStringLiteral("kikan_end"))));
}

void TFleaseDaityo::LeaseAddBTNClick()
{
    const int row = m_schedule->addRow();
    if (row < 0)
        return;
    m_mesaiDBG->setFocus();
    m_mesaiDBG->setCurrentIndex(m_schedule->index(row, ScheduleModel::SiharaiYMD));
}

void TFleaseDaityo::LeaseDelBTNClick()
{
    if (m_mesaiDBG->currentIndex().isValid())
        m_schedule->removeRow(m_mesaiDBG->currentIndex().row());
}

void TFleaseDaityo::PCaddBTNClick()
{
    const int row = m_pcs->addRow();
    m_pcDBG->setFocus();
    m_pcDBG->setCurrentIndex(m_pcs->index(row, CoveredPcModel::PCKey));
}

void TFleaseDaityo::PCDelBTNClick()
{
    if (m_pcDBG->currentIndex().isValid())
        m_pcs->removeRow(m_pcDBG->currentIndex().row());
}

void TFleaseDaityo::TmesaiAfterPost()
{
    ScheduleModel::Totals t;
    try {
        t = m_schedule->totals();
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        return;
    }
    const auto sum = [](const QVariant &v) { return v.isNull() ? QString() : v.toString(); };
    m_kaisuLBL->setText(QString::number(t.count) + QStringLiteral(" 回"));
    m_kingakuLBL->setText(sum(t.kingaku));
    m_zeiLBL->setText(sum(t.zei));
    m_hosyuryoLBL->setText(sum(t.hosyuryo));
    m_gokeiLBL->setText(QString::number(t.gokei));
}

void TFleaseDaityo::showRefused(const QString &message)
{
    m_refused = true;
    // Shown once the grid has finished handing over the value.
    QTimer::singleShot(0, this, [this, message] {
        if (isVisible())
            MessageBoxes::error(this, message);
    });
}

void TFleaseDaityo::OkBTNClick()
{
    // A cell still being edited hands its text over first; a refused one
    // stops the save.
    m_refused = false;
    m_okBTN->setFocus();
    if (m_refused)
        return;
    try {
        m_schedule->finishNewRow();
    } catch (const InputError &e) {
        // The new payment still lacks its date.
        MessageBoxes::error(this, e.message());
        m_tabs->setCurrentIndex(0);
        m_mesaiDBG->setFocus();
        m_mesaiDBG->setCurrentIndex(m_schedule->index(m_schedule->rowCount() - 1, 0));
        return;
    }
    m_pcs->finishNewRow();
    QVariantMap params;
    try {
        params = LeaseContract::SetLeaseParams(texts(), QDateTime::currentDateTime());
        const ::LeaseKey key {params.value(QStringLiteral("lease")).toString(),
                              params.value(QStringLiteral("lease_No")).toString()};
        // A connection that died meanwhile is restored first, quietly
        // when the server is there. A claim another copy took meanwhile has
        // just been reported; a later OK tries again.
        const bool claimWasLost = m_claim->isLost();
        if (!StoreReconnector::of(m_dm).ensure()) {
            MessageBoxes::error(this, storeGoneText());
            return;
        }
        if (!claimWasLost && m_claim->isLost())
            return;
        if (isAddMode() && LeaseReader::exists(m_dm, key)) {
            MessageBoxes::error(this, QStringLiteral("既に登録済みです"));
            m_leaseCB->setFocus();
            return;
        }
        LeaseSaver saver(m_dm);
        if (!isAddMode()) {
            saver.setClaim(m_claim);
            saver.setReadStamp(m_readStamp);
        }
        saver.save(isAddMode() ? LeaseSaver::Mode::Add : LeaseSaver::Mode::Update, params,
                   m_schedule->rows(), m_pcs->keys());
    } catch (const LeaseContract::FieldError &e) {
        MessageBoxes::error(this, e.message());
        m_controls.value(e.column())->setFocus();
        return;
    } catch (const InputError &e) {
        MessageBoxes::error(this, e.message());
        return;
    } catch (const ConnectionLost &) {
        MessageBoxes::error(this, storeGoneText());
        return;
    } catch (const LeaseGoneError &e) {
        MessageBoxes::error(this, e.message());
        return;
    } catch (const LeaseChangedError &e) {
        MessageBoxes::error(this, e.message());
        return;
    } catch (const ClaimError &e) {
        MessageBoxes::error(this, e.message());
        return;
    } catch (const StoreError &e) {
        MessageBoxes::error(this,
                            QStringLiteral("リース情報を保存できませんでした。\n") + e.message());
        return;
    }
    accept();
}
