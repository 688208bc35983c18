#include "PcListPage.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

PcListPage::PcListPage(QWidget *parent)
    : QWidget(parent), m_autoRefreshCB(new QCheckBox(QStringLiteral("自動更新"), this)),
      m_refreshBTN(new QPushButton(QStringLiteral("最新の状態に更新"), this)),
      m_grid(new QTableView(this))
{
    setObjectName(QStringLiteral("PcListPage"));
    m_autoRefreshCB->setObjectName(QStringLiteral("JidoKosinCB"));
    m_refreshBTN->setObjectName(QStringLiteral("RefreshBTN"));
    m_refreshBTN->setAutoDefault(false);
    m_grid->setObjectName(QStringLiteral("PCGrid"));

    auto *tools = new QHBoxLayout;
    tools->addStretch();
    tools->addWidget(m_autoRefreshCB);
    tools->addWidget(m_refreshBTN);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(m_grid, 1);

    setAutoRefresh(true);
    connect(m_autoRefreshCB, &QCheckBox::toggled, this, [this](bool on) {
        m_refreshBTN->setEnabled(!on);
        emit autoRefreshChanged(on);
    });
}

void PcListPage::setAutoRefresh(bool on)
{
    m_autoRefreshCB->setChecked(on);
    m_refreshBTN->setEnabled(!on);
}

bool PcListPage::autoRefresh() const
{
    return m_autoRefreshCB->isChecked();
}

void PcListPage::refresh(TDMdata &dm)
{
    // The list query is not built yet.
    Q_UNUSED(dm);
}
