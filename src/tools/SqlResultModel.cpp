#include "SqlResultModel.h"

#include "base/Cp932.h"
#include "base/DateText.h"
#include "store/Schema.h"
#include "store/StoreValue.h"
#include "views/GridRoles.h"

namespace {

// Whether a date or timestamp column of the catalog has this name.
bool isDateColumn(const QString &name)
{
    for (const TableDef &table : Schema::tables()) {
        const ColumnDef *column = table.column(name);
        if (column && (column->type == ColumnType::Date || column->type == ColumnType::Timestamp))
            return true;
    }
    return false;
}

} // namespace

SqlResultModel::SqlResultModel(QObject *parent) : QAbstractTableModel(parent) { }

void SqlResultModel::setResult(const ReadOnlyQuery::Result &result)
{
    beginResetModel();
    m_result = result;
    m_hasResult = true;
    endResetModel();
}

void SqlResultModel::clear()
{
    beginResetModel();
    m_result = {};
    m_hasResult = false;
    endResetModel();
}

int SqlResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_result.rows.size());
}

int SqlResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_result.columns.size());
}

QVariant SqlResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    if (role != Qt::DisplayRole && role != GridRoles::PlainText)
        return {};
    return text(m_result.columns[index.column()], m_result.rows[index.row()].value(index.column()));
}

QVariant SqlResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < columnCount())
        return m_result.columns[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString SqlResultModel::text(const QString &column, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return QString();
    QVariant typed = value;
    if (value.typeId() == QMetaType::QString) {
        if (isDateColumn(column)) {
            ColumnDef timestamp;
            timestamp.type = ColumnType::Timestamp;
            const QVariant dateTime = StoreValue::fromStore(timestamp, value);
            if (dateTime.isValid())
                typed = dateTime;
        }
    }
    switch (typed.typeId()) {
    case QMetaType::QDate:
        return DateText::shortDate(typed.toDate());
    case QMetaType::QDateTime:
        return DateText::shortDateTime(typed.toDateTime());
    case QMetaType::QByteArray:
        return Cp932::decode(typed.toByteArray());
    default:
        return typed.toString();
    }
}
