#include "SqlResultModel.h"

#include "base/Cp932.h"
#include "base/DateText.h"
#include "base/GridRoles.h"
#include "store/Schema.h"
#include "store/StoreValue.h"

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

void SqlResultModel::setColumns(const QStringList &columns)
{
    beginResetModel();
    m_columns = columns;
    m_rows.clear();
    m_bytes = 0;
    m_hasResult = true;
    m_moreAvailable = false;
    endResetModel();
}

void SqlResultModel::appendRows(const QVector<QVariantList> &rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows(QModelIndex(), int(m_rows.size()), int(m_rows.size() + rows.size() - 1));
    for (const QVariantList &row : rows) {
        m_bytes += rowBytes(row);
        m_rows.append(row);
    }
    endInsertRows();
}

void SqlResultModel::clear()
{
    beginResetModel();
    m_columns.clear();
    m_rows.clear();
    m_bytes = 0;
    m_hasResult = false;
    m_moreAvailable = false;
    endResetModel();
}

bool SqlResultModel::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_moreAvailable;
}

void SqlResultModel::fetchMore(const QModelIndex &parent)
{
    if (canFetchMore(parent))
        emit moreRowsWanted();
}

qint64 SqlResultModel::rowBytes(const QVariantList &row)
{
    qint64 bytes = 64;
    for (const QVariant &value : row) {
        bytes += qint64(sizeof(QVariant));
        if (value.typeId() == QMetaType::QString)
            bytes += 32 + value.toString().size() * qint64(sizeof(QChar));
        else if (value.typeId() == QMetaType::QByteArray)
            bytes += 32 + value.toByteArray().size();
    }
    return bytes;
}

int SqlResultModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int SqlResultModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant SqlResultModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const QString &column = m_columns[index.column()];
    const QVariant &value = m_rows[index.row()].at(index.column());
    if (role == Qt::DisplayRole)
        return shownText(column, value);
    if (role == GridRoles::PlainText)
        return text(column, value);
    return {};
}

QVariant SqlResultModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < columnCount())
        return m_columns[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}

QString SqlResultModel::shownText(const QString &column, const QVariant &value)
{
    const QString more = QStringLiteral("…");
    if (value.typeId() == QMetaType::QByteArray) {
        // Two bytes at most per character: enough bytes for the characters
        // shown, a character cut in two at the end shows as "…" anyway.
        const QByteArray bytes = value.toByteArray(); // shared, not copied
        if (bytes.size() <= 2 * ShownChars)
            return text(column, value);
        return Cp932::decode(bytes.left(2 * ShownChars)).left(ShownChars) + more;
    }
    if (value.typeId() == QMetaType::QString) {
        const QString string = value.toString();
        if (string.size() > ShownChars)
            return string.left(ShownChars) + more;
    }
    return text(column, value);
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
