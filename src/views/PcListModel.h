#pragma once

#include "PcListFields.h"

#include <QAbstractTableModel>
#include <QList>
#include <array>
#include <functional>

class BackgroundReader;
class TDMdata;

// One row of the PC list: its values' plain texts end to end.
struct PcListRow
{
    QString text; // the plain texts of the fields, end to end
    std::array<quint32, PcListFields::Count> end {}; // where each field ends
    bool removed = false;
};
// Rows move as a block when the list grows (a QString moves that way too).
Q_DECLARE_TYPEINFO(PcListRow, Q_RELOCATABLE_TYPE);

// The rows of the PC list, one column per field of the list in field
// order. The rows are read completely and the statement is finished at
// once, so the list never holds the store open between refreshes.
//
// The window reads the list away from its thread (read()): a reader of its
// own runs the statement on a connection of its own and hands the rows
// over in slices; the first slice replaces the rows (a model reset), the
// later ones are inserted at the end (rowsInserted), so the grid shows the
// first screenful at once and stays usable while the rest arrives.
//
// Each row keeps its values' plain texts end to end in one string (the
// form the copies use); the display forms are made when asked for.
class PcListModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit PcListModel(QObject *parent = nullptr);
    ~PcListModel() override;

    // Reads the rows of the statement (a SELECT of the list's fields, in any
    // order and spelling) on this thread. Throws StoreError; the list is
    // then empty.
    void load(TDMdata &dm, const QString &statement);
    // Reads them on the reader's thread from the store dm has open; a read
    // still running is dropped. loaded() or failed() tells the end; until
    // then the rows shown are those of the last read (until the first slice
    // arrives) or those arrived so far.
    void read(const TDMdata &dm, const QString &statement);
    // No read is running: every row of the last read is in.
    bool isComplete() const;
    // Waits for the running read and takes its rows in now.
    void waitForAll();
    void clear();

    QString key(int row) const;
    // The row of this key, looked for from row from on; -1 when it is not
    // in the list.
    int rowOfKey(const QString &key, int from = 0) const;
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

signals:
    // The read has ended: every row is in.
    void loaded();
    // The read failed with the store's text (lost: the connection broke);
    // the rows that arrived stay.
    void failed(const QString &message, bool lost);

private:
    using Row = PcListRow;

    // Runs the statement and hands its rows over in slices: the first of
    // FirstSlice rows, the others of up to SliceRows; stops when cancelled
    // returns true. Throws StoreError.
    static void fetch(TDMdata &dm, const QString &statement, const std::function<bool()> &cancelled,
                      const std::function<void(QList<Row> &&slice)> &hand);
    void takeSlice(const QList<Row> &slice, bool first);

    QList<Row> m_rows;
    BackgroundReader *m_reader;
    bool m_reading = false;
};
