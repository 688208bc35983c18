#include "UjyufukuPC.h"

#include "DuplicatePairModel.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "kit/WaitCursor.h"
#include "ledger/DistinctPcs.h"
#include "ledger/PcDuplicates.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

using PcMerge::Side;

// The columns of the comparison grid.
enum HikakuColumn { Caption, NewerValue, OlderValue, MergedValue };

// The collected values shown above the ledger values, for telling the two
// PCs apart; the newer PC keeps its own.
struct IdentityRow
{
    const char *column;
    const char *caption;
};
const IdentityRow IdentityRows[] = {{"Key", "Key"},
                                    {"PC_Name", "コンピュータ名"},
                                    {"Host", "ホスト名"},
                                    {"Mac", "Macｱﾄﾞﾚｽ"},
                                    {"InvaroYMD", "Invaroデータ作成日"}};
constexpr int IdentityCount = int(std::size(IdentityRows));

const QColor IdentityColour(240, 240, 240);
const QColor DifferingColour(255, 255, 204); // the light yellow of the current row

// A memo shown on one line.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(u'\n', u' ');
    text.replace(u'\r', u' ');
    return text;
}

QTableWidgetItem *cell(const QString &text, const QColor &background = QColor())
{
    auto *item = new QTableWidgetItem(oneLine(text));
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    if (text.contains(u'\n'))
        item->setToolTip(text);
    if (background.isValid())
        item->setBackground(background);
    return item;
}

} // namespace

TFjyufukuPC::TFjyufukuPC(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FjyufukuPC"), paths, parent), m_dm(dm), m_pairGrid(new TDBGridEx),
      m_pairs(new DuplicatePairModel(this)), m_hikakuGrid(new QTableWidget), m_countLBL(new QLabel),
      m_meisaiLBL(new QLabel), m_mergeBTN(new QPushButton(QStringLiteral("統　合"))),
      m_betuBTN(new QPushButton(QStringLiteral("別のPC")))
{
    setWindowTitle(QStringLiteral("重複したPC"));
    resize(900, 680);

    m_pairGrid->setObjectName(QStringLiteral("PairGrid"));
    m_pairGrid->setModel(m_pairs);
    m_pairGrid->verticalHeader()->hide();
    m_pairGrid->verticalHeader()->setDefaultSectionSize(m_pairGrid->fontMetrics().height() + 6);
    m_pairGrid->horizontalHeader()->setHighlightSections(false);
    m_pairGrid->horizontalHeader()->setStretchLastSection(true);
    m_pairGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pairGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    const int widths[] = {140, 140, 50};
    for (int c = 0; c < int(std::size(widths)); ++c)
        m_pairGrid->setColumnWidth(c, widths[c]);
    auto *copyAll = new QAction(QStringLiteral("全項目ｺﾋﾟｰ"), m_pairGrid);
    copyAll->setObjectName(QStringLiteral("CopyAllMI"));
    connect(copyAll, &QAction::triggered, m_pairGrid, &TDBGridEx::CopyAllFields);
    m_pairGrid->addAction(copyAll);
    m_pairGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(m_pairGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex &current) { showPair(current.row()); });

    m_hikakuGrid->setObjectName(QStringLiteral("HikakuGrid"));
    m_hikakuGrid->setColumnCount(4);
    m_hikakuGrid->verticalHeader()->hide();
    m_hikakuGrid->verticalHeader()->setDefaultSectionSize(m_hikakuGrid->fontMetrics().height() + 6);
    m_hikakuGrid->horizontalHeader()->setHighlightSections(false);
    m_hikakuGrid->horizontalHeader()->setStretchLastSection(true);
    m_hikakuGrid->setSelectionMode(QAbstractItemView::NoSelection);
    m_hikakuGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_hikakuGrid->setColumnWidth(Caption, 130);
    m_hikakuGrid->setColumnWidth(NewerValue, 220);
    m_hikakuGrid->setColumnWidth(OlderValue, 220);
    connect(m_hikakuGrid, &QTableWidget::itemChanged, this, &TFjyufukuPC::choiceClicked);

    m_meisaiLBL->setObjectName(QStringLiteral("MeisaiLBL"));
    m_meisaiLBL->setWordWrap(true);
    m_meisaiLBL->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_countLBL->setObjectName(QStringLiteral("CountLBL"));

    m_mergeBTN->setObjectName(QStringLiteral("MergeBTN"));
    m_betuBTN->setObjectName(QStringLiteral("BetuBTN"));
    auto *closeBTN = new QPushButton(QStringLiteral("閉じる"));
    closeBTN->setObjectName(QStringLiteral("CloseBTN"));
    connect(m_mergeBTN, &QPushButton::clicked, this, &TFjyufukuPC::MergeBTNClick);
    connect(m_betuBTN, &QPushButton::clicked, this, &TFjyufukuPC::BetuBTNClick);
    connect(closeBTN, &QPushButton::clicked, this, &QDialog::accept);
    for (QPushButton *b : {m_mergeBTN, m_betuBTN, closeBTN})
        b->setAutoDefault(false);

    auto *top = new QWidget;
    auto *topLayout = new QVBoxLayout(top);
    topLayout->setContentsMargins(0, 0, 0, 0);
    auto *pairsTitle = new QHBoxLayout;
    pairsTitle->addWidget(new QLabel(QStringLiteral("同じPCと思われる組 (撤去日のある組は最後)")));
    pairsTitle->addStretch();
    pairsTitle->addWidget(m_countLBL);
    topLayout->addLayout(pairsTitle);
    topLayout->addWidget(m_pairGrid);

    auto *bottom = new QWidget;
    auto *bottomLayout = new QVBoxLayout(bottom);
    bottomLayout->setContentsMargins(0, 0, 0, 0);
    bottomLayout->addWidget(new QLabel(
        QStringLiteral("台帳の値 (値が違う項目は、新しいPCに残す方をチェックしてください)")));
    bottomLayout->addWidget(m_hikakuGrid, 1);
    bottomLayout->addWidget(m_meisaiLBL);

    auto *splitter = new QSplitter(Qt::Vertical);
    splitter->addWidget(top);
    splitter->addWidget(bottom);
    splitter->setStretchFactor(0, 1);
    splitter->setStretchFactor(1, 3);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_mergeBTN);
    buttons->addWidget(m_betuBTN);
    buttons->addSpacing(24);
    buttons->addWidget(closeBTN);

    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);
}

