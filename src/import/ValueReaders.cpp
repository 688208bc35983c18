#include "ValueReaders.h"

#include <cmath>
#include <limits>

namespace ValueReaders {

std::optional<int> fit32(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<int> integer(const QString &text)
{
    qsizetype i = 0;
    if (!text.isEmpty() && (text[0] == u'+' || text[0] == u'-'))
        i = 1;
    if (i == text.size())
        return std::nullopt;
    // Digits only; more than 10 significant digits never fit, which keeps
    // the accumulation below from overflowing.
    qint64 value = 0;
    int significant = 0;
    for (qsizetype j = i; j < text.size(); ++j) {
        const char16_t c = text[j].unicode();
        if (c < u'0' || c > u'9')
            return std::nullopt;
        if (value != 0 || c != u'0')
            ++significant;
        if (significant > 10)
            return std::nullopt;
        value = value * 10 + (c - u'0');
    }
    return fit32(text[0] == u'-' ? -value : value);
}

std::optional<double> decimal(const QString &text)
{
    // sign? digits* ("." digits*)? with at least one digit, then an
    // optional exponent e sign? digits+.
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto digits = [&]() {
        const qsizetype start = i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9')
            ++i;
        return i - start;
    };
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        ++i;
    qsizetype mantissa = digits();
    if (i < n && text[i] == u'.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0)
        return std::nullopt;
    if (i < n && (text[i] == u'e' || text[i] == u'E')) {
        ++i;
        if (i < n && (text[i] == u'+' || text[i] == u'-'))
            ++i;
        if (digits() == 0)
            return std::nullopt;
    }
    if (i != n)
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> scaled(double value, double factor)
{
    const double v = std::trunc(value * factor);
    if (!std::isfinite(v) || v < std::numeric_limits<qint32>::min()
        || v > std::numeric_limits<qint32>::max())
        return std::nullopt;
    return static_cast<int>(v);
}

} // namespace ValueReaders
