#include "DuplicatePairModel.h"

#include <QColor>

namespace {

enum Column { NewerKey, OlderKey, Score, Evidence, ColumnCount };

} // namespace

void DuplicatePairModel::setPairs(QVector<PcDuplicates::Pair> pairs)
{
    beginResetModel();
    m_pairs = std::move(pairs);
    endResetModel();
}

int DuplicatePairModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_pairs.size());
}

int DuplicatePairModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant DuplicatePairModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_pairs.size())
        return {};
    const PcDuplicates::Pair &pair = m_pairs.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        switch (index.column()) {
        case NewerKey:
            return pair.newerKey;
        case OlderKey:
            return pair.olderKey;
        case Score:
            return pair.score;
        case Evidence:
            return pair.evidenceText();
        }
        return {};
    case Qt::TextAlignmentRole:
        return index.column() == Score ? QVariant(Qt::AlignRight | Qt::AlignVCenter) : QVariant();
    case Qt::BackgroundRole:
        return pair.removed ? QVariant(QColor(224, 224, 224)) : QVariant();
    default:
        return {};
    }
}

QVariant DuplicatePairModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case NewerKey:
        return QStringLiteral("新しいPC");
    case OlderKey:
        return QStringLiteral("古いPC");
    case Score:
        return QStringLiteral("点数");
    case Evidence:
        return QStringLiteral("根拠");
    }
    return {};
}
