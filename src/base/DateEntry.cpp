#include "DateEntry.h"

#include "Cp932.h"
#include "TextHelpers.h"

#include <QRegularExpression>
#include <QTime>

namespace {

constexpr int CenturyWindow = 50;

// "yyyy/mm/dd" with an optional time of day; the parts are read as numbers.
QDate readDate(const QString &text, int currentYear)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,4})/(\\d{1,2})/"
                       "(\\d{1,2})(?:\\s+(\\d{1,2}):(\\d{1,2})(?::(\\d{1,2}))?)?\\s*$"));
    const QRegularExpressionMatch m = form.match(text);
    if (!m.hasMatch())
        return {};
    int year = m.captured(1).toInt();
    if (m.capturedLength(1) <= 2)
        year = DateEntry::windowedYear(year, currentYear);
    if (year < 1)
        return {};
    if (m.capturedLength(4) > 0) {
        const int seconds = m.capturedLength(6) > 0 ? m.captured(6).toInt() : 0;
        if (!QTime::isValid(m.captured(4).toInt(), m.captured(5).toInt(), seconds))
            return {};
    }
    return QDate(year, m.captured(2).toInt(), m.captured(3).toInt());
}

} // namespace

namespace DateEntry {

int windowedYear(int twoDigitYear, int currentYear)
{
    const int base = currentYear - CenturyWindow;
    int year = twoDigitYear + base / 100 * 100;
    if (year < base)
        year += 100;
    return year;
}

} // namespace DateEntry

QString NormalizeDateText(const QString &text)
{
    return NormalizeDateText(text, QDate::currentDate());
}

QString NormalizeDateText(const QString &text, const QDate &today)
{
    const int length = Cp932::byteLength(text);
    if (length < 4)
        throw DateError(text + QStringLiteral("は日付ではありません"));

    QString widened = text;
    if (IsDigits(text)) {
        if (length == 4)
            widened = QString::number(today.year()).rightJustified(4, u'0') + text;
        if (length == 4 || length == 8)
            widened = widened.left(4) + u'/' + widened.mid(4, 2) + u'/' + widened.mid(6);
        else if (length == 6)
            widened = text.left(2) + u'/' + text.mid(2, 2) + u'/' + text.mid(4);
    }

    const QDate date = readDate(widened, today.year());
    if (!date.isValid())
        throw ConversionError(FieldErrorText::notDate(widened));
    return date.toString(QStringLiteral("yyyy/MM/dd"));
}
