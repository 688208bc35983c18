#pragma once

#include "DumpReader.h"
#include "PendingTable.h"

#include <QAbstractTableModel>

// The maintenance grid's model over a PendingTable: one column per column
// of the table, titled with its name, every value editable as text. A text
// the table refuses is reported through valueRefused and left out.
class PendingTableModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit PendingTableModel(PendingTable &table, QObject *parent = nullptr);

    PendingTable &table() const { return m_table; }

    // Each throws StoreError as the table's own.
    void load();
    PendingTable::Import importDump(const QString &path, DumpReader::Error &error,
                                    const PendingTable::ShrinkQuestion &confirmShrink = {});

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool insertRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;
    bool removeRows(int row, int count, const QModelIndex &parent = QModelIndex()) override;

signals:
    void valueRefused(const QString &reason);

private:
    PendingTable &m_table;
};
