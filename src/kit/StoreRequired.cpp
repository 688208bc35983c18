#include "StoreRequired.h"

#include "MessageBoxes.h"
#include "store/StoreReconnector.h"
#include "store/UDMdata.h"

bool StoreRequired::ensureConnected(QWidget *parent, TDMdata *dm)
{
    if (!dm || !dm->isConnected()) {
        MessageBoxes::error(parent, QStringLiteral("データベースに接続していません"));
        return false;
    }
    StoreReconnector &reconnector = StoreReconnector::of(*dm);
    if (reconnector.ensure())
        return true;
    QString text = unreachableText();
    if (!reconnector.reason().isEmpty())
        text += u'\n' + reconnector.reason();
    MessageBoxes::error(parent, text);
    return false;
}

QString StoreRequired::unreachableText()
{
    return QStringLiteral("データベースサーバーに接続できません。再接続しています。\n"
                          "しばらくしてからやり直してください。");
}
