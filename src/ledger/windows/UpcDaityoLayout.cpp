// The controls of the PC ledger window: the header, the nine tabs and the
// buttons, each field's control bound to the PC row.

#include "DrivePanelList.h"
#include "FieldBinder.h"
#include "ModeLabel.h"
#include "PcRirekiTab.h"
#include "UpcDaityo.h"
#include "ledger/ChoiceLists.h"
#include "views/QueryRowsModel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

using Format = QueryRowsModel::Format;
using Column = QueryRowsModel::Column;

// The fields typed in Japanese: the input method is on for them.
bool isJapanese(const QString &field)
{
    static const QStringList fields {
        QStringLiteral("Bu"),         QStringLiteral("Ka"),          QStringLiteral("Riyosya"),
        QStringLiteral("Maker"),      QStringLiteral("Keijyo"),      QStringLiteral("Yoto"),
        QStringLiteral("SettiBasyo"), QStringLiteral("CompSetumei"), QStringLiteral("SisanKBN"),
        QStringLiteral("Konyusaki"),  QStringLiteral("lease"),       QStringLiteral("Hosyu_Kaisya"),
        QStringLiteral("Biko")};
    return fields.contains(field, Qt::CaseInsensitive);
}

void setInputMethod(QWidget *widget, const QString &field)
{
    widget->setInputMethodHints(isJapanese(field) ? Qt::ImhNone : Qt::ImhPreferLatin);
}

QVector<Column> listColumns(LedgerLists::List list)
{
    using L = LedgerLists::List;
    auto plain = [](const char *field, const char *title = nullptr) {
        return Column {QLatin1String(field),
                       title ? QString::fromUtf8(title) : QLatin1String(field), Format::Plain};
    };
    switch (list) {
    case L::Drive:
        return {plain("DRIVE"),
                plain("Type"),
                {QStringLiteral("Capa"), QStringLiteral("Capa"), Format::Thousands}};
    case L::Printer:
        return {plain("Printer", "プリンタ名"), plain("Biko", "備考")};
    case L::Appli:
        return {plain("Appli", "アプリケーション"),
                plain("Ver"),
                plain("ProductID"),
                plain("License"),
                plain("InstallKey"),
                plain("Biko", "備考")};
    case L::Share:
        return {plain("SharedName", "共有名"), plain("SharedPath", "パス")};
    case L::Adapter:
        return {plain("Seq", "№"),
                plain("LAN_ADapter", "ｱﾀﾞﾌﾟﾀ名"),
                plain("IP", "IPｱﾄﾞﾚｽ"),
                plain("SubNet", "ｻﾌﾞﾈｯﾄﾏｽｸ"),
                plain("Gateway", "ｹﾞｰﾄｳｪｲ"),
                plain("DHCP"),
                plain("DNS1"),
                plain("DNS2"),
                plain("WINS1"),
                plain("WINS2"),
                plain("Mac", "Macｱﾄﾞﾚｽ")};
    case L::Memory:
        return {plain("DeviceLocator"), plain("MB"), plain("Speed"), plain("Formfacturer"),
                plain("Type")};
    }
    return {};
}

QPushButton *hoverButton(const QString &caption, const QString &name)
{
    auto *button = new QPushButton(caption);
    button->setObjectName(name);
    button->setAutoDefault(false);
    // A lighter colour while the pointer is over it.
    button->setStyleSheet(QStringLiteral("QPushButton:hover { background-color: #eef4ff; }"));
    return button;
}

} // namespace

void TFpcDaityo::addRow(QGridLayout *grid, int row, int column, const QString &label,
                        QWidget *control, int span)
{
    if (!label.isEmpty()) {
        // The label names its control, also in the messages about its value.
        auto *caption = new QLabel(label);
        caption->setBuddy(control);
        grid->addWidget(caption, row, column, Qt::AlignRight | Qt::AlignVCenter);
    }
    grid->addWidget(control, row, column + 1, 1, span);
}

