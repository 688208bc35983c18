#include "OverallStatusPage.h"

#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "store/BackgroundReader.h"
#include "store/StoreError.h"
#include "store/StoreReconnector.h"
#include "views/StatisticsModel.h"
#include "views/windows/StatusChart.h"

#include <QAction>
#include <QButtonGroup>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

using Statistics::Grouping;

OverallStatusPage::OverallStatusPage(QWidget *parent)
    : QWidget(parent), JyokyoLBL(new QLabel(this)), m_groupings(new QButtonGroup(this)),
      MakatiButton1(new QPushButton(QStringLiteral("最新の状態に更新"), this)),
      m_splitter(new QSplitter(Qt::Vertical, this)), JyokyoGrid(new TDBGridEx(m_splitter)),
      m_model(new StatisticsModel(this)), Chart1(new StatusChart(m_splitter)),
      m_reader(new BackgroundReader(this))
{
    setObjectName(QStringLiteral("JyokyoPage"));
    JyokyoLBL->setObjectName(QStringLiteral("JyokyoLBL"));
    QFont bold = JyokyoLBL->font();
    bold.setBold(true);
    JyokyoLBL->setFont(bold);
    JyokyoLBL->setMinimumWidth(140);
    MakatiButton1->setObjectName(QStringLiteral("MakatiButton1"));
    MakatiButton1->setAutoDefault(false);

    auto *bar = new QHBoxLayout;
    bar->addWidget(JyokyoLBL);
    const struct
    {
        Grouping grouping;
        const char16_t *caption;
        const char16_t *name;
    } buttons[] = {
        {Grouping::OS, u"OS", u"OSRB"},         {Grouping::Bu, u"部", u"BuRB"},
        {Grouping::Maker, u"ﾒｰｶｰ", u"MakerRB"}, {Grouping::Keijyo, u"形状", u"KeijyoRB"},
        {Grouping::Clock, u"ｸﾛｯｸ", u"ClockRB"},
    };
    for (const auto &b : buttons) {
        auto *radio = new QRadioButton(QString::fromUtf16(b.caption), this);
        radio->setObjectName(QString::fromUtf16(b.name));
        m_groupings->addButton(radio, static_cast<int>(b.grouping));
        bar->addWidget(radio);
    }
    m_groupings->button(static_cast<int>(Grouping::OS))->setChecked(true);
    bar->addStretch();
    bar->addWidget(MakatiButton1);

    JyokyoGrid->setObjectName(QStringLiteral("JyokyoGrid"));
    JyokyoGrid->setModel(m_model);
    JyokyoGrid->horizontalHeader()->setSectionsMovable(false);
    JyokyoGrid->setColumnWidth(0, 240);
    JyokyoGrid->setColumnWidth(1, 80);
    auto *copy = new QAction(QStringLiteral("ｺﾋﾟｰ"), JyokyoGrid);
    copy->setObjectName(QStringLiteral("Copy1"));
    JyokyoGrid->addAction(copy);
    JyokyoGrid->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(copy, &QAction::triggered, JyokyoGrid, &TDBGridEx::CopyAllFields);

    m_splitter->setObjectName(QStringLiteral("Splitter1"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->setStretchFactor(0, 1);
    m_splitter->setStretchFactor(1, 2);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(bar);
    layout->addWidget(m_splitter, 1);

    // OSRBClick ... ClockRBClick: each only asks for RefreshStatistics.
    connect(m_groupings, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            emit groupingChanged();
    });
    connect(MakatiButton1, &QPushButton::clicked, this, &OverallStatusPage::refreshRequested);
}

Grouping OverallStatusPage::grouping() const
{
    const int id = m_groupings->checkedId();
    return id < 0 ? Grouping::OS : static_cast<Grouping>(id);
}

void OverallStatusPage::setGrouping(Grouping grouping)
{
    m_groupings->button(static_cast<int>(grouping))->setChecked(true);
}

QRadioButton *OverallStatusPage::radioButton(Grouping grouping) const
{
    return static_cast<QRadioButton *>(m_groupings->button(static_cast<int>(grouping)));
}

void OverallStatusPage::refresh(TDMdata &dm)
{
    // The statement runs on the reader's thread; the grid, the chart and
    // the total change together when its rows are in.
    const Grouping chosen = grouping();
    m_reader->start(
        dm,
        [this, chosen](BackgroundReader::Job &job) {
            const QVector<Statistics::Row> rows = Statistics::run(job.store(), chosen);
            job.deliver([this, chosen, rows] { showFigures(chosen, rows); });
        },
        [this, &dm](const QString &message, bool lost) {
            if (lost) {
                // The figures stay, marked as not current by the main window.
                StoreReconnector::of(dm).ensure();
                return;
            }
            m_model->clear();
            MessageBoxes::error(this, message);
        });
}

void OverallStatusPage::finishReading()
{
    m_reader->finish();
}

bool OverallStatusPage::isReading() const
{
    return m_reader->isBusy();
}

void OverallStatusPage::showFigures(Grouping chosen, const QVector<Statistics::Row> &rows)
{
    m_model->setRows(rows, Statistics::komokuTitle(chosen), Statistics::kensuTitle(chosen));
    fillChart(chosen, rows);
    JyokyoLBL->setText(Statistics::totalText(Statistics::totalOf(chosen, rows)));
}

void OverallStatusPage::clear()
{
    m_reader->cancel();
    m_model->clear();
    fillChart(grouping(), {});
    JyokyoLBL->clear();
}

void OverallStatusPage::fillChart(Grouping grouping, const QVector<Statistics::Row> &rows)
{
    if (grouping == Grouping::Clock)
        Chart1->showClocks(Statistics::clockBars(rows));
    else
        Chart1->showCounts(Statistics::pieSlices(rows));
}
