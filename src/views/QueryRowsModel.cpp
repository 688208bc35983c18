#include "QueryRowsModel.h"

#include "DisplayFormat.h"
#include "base/DateText.h"
#include "base/GridRoles.h"

#include <QDateTime>

namespace {

// A date as either engine gives it: a date or date-time, or SQLite's text.
QDate dateOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QDate:
        return value.toDate();
    case QMetaType::QDateTime:
        return value.toDateTime().date();
    default:
        return QDate::fromString(value.toString().left(10), Qt::ISODate);
    }
}

} // namespace

QueryRowsModel::QueryRowsModel(QVector<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns)), m_source(m_columns.size(), -1)
{ }

void QueryRowsModel::setRows(const QueryRows &result)
{
    beginResetModel();
    m_resultColumns = result.columns;
    for (int c = 0; c < m_columns.size(); ++c) {
        m_source[c] = -1;
        for (int r = 0; r < result.columns.size(); ++r) {
            if (result.columns[r].compare(m_columns[c].field, Qt::CaseInsensitive) == 0) {
                m_source[c] = r;
                break;
            }
        }
    }
    m_rows = result.rows;
    endResetModel();
}

void QueryRowsModel::clear()
{
    setRows({});
}

QVariant QueryRowsModel::value(int row, const QString &field) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    for (int r = 0; r < m_resultColumns.size(); ++r) {
        if (m_resultColumns[r].compare(field, Qt::CaseInsensitive) == 0)
            return m_rows[row].value(r);
    }
    return {};
}

int QueryRowsModel::rowOf(const QString &field, const QString &text) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        if (value(row, field).toString() == text)
            return row;
    }
    return -1;
}

int QueryRowsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int QueryRowsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QString QueryRowsModel::formatted(const QVariant &value, Format format)
{
    if (value.isNull())
        return QString();
    switch (format) {
    case Format::Plain:
        break;
    case Format::Thousands:
        return DisplayFormat::thousands(value.toLongLong());
    case Format::ThousandsZero: {
        const QString text = DisplayFormat::thousands(value.toLongLong());
        return text.isEmpty() ? QStringLiteral("0") : text;
    }
    case Format::Date:
        return DateText::shortDate(dateOf(value));
    case Format::DateNoPad:
        return DateText::ymdNoPad(dateOf(value));
    }
    if (value.typeId() == QMetaType::QDate)
        return DateText::shortDate(value.toDate());
    if (value.typeId() == QMetaType::QDateTime)
        return DateText::shortDateTime(value.toDateTime());
    return value.toString();
}

QVariant QueryRowsModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size() || index.column() >= m_columns.size())
        return {};
    const int source = m_source[index.column()];
    const QVariant v = source < 0 ? QVariant() : m_rows[index.row()].value(source);
    const Column &column = m_columns[index.column()];
    switch (role) {
    case Qt::DisplayRole:
        return formatted(v, column.format);
    case GridRoles::PlainText: {
        const bool isDate = column.format == Format::Date || column.format == Format::DateNoPad;
        return isDate ? formatted(v, Format::Date) : formatted(v, Format::Plain);
    }
    case Qt::TextAlignmentRole:
        if (column.format == Format::Thousands || column.format == Format::ThousandsZero)
            return int(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant QueryRowsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= m_columns.size())
        return {};
    return m_columns[section].title;
}