QLineEdit *TFpcDaityo::edit(const QString &field, const QString &objectName)
{
    QLineEdit *e = m_binder->lineEdit(
        field, objectName.isEmpty() ? field + QStringLiteral("Edit") : objectName);
    setInputMethod(e, field);
    return e;
}

QComboBox *TFpcDaityo::combo(const QString &field, const QString &objectName)
{
    QComboBox *c = m_binder->comboBox(field, objectName);
    setInputMethod(c, field);
    const ChoiceLists::List &list = ChoiceLists::ofField(field);
    if (list.visibleItems > 0)
        c->setMaxVisibleItems(list.visibleItems);
    m_choiceCombos.insert(list.field, c);
    return c;
}

QComboBox *TFpcDaityo::unitCombo(const QString &field, const QString &entry)
{
    QComboBox *c = m_binder->comboBox(field, field + QStringLiteral("CB"));
    c->addItem(entry);
    c->setMaximumWidth(80);
    return c;
}

QWidget *TFpcDaityo::dateEdit(const QString &field, const char *buttonName)
{
    auto *box = new QWidget;
    auto *row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(1);
    QLineEdit *e = edit(field, field + QStringLiteral("EDT"));
    auto *button = new QToolButton;
    button->setObjectName(QLatin1String(buttonName));
    button->setText(QStringLiteral("..."));
    button->setToolTip(QStringLiteral("カレンダー"));
    button->setFocusPolicy(Qt::NoFocus);
    connect(button, &QToolButton::clicked, this, [this, field] { pickDate(field); });
    row->addWidget(e, 1);
    row->addWidget(button);
    return box;
}

QTableView *TFpcDaityo::grid(List list, const char *name)
{
    auto *model = new QueryRowsModel(listColumns(list), this);
    auto *view = new QTableView;
    view->setObjectName(QLatin1String(name));
    view->setModel(model);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->verticalHeader()->hide();
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
    view->horizontalHeader()->setStretchLastSection(true);
    m_models[size_t(list)] = model;
    m_grids[size_t(list)] = view;
    return view;
}

void TFpcDaityo::buildLayout()
{
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(buildCpuTab(), QStringLiteral("CPU詳細"));
    m_pages->addTab(buildDriveTab(), QStringLiteral("ドライブ情報"));
    m_pages->addTab(buildDetailTab(List::Printer, "Printer", "PrinterGrid"),
                    QStringLiteral("プリンタ"));
    m_pages->addTab(buildNetworkTab(), QStringLiteral("ネットワーク"));
    m_pages->addTab(buildDetailTab(List::Appli, "Appli", "AppliGrid"),
                    QStringLiteral("アプリケーション"));
    m_pages->addTab(buildDetailTab(List::Share, "Share", "ShareGrid"), QStringLiteral("共有情報"));
    m_pages->addTab(buildSonotaTab(), QStringLiteral("その他"));
    m_pages->addTab(buildBikoTab(), QStringLiteral("備考"));
    m_pages->addTab(buildWmiTab(), QStringLiteral("WMI"));
    const char *const sheets[]
        = {"CPUSheet",   "DriveSheet",  "PrinterSheet", "NetworkSheet", "AppliSheet",
           "ShareSheet", "SonotaSheet", "BikoSheet",    "WMISheet"};
    for (int i = 0; i < m_pages->count(); ++i)
        m_pages->widget(i)->setObjectName(QLatin1String(sheets[i]));
    // The PC's recorded changes, read when the tab is first shown; a new
    // PC has none.
    auto *history = new PcRirekiTab(m_dm, [this] {
        return m_ledger.pc().state() == RowBuffer::State::Insert ? QString() : m_ledger.key();
    });
    history->setObjectName(QStringLiteral("RirekiSheet"));
    m_pages->addTab(history, QStringLiteral("履歴"));
    m_firstControls.insert(2, m_grids[size_t(List::Printer)]);
    m_firstControls.insert(4, m_grids[size_t(List::Appli)]);

    m_okBTN = new QPushButton(QStringLiteral("Ｏ　Ｋ"));
    m_okBTN->setObjectName(QStringLiteral("OkBTN"));
    auto *canBTN = new QPushButton(QStringLiteral("キャンセル"));
    canBTN->setObjectName(QStringLiteral("CanBTN"));
    for (QPushButton *b : {m_okBTN, canBTN})
        b->setAutoDefault(false);
    connect(m_okBTN, &QPushButton::clicked, this, &TFpcDaityo::OkBTNClick);
    connect(canBTN, &QPushButton::clicked, this, &TFpcDaityo::CanBTNClick);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okBTN);
    buttons->addWidget(canBTN);

    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(buildHeader());
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);
    connect(m_pages, &QTabWidget::currentChanged, this, &TFpcDaityo::PageControl1Change);
}

