#include "ReportsPage.h"

#include <QPushButton>
#include <QVBoxLayout>

namespace {

QPushButton *reportButton(const QString &caption, const QString &name, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    button->setMinimumSize(220, 40);
    return button;
}

} // namespace

ReportsPage::ReportsPage(QWidget *parent)
    : QWidget(parent), m_pcSheetBTN(reportButton(QStringLiteral("パソコン管理シート"),
                                                 QStringLiteral("PcSheetBTN"), this)),
      m_buKaBTN(
          reportButton(QStringLiteral("部・課別パソコン一覧"), QStringLiteral("BuKaBTN"), this)),
      m_kyoyuBTN(reportButton(QStringLiteral("共有情報一覧"), QStringLiteral("KyoyuBTN"), this))
{
    setObjectName(QStringLiteral("ReportPage"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->setSpacing(12);
    layout->addWidget(m_pcSheetBTN, 0, Qt::AlignLeft);
    layout->addWidget(m_buKaBTN, 0, Qt::AlignLeft);
    layout->addWidget(m_kyoyuBTN, 0, Qt::AlignLeft);
    layout->addStretch();
}
