#pragma once

#include "PcListFields.h"

#include <QAbstractTableModel>
#include <QList>
#include <array>

class TDMdata;

// The rows of the PC list, one column per field of the list in field
// order. The rows are read completely and the statement is finished at
// once, so the list never holds the store open between refreshes.
//
// A large list can come in two steps: load() with a first-rows limit reads
// just that many rows (enough for the first screenful), and loadRest()
// then reads the whole statement again and replaces them. Everything that
// needs every row calls loadRest() first; it does nothing once complete.
//
// Each row keeps its values' plain texts end to end in one string (the
// form the copies use); the display forms are made when asked for.
class PcListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit PcListModel(QObject *parent = nullptr);

    // Reads the rows of the statement (a SELECT of the list's fields, in any
    // order and spelling). firstRows > 0 reads at most that many now and
    // leaves the rest to loadRest(). Throws StoreError; the list is then
    // empty.
    void load(TDMdata &dm, const QString &statement, int firstRows = 0);
    // Reads the remaining rows; false when the list was already complete.
    // Throws StoreError (the rows already read stay).
    bool loadRest();
    bool isComplete() const { return m_complete; }
    void clear();

    QString key(int row) const;
    // The row of this key; -1 when it is not in the list.
    int rowOfKey(const QString &key) const;
    // The PC is removed: its removal date lies after the zero date.
    bool isRemoved(int row) const;
    // The value as copied: text as stored, numbers without separators,
    // dates yyyy/mm/dd, empty for no value.
    QString plainText(int row, int field) const;
    QString displayText(int row, int field) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    struct Row
    {
        QString text; // the plain texts of the fields, end to end
        std::array<quint32, PcListFields::Count> end {}; // where each field ends
        bool removed = false;
    };

    QList<Row> fetch(int limit);

    QList<Row> m_rows;
    TDMdata *m_dm = nullptr;
    QString m_statement;
    bool m_complete = true;
};