QWidget *TFpcDaityo::buildHeader()
{
    auto *header = new QWidget;
    auto *g = new QGridLayout(header);
    g->setContentsMargins(0, 0, 0, 0);
    g->setHorizontalSpacing(6);
    g->setVerticalSpacing(3);

    m_modeLBL = ModeLabel::create();
    g->addWidget(m_modeLBL, 0, 0);
    m_keyEDT = edit(QStringLiteral("Key"), QStringLiteral("KeyEDT"));
    addRow(g, 0, 1, QStringLiteral("Key"), m_keyEDT, 3);
    m_kanriNoEDT = edit(QStringLiteral("KanriNo"), QStringLiteral("KanriNoEdit"));
    addRow(g, 0, 5, QStringLiteral("管理№"), m_kanriNoEDT);
    addRow(g, 0, 7, QStringLiteral("管理CD"),
           edit(QStringLiteral("KanriCD"), QStringLiteral("KanriCDEdit")), 3);

    addRow(g, 1, 1, QStringLiteral("メーカ名"),
           combo(QStringLiteral("Maker"), QStringLiteral("MakerCombo")), 3);
    addRow(g, 1, 5, QStringLiteral("機種名"),
           combo(QStringLiteral("Kisyu"), QStringLiteral("KisyuCombo")));
    QLabel *invaro = m_binder->display(QStringLiteral("InvaroYMD"), QStringLiteral("InvaroYMDLBL"));
    m_binder->setFormat(QStringLiteral("InvaroYMD"), Format::Date);
    addRow(g, 1, 7, QStringLiteral("Invaroデータ作成日："), invaro, 3);

    addRow(g, 2, 1, QStringLiteral("型番"), edit(QStringLiteral("Kataban")), 3);
    addRow(g, 2, 5, QStringLiteral("シリアル№"), edit(QStringLiteral("SerialNo")));
    addRow(g, 2, 7, QStringLiteral("形状"),
           combo(QStringLiteral("Keijyo"), QStringLiteral("KeijyoCombo")));
    addRow(g, 2, 9, QStringLiteral("用途"),
           combo(QStringLiteral("Yoto"), QStringLiteral("YotoCombo")));

    addRow(g, 3, 1, QStringLiteral("導入日"), dateEdit(QStringLiteral("DonyuYMD"), "SpeedButton1"),
           3);
    addRow(g, 3, 5, QStringLiteral("撤去日"),
           dateEdit(QStringLiteral("TekkyoYMD"), "SpeedButton2"));
    addRow(g, 3, 7, QStringLiteral("設置場所"),
           combo(QStringLiteral("SettiBasyo"), QStringLiteral("SettiBasyoCombo")), 3);

    // Names, then who uses the PC: computer, host, user ID, department,
    // section, user, in this reading (and tab) order.
    addRow(g, 4, 1, QStringLiteral("コンピュータ名"), edit(QStringLiteral("PC_Name")), 3);
    addRow(g, 4, 5, QStringLiteral("ホスト名"), edit(QStringLiteral("Host")));
    addRow(g, 4, 7, QStringLiteral("ユーザＩＤ"), edit(QStringLiteral("user")), 3);
    addRow(g, 5, 1, QStringLiteral("部"), combo(QStringLiteral("Bu"), QStringLiteral("BuCombo")),
           3);
    addRow(g, 5, 5, QStringLiteral("課"), combo(QStringLiteral("Ka"), QStringLiteral("KaCombo")));
    addRow(g, 5, 7, QStringLiteral("利用者"), edit(QStringLiteral("Riyosya")), 3);

    // The CPU's and the OS's names are long: their boxes take two columns.
    addRow(g, 6, 1, QStringLiteral("ＣＰＵ"), edit(QStringLiteral("CPU_Name")), 5);
    addRow(g, 6, 7, QStringLiteral("クロック(MHz)"), edit(QStringLiteral("CPU_Clock")));
    QLineEdit *memory = edit(QStringLiteral("Mem_All"), QStringLiteral("MemAllEdit"));
    memory->setAlignment(Qt::AlignRight);
    m_binder->setFormat(QStringLiteral("Mem_All"), Format::Thousands);
    addRow(g, 6, 9, QStringLiteral("メモリ(KB)"), memory);

    addRow(g, 7, 1, QStringLiteral("OSバージョン"), edit(QStringLiteral("Win_Ver")), 5);
    addRow(g, 7, 7, QStringLiteral("OSタイプ"),
           combo(QStringLiteral("Win_Type"), QStringLiteral("OStypeCOMBO")));
    addRow(g, 7, 9, QStringLiteral("SP"), edit(QStringLiteral("SP")));
    for (int c : {2, 6, 10})
        g->setColumnStretch(c, 1);
    // The third column holds the OS type, the place and the user.
    g->setColumnStretch(8, 2);
    return header;
}

