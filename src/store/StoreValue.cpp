#include "StoreValue.h"

#include "StoreError.h"
#include "base/Cp932.h"
#include "base/DateText.h"

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <limits>

namespace {

const QString TimestampFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");

QVariant nullOf(QMetaType::Type type)
{
    return QVariant(QMetaType(type));
}

QDate toDate(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    default:
        break;
    }
    const QString s = value.toString().trimmed();
    if (s.isEmpty())
        return {};
    return QDate::fromString(s.left(10), Qt::ISODate);
}

QDateTime toDateTime(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDateTime:
        return value.toDateTime();
    case QMetaType::QDate:
        return value.toDate().startOfDay();
    default:
        break;
    }
    QString s = value.toString().trimmed();
    if (s.isEmpty())
        return {};
    if (s.size() > 10 && s[10] == QLatin1Char(' '))
        s[10] = QLatin1Char('T');
    QDateTime dt = QDateTime::fromString(s, Qt::ISODateWithMs);
    if (!dt.isValid()) {
        const QDate d = QDate::fromString(s.left(10), Qt::ISODate);
        if (d.isValid())
            dt = d.startOfDay();
    }
    return dt;
}

} // namespace

namespace StoreValue {

QVariant text(const QString &value)
{
    return value.isEmpty() ? nullOf(QMetaType::QString) : QVariant(value);
}

QVariant toStore(const ColumnDef &column, const QVariant &value, Engine engine)
{
    const bool isNull = value.isNull() || !value.isValid();
    switch (column.type) {
    case ColumnType::Character: {
        if (isNull)
            return nullOf(QMetaType::QString);
        return text(Cp932::truncate(value.toString(), column.width));
    }
    case ColumnType::Memo:
        return isNull ? nullOf(QMetaType::QString) : text(value.toString());
    case ColumnType::Integer: {
        if (isNull || value.toString().trimmed().isEmpty())
            return nullOf(QMetaType::Int);
        bool ok = false;
        const qlonglong n = value.toLongLong(&ok);
        if (!ok)
            throw StoreError(QStringLiteral("'%1' は整数ではありません").arg(value.toString()));
        if (n < std::numeric_limits<qint32>::min() || n > std::numeric_limits<qint32>::max())
            throw StoreError(QStringLiteral("%1: %2 は整数の範囲を超えています")
                                 .arg(column.name, value.toString()));
        return QVariant(static_cast<int>(n));
    }
    case ColumnType::Float: {
        if (isNull || value.toString().trimmed().isEmpty())
            return nullOf(QMetaType::Double);
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (!ok)
            throw StoreError(QStringLiteral("'%1' は数値ではありません").arg(value.toString()));
        return QVariant(d);
    }
    case ColumnType::Date: {
        const QDate d = isNull ? QDate() : toDate(value);
        if (!d.isValid())
            return nullOf(QMetaType::QDate);
        if (engine == Engine::SQLite)
            return d.toString(Qt::ISODate);
        return d;
    }
    case ColumnType::Timestamp: {
        const QDateTime dt = isNull ? QDateTime() : toDateTime(value);
        if (!dt.isValid())
            return nullOf(QMetaType::QDateTime);
        return dt.toString(TimestampFormat);
    }
    }
    return value;
}

QVariant fromStore(const ColumnDef &column, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (column.type) {
    case ColumnType::Character:
    case ColumnType::Memo:
        return value.toString();
    case ColumnType::Integer:
        return value.toInt();
    case ColumnType::Float:
        return value.toDouble();
    case ColumnType::Date: {
        const QDate d = toDate(value);
        return d.isValid() ? QVariant(d) : QVariant();
    }
    case ColumnType::Timestamp: {
        const QDateTime dt = toDateTime(value);
        return dt.isValid() ? QVariant(dt) : QVariant();
    }
    }
    return value;
}

QString displayText(const ColumnDef &column, const QVariant &value)
{
    const QVariant typed = fromStore(column, value);
    if (typed.isNull())
        return QString();
    switch (column.type) {
    case ColumnType::Integer:
        return QString::number(typed.toLongLong());
    case ColumnType::Float:
        return QString::number(typed.toDouble(), 'g', QLocale::FloatingPointShortest);
    case ColumnType::Date:
        return DateText::shortDate(typed.toDate());
    case ColumnType::Timestamp:
        return DateText::shortDateTime(typed.toDateTime());
    case ColumnType::Character:
    case ColumnType::Memo:
        break;
    }
    return typed.toString();
}

} // namespace StoreValue
