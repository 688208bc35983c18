#include "ReportRows.h"

#include "base/DateText.h"
#include "store/Schema.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSqlRecord>

ReportRows ReportRows::read(QSqlQuery &query, const TableDef &table)
{
    TDMdata::exec(query);
    ReportRows rows;
    const QSqlRecord record = query.record();
    QVector<const ColumnDef *> columns(record.count());
    for (int i = 0; i < record.count(); ++i) {
        rows.m_index.insert(record.fieldName(i).toLower(), i);
        columns[i] = table.column(record.fieldName(i));
    }
    while (query.next()) {
        QVector<QVariant> row(columns.size());
        for (int i = 0; i < columns.size(); ++i) {
            const QVariant raw = query.value(i);
            row[i] = columns[i] ? StoreValue::fromStore(*columns[i], raw) : raw;
        }
        rows.m_rows.append(row);
    }
    query.finish();
    return rows;
}

bool ReportRows::hasField(const QString &field) const
{
    return m_index.contains(field.toLower());
}

QVariant ReportRows::value(int row, const QString &field) const
{
    const int column = m_index.value(field.toLower(), -1);
    if (row < 0 || row >= m_rows.size() || column < 0)
        return {};
    return m_rows[row][column];
}

QString ReportRows::text(int row, const QString &field) const
{
    return displayText(value(row, field));
}

QString ReportRows::displayText(const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    switch (value.typeId()) {
    case QMetaType::QDate:
        return DateText::shortDate(value.toDate());
    case QMetaType::QDateTime:
        return DateText::shortDateTime(value.toDateTime());
    case QMetaType::Double:
        return QString::number(value.toDouble(), 'g', 15);
    default:
        return value.toString();
    }
}