QWidget *TFpcDaityo::buildCpuTab()
{
    auto *page = new QWidget;
    auto *g = new QGridLayout;
    QLineEdit *cpu = edit(QStringLiteral("CPU_Name"), QStringLiteral("CPUEdit"));
    m_firstControls.insert(0, cpu);
    addRow(g, 0, 0, QStringLiteral("CPU"), cpu, 3);
    addRow(g, 1, 0, QStringLiteral("クロック(MHz)"), edit(QStringLiteral("CPU_Clock")));
    addRow(g, 2, 0, QStringLiteral("VenderID"), edit(QStringLiteral("CPU_ID")), 3);
    addRow(g, 3, 0, QStringLiteral("NameString"), edit(QStringLiteral("CPU_NameString")), 3);
    addRow(g, 4, 0, QStringLiteral("SerialNo."), edit(QStringLiteral("CPU_Serial")), 3);
    addRow(g, 5, 0, QStringLiteral("Type"), edit(QStringLiteral("CPU_Type")));
    addRow(g, 5, 2, QStringLiteral("Family"), edit(QStringLiteral("CPU_Family")));
    addRow(g, 6, 0, QStringLiteral("Model"), edit(QStringLiteral("CPU_Model")));
    addRow(g, 6, 2, QStringLiteral("Stepping"), edit(QStringLiteral("CPU_Stepping")));
    const struct
    {
        const char *caption;
        const char *field;
        const char *unit;
    } caches[] = {{"L1命令キャッシュ", "CPU_L1Meirei", "KB"},
                  {"L1Dataキャッシュ", "CPU_L1Data", "KB"},
                  {"L2キャッシュ", "CPU_L2", "KB"},
                  {"L1トレースキャッシュ", "CPU_L1Trace", "KuOps"}};
    int row = 7;
    for (const auto &cache : caches) {
        const QString field = QLatin1String(cache.field);
        auto *box = new QWidget;
        auto *line = new QHBoxLayout(box);
        line->setContentsMargins(0, 0, 0, 0);
        line->addWidget(edit(field), 1);
        line->addWidget(unitCombo(field + QStringLiteral("_Tani"), QLatin1String(cache.unit)));
        addRow(g, row++, 0, QString::fromUtf8(cache.caption), box, 3);
    }
    g->setRowStretch(row, 1);

    auto *feature = new QGroupBox(QStringLiteral("Feature"));
    auto *flags = new QGridLayout(feature);
    const char *const names[]
        = {"FPU",  "VME",  "DE",   "PSE",  "TSC", "MSR",   "PAE",    "MCE",   "CX8",
           "APIC", "SEP",  "MTRR", "PGE",  "MCA", "CMOV",  "PAT",    "PSE36", "PSN",
           "MMX",  "FXSR", "SSE",  "SSE2", "TM",  "3DNow", "3DNowEx"};
    int i = 0;
    for (const char *name : names) {
        QCheckBox *flag
            = m_binder->checkBox(QStringLiteral("CPU_") + QLatin1String(name), QLatin1String(name));
        flags->addWidget(flag, i % 9, i / 9);
        ++i;
    }
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(g, 3);
    layout->addWidget(feature, 2);
    return page;
}

