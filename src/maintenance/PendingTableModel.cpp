#include "PendingTableModel.h"

#include "PendingTable.h"

PendingTableModel::PendingTableModel(PendingTable &table, QObject *parent)
    : QAbstractTableModel(parent), m_table(table)
{ }

void PendingTableModel::load()
{
    beginResetModel();
    try {
        m_table.load();
    } catch (...) {
        endResetModel();
        throw;
    }
    endResetModel();
}

PendingTable::Import
PendingTableModel::importDump(const QString &path, DumpReader::Error &error,
                              const PendingTable::ShrinkQuestion &confirmShrink)
{
    beginResetModel();
    const PendingTable::Import result = m_table.importDump(path, error, confirmShrink);
    endResetModel();
    return result;
}

int PendingTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.rowCount();
}

int PendingTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_table.columnCount();
}

QVariant PendingTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::EditRole)
        return m_table.text(index.row(), index.column());
    if (role == Qt::DisplayRole) {
        // A memo's lines side by side on the grid's one line.
        QString text = m_table.text(index.row(), index.column());
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\u21B5"));
        text.replace(u'\n', u'\u21B5').replace(u'\r', u'\u21B5');
        return text;
    }
    if (role == Qt::TextAlignmentRole
        && m_table.columns()[index.column()].kind == CsvExport::FieldKind::Number)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return QVariant();
}

bool PendingTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole)
        return false;
    const QString reason = m_table.setText(index.row(), index.column(), value.toString());
    if (!reason.isEmpty()) {
        emit valueRefused(reason);
        return false;
    }
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags PendingTableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant PendingTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0
        || section >= m_table.columnCount())
        return QVariant();
    return m_table.columns()[section].name;
}

bool PendingTableModel::insertRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || row > rowCount() || count < 1)
        return false;
    beginInsertRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_table.insertRow(row);
    endInsertRows();
    return true;
}

bool PendingTableModel::removeRows(int row, int count, const QModelIndex &parent)
{
    if (parent.isValid() || row < 0 || count < 1 || row + count > rowCount())
        return false;
    beginRemoveRows(parent, row, row + count - 1);
    for (int i = 0; i < count; ++i)
        m_table.removeRow(row);
    endRemoveRows();
    return true;
}
