#include "LeasePage.h"

LeasePage::LeasePage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("LeasePage"));
}

void LeasePage::refresh(TDMdata &dm)
{
    // The lease list is not built yet.
    Q_UNUSED(dm);
}

void LeasePage::clear() { }
