#pragma once

#include "LeaseContract.h"
#include "LeaseDue.h"

#include <QAbstractTableModel>

class TDMdata;

// The lease list: every column of Lease in key order, then what is due on
// each contract (payments, amount, mark). The rows are read completely at
// load, so the list never holds the store open between refreshes.
class LeaseListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit LeaseListModel(QObject *parent = nullptr);

    // The list statement.
    static QString statement();

    // Reads the list with the figures as of today. Throws StoreError; the
    // list is then empty.
    void load(TDMdata &dm, const QDate &today);
    void clear();

    LeaseKey key(int row) const;
    // The row of this key; -1 when it is not in the list.
    int rowOfKey(const LeaseKey &key) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    // The cells' texts, as shown and copied.
    QVector<QStringList> m_rows;
};