void TFjyufukuPC::formShow()
{
    refresh();
}

void TFjyufukuPC::refresh()
{
    PcDuplicates::Result result;
    try {
        WaitCursor wait;
        result = PcDuplicates::find(m_dm);
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
    }
    m_pairs->setPairs(std::move(result.pairs));
    m_countLBL->setText(QStringLiteral("%1 組").arg(m_pairs->rowCount()));
    if (m_pairs->rowCount() > 0)
        m_pairGrid->setCurrentIndex(m_pairs->index(0, 0));
    else
        showPair(-1);
}

void TFjyufukuPC::showPair(int row)
{
    m_plan.reset();
    if (row >= 0 && row < m_pairs->rowCount()) {
        const PcDuplicates::Pair &pair = m_pairs->pairs().at(row);
        try {
            m_plan = PcMerge::Plan::read(m_dm, pair.newerKey, pair.olderKey);
        } catch (const StoreError &e) {
            MessageBoxes::error(this, e.message());
        }
    }
    m_mergeBTN->setEnabled(m_plan.has_value());
    m_betuBTN->setEnabled(m_plan.has_value());
    fillComparison();
    describeRows();
}

int TFjyufukuPC::hikakuRow(int ledgerColumn) const
{
    return IdentityCount + ledgerColumn;
}

void TFjyufukuPC::fillComparison()
{
    m_filling = true;
    m_hikakuGrid->clearContents();
    if (!m_plan) {
        m_hikakuGrid->setRowCount(0);
        m_hikakuGrid->setHorizontalHeaderLabels({QStringLiteral("項目"), QStringLiteral("新しいPC"),
                                                 QStringLiteral("古いPC"),
                                                 QStringLiteral("統合後")});
        m_filling = false;
        if (m_pairs->rowCount() == 0)
            m_meisaiLBL->setText(QStringLiteral("重複したPCは見つかりませんでした。"));
        return;
    }
    const PcMerge::Plan &plan = *m_plan;
    m_hikakuGrid->setHorizontalHeaderLabels(
        {QStringLiteral("項目"), QStringLiteral("新しいPC: %1").arg(plan.newerKey()),
         QStringLiteral("古いPC: %1").arg(plan.olderKey()), QStringLiteral("統合後")});
    const QVector<PcMerge::LedgerColumn> &columns = PcMerge::ledgerColumns();
    m_hikakuGrid->setRowCount(IdentityCount + int(columns.size()));
    for (int r = 0; r < IdentityCount; ++r) {
        const QString column = QLatin1String(IdentityRows[r].column);
        const QString newer = plan.text(Side::Newer, column);
        m_hikakuGrid->setItem(r, Caption,
                              cell(QString::fromUtf8(IdentityRows[r].caption), IdentityColour));
        m_hikakuGrid->setItem(r, NewerValue, cell(newer, IdentityColour));
        m_hikakuGrid->setItem(r, OlderValue, cell(plan.text(Side::Older, column), IdentityColour));
        m_hikakuGrid->setItem(r, MergedValue, cell(newer, IdentityColour));
    }
    const QVector<int> differing = plan.differing();
    for (int i = 0; i < columns.size(); ++i) {
        const int r = hikakuRow(i);
        const bool differs = differing.contains(i);
        const QColor background = differs ? DifferingColour : QColor();
        QTableWidgetItem *caption = cell(columns[i].caption, background);
        if (differs) {
            QFont bold = caption->font();
            bold.setBold(true);
            caption->setFont(bold);
        }
        m_hikakuGrid->setItem(r, Caption, caption);
        for (const Side side : {Side::Newer, Side::Older}) {
            QTableWidgetItem *value = cell(plan.text(side, columns[i].name), background);
            if (differs)
                value->setFlags(value->flags() | Qt::ItemIsUserCheckable);
            m_hikakuGrid->setItem(r, side == Side::Newer ? NewerValue : OlderValue, value);
        }
        m_hikakuGrid->setItem(r, MergedValue, cell(QString(), background));
        showChoice(i);
    }
    m_filling = false;
}

