#include "ReportRows.h"

#include "base/DateText.h"
#include "store/Schema.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSet>
#include <QSqlRecord>

ReportRows ReportRows::read(QSqlQuery &query, const TableDef &table)
{
    return read(query, {&table});
}

ReportRows ReportRows::read(QSqlQuery &query, const QVector<const TableDef *> &tables,
                            const QStringList &only)
{
    TDMdata::exec(query);
    ReportRows rows;
    QSet<QString> wanted;
    for (const QString &name : only)
        wanted.insert(name.toLower());
    const QSqlRecord record = query.record();
    QVector<int> kept; // the query's columns that are kept, in order
    QVector<const ColumnDef *> columns;
    for (int i = 0; i < record.count(); ++i) {
        const QString name = record.fieldName(i).toLower();
        if ((!wanted.isEmpty() && !wanted.contains(name)) || rows.m_index.contains(name))
            continue;
        rows.m_index.insert(name, int(kept.size()));
        kept.append(i);
        const ColumnDef *def = nullptr;
        for (const TableDef *table : tables) {
            def = table->column(name);
            if (def)
                break;
        }
        columns.append(def);
    }
    while (query.next()) {
        QVector<QVariant> row(kept.size());
        for (int i = 0; i < kept.size(); ++i) {
            const QVariant raw = query.value(kept[i]);
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
