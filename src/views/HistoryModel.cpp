#include "HistoryModel.h"

#include "base/DateText.h"
#include "base/GridRoles.h"

HistoryModel::HistoryModel(QVector<Column> columns, QObject *parent)
    : QAbstractTableModel(parent), m_columns(std::move(columns))
{ }

QVector<HistoryModel::Column> HistoryModel::allColumns()
{
    return {Column::At,  Column::Operation,  Column::Who,      Column::Key,     Column::Table,
            Column::Row, Column::ColumnName, Column::OldValue, Column::NewValue};
}

QString HistoryModel::title(Column column)
{
    switch (column) {
    case Column::At:
        return QStringLiteral("日時");
    case Column::Operation:
        return QStringLiteral("操作");
    case Column::Who:
        return QStringLiteral("変更者");
    case Column::Key:
        return QStringLiteral("Key");
    case Column::Table:
        return QStringLiteral("テーブル");
    case Column::Row:
        return QStringLiteral("行");
    case Column::ColumnName:
        return QStringLiteral("項目");
    case Column::OldValue:
        return QStringLiteral("変更前");
    case Column::NewValue:
        return QStringLiteral("変更後");
    }
    return {};
}

QString HistoryModel::timeText(const QDateTime &at)
{
    if (!at.isValid())
        return QString();
    return DateText::shortDate(at) + at.time().toString(QStringLiteral(" hh:mm:ss"));
}

QString HistoryModel::text(const HistoryLine &line, Column column)
{
    switch (column) {
    case Column::At:
        return timeText(line.at);
    case Column::Operation:
        return line.operation;
    case Column::Who:
        return line.who;
    case Column::Key:
        return line.key;
    case Column::Table:
        return line.table;
    case Column::Row:
        return line.rowName;
    case Column::ColumnName:
        return line.column;
    case Column::OldValue:
        return line.oldValue;
    case Column::NewValue:
        return line.newValue;
    }
    return {};
}

void HistoryModel::setLines(QVector<HistoryLine> lines)
{
    beginResetModel();
    m_lines = std::move(lines);
    endResetModel();
}

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size());
}

int HistoryModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_columns.size());
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_lines.size() || index.column() >= m_columns.size())
        return {};
    if (role != Qt::DisplayRole && role != GridRoles::PlainText && role != Qt::ToolTipRole)
        return {};
    return text(m_lines[index.row()], m_columns[index.column()]);
}

QVariant HistoryModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= m_columns.size())
        return {};
    return title(m_columns[section]);
}