void TFjyufukuPC::showChoice(int ledgerColumn)
{
    const int r = hikakuRow(ledgerColumn);
    const bool wasFilling = m_filling;
    m_filling = true;
    const bool differs = m_plan->differing().contains(ledgerColumn);
    const Side chosen = m_plan->choice(ledgerColumn);
    if (differs) {
        m_hikakuGrid->item(r, NewerValue)
            ->setCheckState(chosen == Side::Newer ? Qt::Checked : Qt::Unchecked);
        m_hikakuGrid->item(r, OlderValue)
            ->setCheckState(chosen == Side::Older ? Qt::Checked : Qt::Unchecked);
    }
    const QString merged = m_plan->merged(ledgerColumn);
    QTableWidgetItem *result = m_hikakuGrid->item(r, MergedValue);
    result->setText(oneLine(merged));
    result->setToolTip(merged.contains(u'\n') ? merged : QString());
    m_filling = wasFilling;
}

void TFjyufukuPC::choiceClicked(QTableWidgetItem *item)
{
    if (m_filling || !m_plan || !(item->flags() & Qt::ItemIsUserCheckable))
        return;
    const int ledgerColumn = item->row() - IdentityCount;
    const Side clicked = item->column() == NewerValue ? Side::Newer : Side::Older;
    const Side other = clicked == Side::Newer ? Side::Older : Side::Newer;
    // Two values, one chosen: checking one chooses it, unchecking it
    // chooses the other.
    m_plan->choose(ledgerColumn, item->checkState() == Qt::Checked ? clicked : other);
    showChoice(ledgerColumn);
}

void TFjyufukuPC::describeRows()
{
    if (!m_plan)
        return;
    QStringList moving;
    QStringList staying;
    for (const PcMerge::DetailRow &row : m_plan->details()) {
        const QString text
            = QStringLiteral("%1「%2」").arg(PcMerge::tableCaption(row.table), row.name);
        (row.moves ? moving : staying) << text;
    }
    QStringList leases;
    for (const PcMerge::LeaseLink &link : m_plan->leases())
        leases << QStringLiteral("%1(%2)").arg(link.lease, link.number);
    QStringList lines;
    const QString separator = QStringLiteral("、");
    lines << QStringLiteral("新しいPCへ移す手入力の明細: %1")
                 .arg(moving.isEmpty() ? QStringLiteral("なし") : moving.join(separator));
    if (!staying.isEmpty())
        lines << QStringLiteral("新しいPCに同じ名前の行があるため移さない明細: %1")
                     .arg(staying.join(separator));
    lines << QStringLiteral("新しいPCへ移すリースの対象PC: %1")
                 .arg(leases.isEmpty() ? QStringLiteral("なし") : leases.join(separator));
    lines << QStringLiteral("古いPC %1 とその他の明細は、統合すると削除されます。")
                 .arg(m_plan->olderKey());
    m_meisaiLBL->setText(lines.join(u'\n'));
}

void TFjyufukuPC::MergeBTNClick()
{
    if (!m_plan)
        return;
    const QString lineBreak = QStringLiteral("\n\r");
    const QString question = QStringLiteral("%1 のデータを %2 に統合し、%1 を削除します。")
                                 .arg(m_plan->olderKey(), m_plan->newerKey())
        + lineBreak + QStringLiteral("よろしいですか？");
    if (!MessageBoxes::warningYesNo(this, question))
        return;
    try {
        WaitCursor wait;
        PcMerge::merge(m_dm, *m_plan);
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        // The plan may be out of date: show the pair as it is now.
        showPair(m_pairGrid->currentIndex().row());
        return;
    }
    m_changedPcs = true;
    setStatusText(
        QStringLiteral("%1 を %2 に統合しました").arg(m_plan->olderKey(), m_plan->newerKey()));
    refresh();
}

void TFjyufukuPC::BetuBTNClick()
{
    if (!m_plan)
        return;
    const QString lineBreak = QStringLiteral("\n\r");
    const QString question
        = QStringLiteral("%1 と %2 を別のPCとして記録し、この組は今後表示しません。")
              .arg(m_plan->newerKey(), m_plan->olderKey())
        + lineBreak + QStringLiteral("よろしいですか？");
    if (!MessageBoxes::yesNo(this, question))
        return;
    try {
        DistinctPcs::mark(m_dm, m_plan->newerKey(), m_plan->olderKey());
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        return;
    }
    refresh();
}
