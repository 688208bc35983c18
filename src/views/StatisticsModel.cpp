#include "StatisticsModel.h"

#include "base/GridRoles.h"

StatisticsModel::StatisticsModel(QObject *parent) : QAbstractTableModel(parent) { }

void StatisticsModel::setRows(const QVector<Statistics::Row> &rows, const QString &komokuTitle,
                              const QString &kensuTitle)
{
    beginResetModel();
    m_rows = rows;
    m_titles[0] = komokuTitle;
    m_titles[1] = kensuTitle;
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, 1);
}

void StatisticsModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

int StatisticsModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int StatisticsModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 2;
}

QVariant StatisticsModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    const Statistics::Row &row = m_rows.at(index.row());
    const QVariant &value = index.column() == 0 ? row.komoku : row.kensu;
    switch (role) {
    case Qt::DisplayRole:
    case GridRoles::PlainText:
        return value.isNull() ? QString() : value.toString();
    case Qt::TextAlignmentRole:
        return index.column() == 1 ? QVariant(int(Qt::AlignRight | Qt::AlignVCenter)) : QVariant();
    default:
        return {};
    }
}

QVariant StatisticsModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 2)
        return m_titles[section];
    return QAbstractTableModel::headerData(section, orientation, role);
}
