// A typed date (the input as UTF-8 text) through NormalizeDateText, with a
// fixed today, and the era text of the date it gives; the first bytes also
// name a day of the years 1 to 9999 for the era text.
//
// Rules: only DateError and ConversionError refuse a text; what is taken
// is a valid "yyyy/mm/dd" that ParseYMD reads and that normalises to itself;
// digits other than 0-9 are refused or mean what they say.

#include "FuzzSupport.h"
#include "base/DateEntry.h"
#include "base/JapaneseEra.h"
#include "base/TextHelpers.h"

#include <cstring>
#include <optional>

namespace {

const QDate Today(2026, 12, 9);

std::optional<QString> normalized(const QString &text)
{
    try {
        return NormalizeDateText(text, Today);
    } catch (const DateError &) {
    } catch (const ConversionError &) { }
    return std::nullopt;
}

// The text with every decimal digit of any script written as 0-9.
QString asciiDigits(const QString &text)
{
    QString out = text;
    for (QChar &c : out) {
        const int digit = c.digitValue();
        if (digit >= 0 && digit <= 9)
            c = QChar(u'0' + digit);
    }
    return out;
}

void checkEra(const QDate &date)
{
    const QString text = JapaneseEra::warekiText(date);
    Fuzz::check(text.contains(QString::number(date.year()).rightJustified(4, u'0')),
                QStringLiteral("era text without its year: ") + text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString text = QString::fromUtf8(Fuzz::bytes(data, size));
    if (const std::optional<QString> result = normalized(text)) {
        const QDate date = QDate::fromString(*result, QStringLiteral("yyyy/MM/dd"));
        Fuzz::check(date.isValid() && result->size() == 10,
                    QStringLiteral("not a date: %1 -> %2").arg(text, *result));
        Fuzz::check(ParseYMD(*result) == date,
                    QStringLiteral("ParseYMD differs: %1 -> %2").arg(text, *result));
        Fuzz::check(normalized(*result) == result,
                    QStringLiteral("not stable: %1 -> %2").arg(text, *result));
        const std::optional<QString> plain = normalized(asciiDigits(text));
        Fuzz::check(!plain || plain == result,
                    QStringLiteral("digits misread: %1 -> %2, not %3")
                        .arg(text, *result, plain.value_or(QString())));
        checkEra(date);
    }
    if (size >= 4) {
        quint32 day = 0;
        std::memcpy(&day, data, sizeof day);
        const qint64 first = QDate(1, 1, 1).toJulianDay();
        const qint64 last = QDate(9999, 12, 31).toJulianDay();
        checkEra(QDate::fromJulianDay(first + qint64(day % quint32(last - first + 1))));
    }
    return 0;
}
