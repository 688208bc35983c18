#pragma once

#include "LedgerLists.h"
#include "store/QueryRows.h"

#include <QHash>
#include <QMap>
#include <QVariant>
#include <QVector>
#include <array>
#include <memory>

class HistoryRecorder;
class RecordCursor;
class RowBuffer;
class TDMdata;

// The drive, printer, application and share rows of one PC while its
// ledger window is open: a working copy in the private database "Memory",
// in tables named as in the store, so that the window's list and delete
// statements run on it as they stand. Nothing reaches the store before
// apply(), which writes the differences to the copy taken at load(). The
// tables belong to one working copy of a data module at a time, as one
// ledger window at a time is open.
class DetailWorkCopy
{
public:
    explicit DetailWorkCopy(TDMdata &dm);
    ~DetailWorkCopy();
    DetailWorkCopy(const DetailWorkCopy &) = delete;
    DetailWorkCopy &operator=(const DetailWorkCopy &) = delete;

    // Empties the working tables and copies into them the rows of this PC
    // (none for an empty key). Throws StoreError.
    void load(const QString &key);
    // The rows of the PC now carry this key (a new PC whose key is typed).
    void rekey(const QString &key);

    // The list's statement run on the working copy.
    QueryRows list(LedgerLists::List list) const;
    // The values (by catalog column) of the row with this name; false when
    // there is none.
    bool read(LedgerLists::List list, const QString &name, QVector<QVariant> &values) const;
    // Writes the dialog's row: a new row, or the row it started from.
    // Throws StoreError with the field's texts: a missing name, a name the
    // PC already has.
    void post(LedgerLists::List list, const RowBuffer &row);
    // The list's delete statement for the row with this name.
    void remove(LedgerLists::List list, const QString &name);

    // Inside the caller's store transaction: deletes, updates (the changed
    // columns only) and inserts what differs from the rows loaded, under
    // this PC key, each change recorded in history when given. Throws
    // StoreError.
    void apply(const QString &key, HistoryRecorder *history = nullptr);

private:
    using Rows = QMap<QString, QVector<QVariant>>; // by name

    Rows readAll(LedgerLists::List list) const;
    bool exists(LedgerLists::List list, const QString &name) const;
    void insert(LedgerLists::List list, const QVector<QVariant> &values);

    TDMdata &m_dm;
    QString m_key;
    QHash<int, Rows> m_loaded;
    // The store's table objects of the four tables. They outlive the
    // transaction of apply(), so that on PostgreSQL their statements are
    // freed only once a failed transaction has been rolled back.
    std::array<std::unique_ptr<RecordCursor>, 4> m_cursors;
};
