#include "StoreRequired.h"

#include "MessageBoxes.h"
#include "store/UDMdata.h"

bool StoreRequired::ensureConnected(QWidget *parent, const TDMdata *dm)
{
    if (dm && dm->isConnected())
        return true;
    MessageBoxes::error(parent, QStringLiteral("データベースに接続していません"));
    return false;
}
