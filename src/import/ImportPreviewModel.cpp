#include "ImportPreviewModel.h"

ImportPreviewModel::ImportPreviewModel(QObject *parent) : QAbstractTableModel(parent) { }

void ImportPreviewModel::setPreview(const ImportPreview &preview)
{
    beginResetModel();
    m_lines = preview.lines();
    m_total = preview.total();
    endResetModel();
}

const ImportPreview::Line *ImportPreviewModel::line(int row) const
{
    return row >= 0 && row < m_lines.size() ? &m_lines[row] : nullptr;
}

int ImportPreviewModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size()) + 1;
}

int ImportPreviewModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(ImportPreview::header().size());
}

QVariant ImportPreviewModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() > m_lines.size())
        return {};
    const ImportPreview::Line &l = index.row() < m_lines.size() ? m_lines[index.row()] : m_total;
    if (role == Qt::TextAlignmentRole && index.column() >= 3)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case 0:
        return l.file;
    case 1:
        return l.key;
    case 2:
        return l.table;
    case 3:
        return l.added;
    case 4:
        return l.changed;
    case 5:
        return l.removed;
    case 6:
        return l.hand;
    }
    return {};
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return ImportPreview::header().value(section);
}
