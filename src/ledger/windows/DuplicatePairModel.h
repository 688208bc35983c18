#pragma once

#include "ledger/PcDuplicates.h"

#include <QAbstractTableModel>
#include <QVector>

// The pairs of PCs entered twice in a grid: 新しいPC, 古いPC, 点数, 根拠.
// Pairs with a removed PC have the grey background of removed PCs.
class DuplicatePairModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    using QAbstractTableModel::QAbstractTableModel;

    void setPairs(QVector<PcDuplicates::Pair> pairs);
    const QVector<PcDuplicates::Pair> &pairs() const { return m_pairs; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    QVector<PcDuplicates::Pair> m_pairs;
};