QWidget *TFpcDaityo::buildDriveTab()
{
    auto *page = new QWidget;
    auto *buttons = new QHBoxLayout;
    m_addBTN[0] = hoverButton(QStringLiteral("追　加"), QStringLiteral("DriveAddBTN"));
    m_editBTN[0] = hoverButton(QStringLiteral("修　正"), QStringLiteral("DriveEditBTN"));
    m_delBTN[0] = hoverButton(QStringLiteral("削　除"), QStringLiteral("DriveDelBTN"));
    for (QPushButton *b : {m_addBTN[0], m_editBTN[0], m_delBTN[0]})
        buttons->addWidget(b);
    buttons->addStretch();
    connect(m_addBTN[0], &QPushButton::clicked, this, [this] { addDetail(List::Drive); });
    connect(m_editBTN[0], &QPushButton::clicked, this, [this] { editDetail(List::Drive); });
    connect(m_delBTN[0], &QPushButton::clicked, this, [this] { deleteDetail(List::Drive); });

    auto *model = new QueryRowsModel(
        {{QStringLiteral("DRIVE"), QStringLiteral("DRIVE"), Format::Plain}}, this);
    m_models[size_t(List::Drive)] = model;
    m_drivePanels = new DrivePanelList;
    m_drivePanels->setDrives(model);
    connect(m_drivePanels, &DrivePanelList::editRequested, this,
            [this] { editDetail(List::Drive); });
    m_firstControls.insert(1, m_drivePanels);

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(buttons);
    layout->addWidget(m_drivePanels, 1);
    return page;
}

QWidget *TFpcDaityo::buildDetailTab(List list, const char *prefix, const char *gridName)
{
    const int n = int(list);
    const QString p = QLatin1String(prefix);
    auto *page = new QWidget;
    auto *buttons = new QHBoxLayout;
    m_addBTN[n] = hoverButton(QStringLiteral("追　加"), p + QStringLiteral("AddBTN"));
    m_editBTN[n] = hoverButton(QStringLiteral("修　正"), p + QStringLiteral("EditBTN"));
    m_delBTN[n] = hoverButton(QStringLiteral("削　除"), p + QStringLiteral("DelBTN"));
    for (QPushButton *b : {m_addBTN[n], m_editBTN[n], m_delBTN[n]})
        buttons->addWidget(b);
    buttons->addStretch();
    connect(m_addBTN[n], &QPushButton::clicked, this, [this, list] { addDetail(list); });
    connect(m_editBTN[n], &QPushButton::clicked, this, [this, list] { editDetail(list); });
    connect(m_delBTN[n], &QPushButton::clicked, this, [this, list] { deleteDetail(list); });
    QTableView *view = grid(list, gridName);
    connect(view, &QTableView::doubleClicked, this, [this, list] { editDetail(list); });
    auto *layout = new QVBoxLayout(page);
    layout->addLayout(buttons);
    layout->addWidget(view, 1);
    return page;
}

