#include "OverallStatusPage.h"

OverallStatusPage::OverallStatusPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("JyokyoPage"));
}

void OverallStatusPage::refresh(TDMdata &dm)
{
    // The statistics and the chart are not built yet.
    Q_UNUSED(dm);
}
