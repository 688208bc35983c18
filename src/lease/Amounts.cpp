#include "Amounts.h"

#include <cmath>

namespace Amounts {

namespace {

std::optional<qint64> ofDouble(double value)
{
    // 2^63 is the first double beyond qint64.
    if (!std::isfinite(value) || value >= 9223372036854775808.0 || value < -9223372036854775808.0)
        return std::nullopt;
    return qint64(std::llround(value));
}

} // namespace

std::optional<qint64> of(const QVariant &amount)
{
    if (amount.isNull())
        return 0;
    bool ok = false;
    switch (amount.typeId()) {
    case QMetaType::ULongLong: {
        const qulonglong value = amount.toULongLong();
        if (value > qulonglong(std::numeric_limits<qint64>::max()))
            return std::nullopt;
        return qint64(value);
    }
    case QMetaType::Double:
    case QMetaType::Float:
        return ofDouble(amount.toDouble());
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString text = amount.toString().trimmed();
        const qint64 value = text.toLongLong(&ok);
        if (ok)
            return value;
        const double number = text.toDouble(&ok);
        return ok ? ofDouble(number) : std::optional<qint64>(0);
    }
    default: {
        const qint64 value = amount.toLongLong(&ok);
        return ok ? value : 0;
    }
    }
}

std::optional<qint64> add(std::optional<qint64> a, std::optional<qint64> b)
{
    qint64 sum = 0;
    if (!a || !b || qAddOverflow(*a, *b, &sum))
        return std::nullopt;
    return sum;
}

QString overflowText()
{
    return QStringLiteral("金額の合計が大きすぎるため計算できません");
}

} // namespace Amounts