QWidget *TFpcDaityo::buildNetworkTab()
{
    auto *page = new QWidget;
    auto *g = new QGridLayout;
    QLineEdit *user = edit(QStringLiteral("user"), QStringLiteral("UserEdit"));
    m_firstControls.insert(3, user);
    addRow(g, 0, 0, QStringLiteral("ユーザ名"), user);
    addRow(g, 0, 2, QStringLiteral("コンピュータ名"), edit(QStringLiteral("PC_Name")));
    addRow(g, 1, 0, QStringLiteral("ホスト名"), edit(QStringLiteral("Host")));
    addRow(g, 1, 2, QStringLiteral("ドメイン名"), edit(QStringLiteral("Domain")));
    addRow(g, 2, 0, QStringLiteral("ワークグループ名"), edit(QStringLiteral("WorkGroup")));
    addRow(g, 2, 2, QStringLiteral("コンピュータの説明"), edit(QStringLiteral("CompSetumei")));

    auto *adapter = new QWidget;
    auto *a = new QGridLayout(adapter);
    const char *const fields[][2] = {{"ＩＰアドレス", "IP"},      {"サブネットマスク", "SubNet"},
                                     {"ゲートウェイ", "GateWay"}, {"DHCP Server", "DHCP"},
                                     {"Primary DNS", "DNS1"},     {"Secondary DNS", "DNS2"},
                                     {"Primary WINS", "WINS1"},   {"Secondary WINS", "WINS2"},
                                     {"ＭＡＣアドレス", "Mac"},   {"アダプタ名", "LAN_Adapter"}};
    int i = 0;
    for (const auto &f : fields) {
        addRow(a, i % 5, (i / 5) * 2, QString::fromUtf8(f[0]), edit(QLatin1String(f[1])));
        ++i;
    }
    a->setRowStretch(5, 1);
    auto *inner = new QTabWidget;
    inner->setObjectName(QStringLiteral("PageControl2"));
    inner->addTab(adapter, QStringLiteral("アダプタ情報"));
    inner->addTab(grid(List::Adapter, "AdapterGrid"), QStringLiteral("アダプタ一覧"));

    auto *layout = new QVBoxLayout(page);
    layout->addLayout(g);
    layout->addWidget(inner, 1);
    return page;
}

QWidget *TFpcDaityo::buildSonotaTab()
{
    auto *page = new QWidget;
    auto *g = new QGridLayout(page);
    QLineEdit *product = edit(QStringLiteral("Win_ProductID"), QStringLiteral("OSproductEdit"));
    m_firstControls.insert(6, product);
    addRow(g, 0, 0, QStringLiteral("OSプロダクトID"), product);
    addRow(g, 1, 0, QStringLiteral("OEM Manufacture"), edit(QStringLiteral("Win_OEM_Manufacture")));
    addRow(g, 2, 0, QStringLiteral("OEM Model"), edit(QStringLiteral("Win_OEM_Model")));
    addRow(g, 3, 0, QStringLiteral("OSプロダクトキー"), edit(QStringLiteral("OS_Product")));
    addRow(g, 4, 0, QStringLiteral("ＩＥバージョン"), edit(QStringLiteral("IE_Ver")));
    addRow(g, 5, 0, QStringLiteral("ディスプレイ"), edit(QStringLiteral("Display")));
    addRow(g, 6, 0, QStringLiteral("ｼｽﾃﾑﾄﾞﾗｲﾌﾞ"), edit(QStringLiteral("SysDrive")));
    addRow(g, 7, 0, QStringLiteral("ＩＥ更新バージョン"), edit(QStringLiteral("IE_Update_Ver")));
    addRow(g, 0, 2, QStringLiteral("資産区分"),
           combo(QStringLiteral("SisanKBN"), QStringLiteral("SisankbnCOMBO")));
    addRow(g, 1, 2, QStringLiteral("購入先"),
           combo(QStringLiteral("Konyusaki"), QStringLiteral("KonyusakiCOMBO")));
    addRow(g, 2, 2, QStringLiteral("リース会社"),
           combo(QStringLiteral("lease"), QStringLiteral("LeaseCOMBO")));
    addRow(g, 3, 2, QStringLiteral("リース契約№"), edit(QStringLiteral("lease_No")));
    addRow(g, 4, 2, QStringLiteral("保守会社"),
           combo(QStringLiteral("Hosyu_Kaisya"), QStringLiteral("HosyuCOMBO")));
    addRow(g, 5, 2, QStringLiteral("保守契約№"), edit(QStringLiteral("Hosyu_No")));
    g->setRowStretch(8, 1);
    g->setColumnStretch(1, 1);
    g->setColumnStretch(3, 1);
    return page;
}

