#include "ApplicationsPage.h"

ApplicationsPage::ApplicationsPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("AppliPage"));
}

void ApplicationsPage::refreshAppliPcGrid(TDMdata &dm)
{
    // The application view is not built yet.
    Q_UNUSED(dm);
}

void ApplicationsPage::fitColumns() { }

void ApplicationsPage::clear() { }
