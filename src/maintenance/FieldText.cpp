#include "FieldText.h"

#include "base/Cp932.h"
#include "base/DateText.h"
#include "store/StoreValue.h"

#include <QLocale>
#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace {

const QString Morning = QStringLiteral("午前");
const QString Afternoon = QStringLiteral("午後");

QDate parseDate(const QRegularExpressionMatch &m)
{
    return QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
}

bool parseInteger(const QString &text, QVariant &value, QString &reason)
{
    static const QRegularExpression digits(QStringLiteral("^[+-]?[0-9]+$"));
    if (!digits.match(text).hasMatch()) {
        reason = QStringLiteral("整数ではありません: %1").arg(text);
        return false;
    }
    bool ok = false;
    const qlonglong n = text.toLongLong(&ok);
    if (!ok || n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max()) {
        reason
            = QStringLiteral("整数の範囲 (-2147483648～2147483647) を超えています: %1").arg(text);
        return false;
    }
    value = int(n);
    return true;
}

bool parseFloat(const QString &text, QVariant &value, QString &reason)
{
    bool ok = false;
    const double d = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(d)) {
        reason = QStringLiteral("数値ではありません: %1").arg(text);
        return false;
    }
    value = d;
    return true;
}

bool parseDate(const QString &text, QVariant &value, QString &reason)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{4})/([0-9]{1,2})/([0-9]{1,2})$"));
    const QRegularExpressionMatch m = form.match(text);
    const QDate date = m.hasMatch() ? parseDate(m) : QDate();
    if (!date.isValid()) {
        reason = QStringLiteral("日付 (yyyy/mm/dd) ではありません: %1").arg(text);
        return false;
    }
    value = date;
    return true;
}

bool parseTimestamp(const QString &text, QVariant &value, QString &reason)
{
    static const QRegularExpression form(
        QStringLiteral("^([0-9]{4})/([0-9]{1,2})/([0-9]{1,2})"
                       "(?:\\s+([0-9]{1,2}):([0-9]{1,2})(?::([0-9]{1,2})(?:\\.([0-9]{1,3}))?)?"
                       "(?:\\s*(午前|午後|AM|PM))?)?$"),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = form.match(text);
    QDateTime result;
    if (m.hasMatch()) {
        const QDate date = parseDate(m);
        int hour = m.captured(4).toInt();
        const QString marker = m.captured(8).toUpper();
        bool hourFits = hour <= 23;
        if (!marker.isEmpty()) {
            // A 12-hour clock: 12 is the first hour of the morning or the
            // afternoon.
            hourFits = hour <= 12;
            hour %= 12;
            if (marker == Afternoon || marker == QLatin1String("PM"))
                hour += 12;
        }
        // ".5" is half a second.
        const int ms = m.captured(7).leftJustified(3, u'0').toInt();
        const QTime time(hour, m.captured(5).toInt(), m.captured(6).toInt(), ms);
        if (date.isValid() && hourFits && time.isValid())
            result = QDateTime(date, time);
    }
    if (!result.isValid()) {
        reason = QStringLiteral("日時 (yyyy/mm/dd hh:mm:ss) ではありません: %1").arg(text);
        return false;
    }
    value = result;
    return true;
}

bool parseText(const ColumnDef &column, const QString &text, QVariant &value, QString &reason)
{
    if (column.type == ColumnType::Character && Cp932::byteLength(text) > column.width) {
        reason = QStringLiteral("%1 バイトを超えています").arg(column.width);
        return false;
    }
    value = text;
    return true;
}

} // namespace

namespace FieldText {

QString text(const ColumnDef &column, const QVariant &value)
{
    return StoreValue::displayText(column, value);
}

QString dumpTimestamp(const QDateTime &value)
{
    if (!value.isValid())
        return QString();
    const QTime time = value.time();
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return DateText::shortDate(value.date())
        + QStringLiteral(" %1:%2:%3.%4 %5")
              .arg(hour, 2, 10, QLatin1Char('0'))
              .arg(time.minute(), 2, 10, QLatin1Char('0'))
              .arg(time.second(), 2, 10, QLatin1Char('0'))
              .arg(time.msec(), 3, 10, QLatin1Char('0'))
              .arg(time.hour() < 12 ? Morning : Afternoon);
}

bool parse(const ColumnDef &column, const QString &text, QVariant &value, QString &reason)
{
    value = QVariant();
    if (column.type == ColumnType::Character || column.type == ColumnType::Memo) {
        if (text.isEmpty())
            return true;
        return parseText(column, text, value, reason);
    }
    const QString trimmed = text.trimmed();
    if (trimmed.isEmpty())
        return true;
    switch (column.type) {
    case ColumnType::Integer:
        return parseInteger(trimmed, value, reason);
    case ColumnType::Float:
        return parseFloat(trimmed, value, reason);
    case ColumnType::Date:
        return parseDate(trimmed, value, reason);
    case ColumnType::Timestamp:
        return parseTimestamp(trimmed, value, reason);
    case ColumnType::Character:
    case ColumnType::Memo:
        break;
    }
    return true;
}

} // namespace FieldText
