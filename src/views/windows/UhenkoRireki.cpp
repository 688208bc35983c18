#include "UhenkoRireki.h"

#include "base/DateEntry.h"
#include "base/DateText.h"
#include "export/CsvExport.h"
#include "export/windows/ExportCommand.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "kit/WaitCursor.h"
#include "ledger/ChoiceLists.h"
#include "store/History.h"
#include "store/StoreError.h"
#include "views/HistoryModel.h"

#include <QAction>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

namespace {

const QString All = QStringLiteral("（すべて）");

// How far back the window looks when it opens.
constexpr int DefaultDays = 30;

QString askSaveFile(QWidget *parent, const QString &caption, const QString &filter,
                    QString *selectedFilter)
{
    return QFileDialog::getSaveFileName(parent, caption, QString(), filter, selectedFilter,
                                        QFileDialog::DontConfirmOverwrite);
}

QComboBox *combo(const char *name, const QStringList &entries)
{
    auto *box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    box->addItem(All);
    box->addItems(entries);
    return box;
}

// The choice of a combo: empty for all.
QString choice(const QComboBox *box)
{
    return box->currentIndex() > 0 ? box->currentText() : QString();
}

} // namespace

TFhenkoRireki::TFhenkoRireki(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FhenkoRireki"), paths, parent), m_dm(dm), m_sinceEDT(new QLineEdit),
      m_untilEDT(new QLineEdit), m_buCB(combo("BuCB", {})), m_tableCB(combo("TableCB", {})),
      m_operationCB(combo("OperationCB", History::operations())), m_countLBL(new QLabel),
      m_grid(new TDBGridEx), m_model(new HistoryModel(HistoryModel::allColumns(), this)),
      m_saveDialog(askSaveFile)
{
    setWindowTitle(QStringLiteral("変更履歴"));
    resize(1040, 600);

    m_sinceEDT->setObjectName(QStringLiteral("SinceEDT"));
    m_untilEDT->setObjectName(QStringLiteral("UntilEDT"));
    for (QLineEdit *e : {m_sinceEDT, m_untilEDT}) {
        e->setMaximumWidth(100);
        e->setPlaceholderText(QStringLiteral("yyyy/mm/dd"));
    }
    const QDate today = QDate::currentDate();
    m_sinceEDT->setText(DateText::shortDate(today.addDays(-DefaultDays)));
    m_untilEDT->setText(DateText::shortDate(today));
    for (const TableDef &t : Schema::tables()) {
        if (Schema::holdsPcRows(t.id))
            m_tableCB->addItem(t.name);
    }
    for (QComboBox *box : {m_buCB, m_tableCB, m_operationCB})
        box->setMinimumWidth(110);
    m_countLBL->setObjectName(QStringLiteral("CountLBL"));

    auto *hyojiBTN = new QPushButton(QStringLiteral("表　示"));
    hyojiBTN->setObjectName(QStringLiteral("HyojiBTN"));
    connect(hyojiBTN, &QPushButton::clicked, this, &TFhenkoRireki::HyojiBTNClick);
    auto *filters = new QHBoxLayout;
    filters->addWidget(new QLabel(QStringLiteral("期間")));
    filters->addWidget(m_sinceEDT);
    filters->addWidget(new QLabel(QStringLiteral("～")));
    filters->addWidget(m_untilEDT);
    filters->addSpacing(12);
    filters->addWidget(new QLabel(QStringLiteral("部")));
    filters->addWidget(m_buCB);
    filters->addWidget(new QLabel(QStringLiteral("テーブル")));
    filters->addWidget(m_tableCB);
    filters->addWidget(new QLabel(QStringLiteral("操作")));
    filters->addWidget(m_operationCB);
    filters->addStretch();
    filters->addWidget(hyojiBTN);

    m_grid->setObjectName(QStringLiteral("RirekiGrid"));
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setSectionsMovable(true);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    const QVector<int> widths {140, 55, 110, 80, 75, 170, 110, 130};
    for (int c = 0; c < widths.size(); ++c)
        m_grid->setColumnWidth(c, widths[c]);
    const auto action = [this](const char *name, const QString &caption, auto handler) {
        auto *a = new QAction(caption, m_grid);
        a->setObjectName(QLatin1String(name));
        connect(a, &QAction::triggered, m_grid, handler);
        m_grid->addAction(a);
    };
    action("CopyAllMI", QStringLiteral("全項目ｺﾋﾟｰ"), &TDBGridEx::CopyAllFields);
    action("CopyShownMI", QStringLiteral("表示項目のみｺﾋﾟｰ"), &TDBGridEx::CopyShownColumns);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *csvBTN = new QPushButton(QStringLiteral("CSV出力..."));
    csvBTN->setObjectName(QStringLiteral("CsvBTN"));
    connect(csvBTN, &QPushButton::clicked, this, &TFhenkoRireki::CsvBTNClick);
    auto *closeBTN = new QPushButton(QStringLiteral("閉じる"));
    closeBTN->setObjectName(QStringLiteral("CloseBTN"));
    connect(closeBTN, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton *b : {hyojiBTN, csvBTN, closeBTN})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_countLBL);
    buttons->addStretch();
    buttons->addWidget(csvBTN);
    buttons->addWidget(closeBTN);

    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addLayout(filters);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
}