QWidget *TFpcDaityo::buildBikoTab()
{
    auto *page = new QWidget;
    auto *g = new QGridLayout(page);
    QLineEdit *free = edit(QStringLiteral("FREE"), QStringLiteral("FreeEdit"));
    m_firstControls.insert(7, free);
    addRow(g, 0, 0, QStringLiteral("フリースペース"), free);
    QPlainTextEdit *memo = m_binder->memo(QStringLiteral("Biko"), QStringLiteral("BikoMemo"));
    setInputMethod(memo, QStringLiteral("Biko"));
    g->addWidget(new QLabel(QStringLiteral("備　考")), 1, 0, Qt::AlignRight | Qt::AlignTop);
    g->addWidget(memo, 1, 1);
    g->setRowStretch(1, 1);
    return page;
}

QWidget *TFpcDaityo::buildWmiTab()
{
    auto *page = new QWidget;
    auto group
        = [this](const QString &title, const QList<std::pair<const char *, const char *>> &fields) {
              auto *box = new QGroupBox(title);
              auto *g = new QGridLayout(box);
              int row = 0;
              for (const auto &[label, field] : fields)
                  addRow(g, row++, 0, QLatin1String(label), edit(QLatin1String(field)));
              return box;
          };
    auto *g = new QGridLayout;
    g->addWidget(group(QStringLiteral("SMBIOS"),
                       {{"Caption", "SMBIOS_Caption"}, {"Version", "SMBIOS_Version"}}),
                 0, 0);
    g->addWidget(group(QStringLiteral("BIOS"),
                       {{"Vendor", "BIOS_Vendor"},
                        {"Caption", "BIOS_Caption"},
                        {"Version", "BIOS_Version"},
                        {"ReleaseDate", "BIOS_ReleaseDate"},
                        {"SerialNo", "BIOS_SerialNo"}}),
                 1, 0, 2, 1);
    g->addWidget(
        group(QStringLiteral("System"), {{"Vendor", "System_Vendor"}, {"Model", "System_Model"}}),
        0, 1);
    g->addWidget(
        group(QStringLiteral("MotherBoard"),
              {{"Vendor", "MB_Vendor"}, {"Product", "MB_Product"}, {"SerialNo", "MB_SerialNo"}}),
        1, 1);
    g->addWidget(group(QStringLiteral("MotherBoard"),
                       {{"MaxCapaciti", "Memory_MaxCapa"}, {"MemorySlot", "Memory_Slot"}}),
                 2, 1);
    auto *layout = new QHBoxLayout(page);
    layout->addLayout(g, 3);
    layout->addWidget(grid(List::Memory, "PmemoryGrid"), 2);
    return page;
}
