#include "StatusChart.h"

#include "ClockBarView.h"
#include "Pie3DWidget.h"

#include <QLabel>
#include <QStackedWidget>
#include <QVBoxLayout>

StatusChart::StatusChart(QWidget *parent)
    : QWidget(parent), m_stack(new QStackedWidget(this)), m_pie(new Pie3DWidget(m_stack)),
      m_barPage(new QWidget(m_stack)), m_hint(new QLabel(m_barPage)),
      m_bars(new ClockBarView(m_barPage))
{
    setObjectName(QStringLiteral("Chart1"));
    m_hint->setObjectName(QStringLiteral("HintLBL"));
    m_hint->setAlignment(Qt::AlignCenter);
    m_hint->hide();
    // The hint sits on the chart's white, like the pie.
    m_barPage->setAutoFillBackground(true);
    QPalette white = m_barPage->palette();
    white.setColor(QPalette::Window, Qt::white);
    m_barPage->setPalette(white);

    auto *barLayout = new QVBoxLayout(m_barPage);
    barLayout->setContentsMargins(0, 0, 0, 0);
    barLayout->setSpacing(2);
    barLayout->addWidget(m_hint);
    barLayout->addWidget(m_bars, 1);

    m_stack->addWidget(m_pie);
    m_stack->addWidget(m_barPage);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_stack);
}

void StatusChart::showCounts(const QVector<Statistics::ChartPoint> &slices)
{
    m_hint->clear();
    m_hint->hide();
    m_bars->clear();
    m_pie->setSlices(slices);
    m_stack->setCurrentWidget(m_pie);
}

void StatusChart::showClocks(const QVector<Statistics::ChartPoint> &bars)
{
    m_pie->clear();
    m_hint->setText(QStringLiteral("ﾏｳｽﾄﾞﾗｯｸﾞでｽﾞｰﾑ\n右ｸﾘｯｸ+ﾄﾞﾗｯｸﾞでｽｸﾛｰﾙ"));
    m_hint->show();
    m_bars->setBars(bars);
    m_stack->setCurrentWidget(m_barPage);
}

bool StatusChart::isBarView() const
{
    return m_stack->currentWidget() == m_barPage;
}

QString StatusChart::hintText() const
{
    return m_hint->text();
}

bool StatusChart::isHintShown() const
{
    return isBarView() && m_hint->isVisibleTo(m_barPage);
}