void TFhenkoRireki::formShow()
{
    try {
        QStringList departments
            = ChoiceLists::entries(m_dm, ChoiceLists::ofField(QStringLiteral("Bu")));
        departments.removeAll(QString());
        m_buCB->addItems(departments);
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
    }
    HyojiBTNClick();
}

bool TFhenkoRireki::dateOf(QLineEdit *edit, QDate &date)
{
    date = QDate();
    const QString text = edit->text().trimmed();
    if (text.isEmpty())
        return true;
    try {
        const QString normal = NormalizeDateText(text);
        edit->setText(normal);
        date = QDate::fromString(normal, QStringLiteral("yyyy/MM/dd"));
    } catch (const InputError &e) {
        MessageBoxes::error(this, e.message());
        edit->setFocus();
        return false;
    }
    return true;
}

bool TFhenkoRireki::filter(HistoryFilter &filter)
{
    filter = HistoryFilter();
    if (!dateOf(m_sinceEDT, filter.since) || !dateOf(m_untilEDT, filter.until))
        return false;
    filter.department = choice(m_buCB);
    filter.table = choice(m_tableCB);
    filter.operation = choice(m_operationCB);
    filter.newestFirst = true;
    return true;
}

void TFhenkoRireki::HyojiBTNClick()
{
    HistoryFilter f;
    if (!filter(f))
        return;
    QVector<HistoryLine> lines;
    try {
        WaitCursor wait;
        lines = HistoryReader::read(m_dm, f);
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        return;
    }
    m_countLBL->setText(QStringLiteral("%1 件").arg(lines.size()));
    m_model->setLines(std::move(lines));
}

void TFhenkoRireki::CsvBTNClick()
{
    QString selectedFilter;
    QString name = m_saveDialog(this, QStringLiteral("変更履歴保存"), ExportCommand::dialogFilter(),
                                &selectedFilter);
    if (name.isEmpty())
        return;
    name = ExportCommand::withDefaultExtension(name, selectedFilter);

    // The lines shown, every column as text, through the CSV export.
    const QVector<HistoryModel::Column> all = HistoryModel::allColumns();
    QVector<CsvExport::Column> columns;
    for (HistoryModel::Column c : all)
        columns.append({HistoryModel::title(c), CsvExport::FieldKind::Text, nullptr});
    // Each attempt (CP932 first, UTF-8 when a line needs it) reads the lines afresh.
    const auto pages = [&]() -> CsvExport::PageSource {
        auto given = std::make_shared<bool>(false);
        return [this, all, given](QVector<QVariantList> &page, QString &) {
            page.clear();
            if (*given)
                return true;
            *given = true;
            for (const HistoryLine &line : m_model->lines()) {
                QVariantList row;
                for (HistoryModel::Column c : all)
                    row << HistoryModel::text(line, c);
                page << row;
            }
            return true;
        };
    };
    CsvExport::Result result;
    {
        WaitCursor wait;
        result = CsvExport::writeRows(name, columns, pages, &CsvExport::field);
    }
    if (!result.ok)
        MessageBoxes::error(this, result.error);
}
