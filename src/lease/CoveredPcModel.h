#pragma once

#include <QAbstractTableModel>
#include <QHash>
#include <QStringList>

class TDMdata;

// The PCs a contract covers, as the lease window edits them in the working
// table wLeasePC of the in-memory database: one row per PC key, in key
// order, no key twice. A key need not name a PC of the ledger; beside each
// key the grid shows the PC's computer name, or that the ledger has no such
// PC. Like the schedule, the model can hold one new row that is written to
// the table once it has a key; refused() reports a refused key.
class CoveredPcModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { PCKey, PcName, ColumnCount };

    explicit CoveredPcModel(TDMdata &dm, QObject *parent = nullptr);

    // Drops and creates the working table; the list is then empty. Throws
    // StoreError.
    void create();
    // A key read from the store. Throws StoreError.
    void load(const QString &key);

    // A new empty row at the end (the one there already, if any); returns
    // its row.
    int addRow();
    // Deletes a row at once; a new row is just dropped.
    void removeRow(int row);
    // Before saving: a new row without key is dropped.
    void finishNewRow();

    // The working table's keys in key order.
    QStringList keys() const { return m_keys; }
    bool isNewRow(int row) const { return m_hasNew && row == m_keys.size(); }
    // What the grid shows beside a key that no PC has.
    static QString unknownPcText();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    void refused(const QString &message);

private:
    void setKey(int row, const QString &key); // throws InputError, StoreError
    void place(int from);
    // The computer name shown beside a key, read once. Throws StoreError.
    void lookUpName(const QString &key);

    TDMdata &m_dm;
    QStringList m_keys;
    bool m_hasNew = false;
    QHash<QString, QString> m_names;
};
