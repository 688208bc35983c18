#include "InputError.h"

namespace FieldErrorText {

QString notDate(const QString &text)
{
    return QStringLiteral("'%1' は日付または時刻ではありません").arg(text);
}

QString notInteger(const QString &text, const QString &field)
{
    return QStringLiteral("'%1' は項目 '%2' に適した整数値ではありません").arg(text, field);
}

QString notFloat(const QString &text, const QString &field)
{
    return QStringLiteral("'%1' は項目 '%2' に適した浮動小数点数値ではありません").arg(text, field);
}

QString required(const QString &field)
{
    return QStringLiteral("項目 '%1' の値が必要です").arg(field);
}

QString duplicateKey(const QString &index, const QString &table)
{
    return QStringLiteral("Duplicate key found in the index '%1' of the table '%2'")
        .arg(index, table);
}

} // namespace FieldErrorText
