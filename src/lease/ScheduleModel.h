#pragma once

#include "LeaseContract.h"

#include <QAbstractTableModel>
#include <optional>

class TDMdata;

// The payment schedule of the lease window, kept in the working table
// wLeaseMesai of the in-memory database: one row per payment date, always
// in date order, no date twice. Beside the table's rows the model can hold
// one new row that the user is filling in; it is written to the table as
// soon as it has a date.
//
// Typed values are checked as the grid hands them over: a date goes
// through NormalizeDateText, an amount must be a whole number. A refused
// value leaves the field unchanged and is reported through refused().
class ScheduleModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { SiharaiYMD, Kingaku, Zei, Hosyuryo, Gokei, ColumnCount };

    // The totals line: the count of rows, the sums of the three amounts (no
    // value when no row has one) and their grand total (no value counts 0).
    struct Totals
    {
        int count = 0;
        QVariant kingaku;
        QVariant zei;
        QVariant hosyuryo;
        qint64 gokei = 0;
    };

    explicit ScheduleModel(TDMdata &dm, QObject *parent = nullptr);

    // Drops and creates the working table; the schedule is then empty.
    // Throws StoreError.
    void create();
    // The payments read from the store, added in date order (an empty
    // amount becomes 0); the totals follow once. Throws StoreError, with
    // none of them added.
    void load(const QVector<ScheduleRow> &rows);

    // A new empty row at the end, for the user to fill in; returns its row.
    // An unfinished new row that already has amounts must get its date
    // first: -1, and refused() says so.
    int addRow();
    // Deletes a row at once; a new row is just dropped.
    void removeRow(int row);
    // Before saving: an untouched new row is dropped; one with amounts but
    // without date throws InputError ("項目 '支払日' の値が必要です").
    void finishNewRow();

    // The working table's rows in date order.
    QVector<ScheduleRow> rows() const { return m_rows; }
    bool isNewRow(int row) const { return m_new && row == m_rows.size(); }

    // The totals query on the working table. Throws StoreError, also with
    // Amounts::overflowText() when a sum is too large.
    Totals totals();
    static QString totalsStatement();

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

signals:
    // A row was written to or deleted from the working table.
    void posted();
    // A typed value was refused; the text to show.
    void refused(const QString &message);

private:
    ScheduleRow rowAt(int row) const;
    void setDate(int row, const QDate &date); // throws InputError, StoreError
    void setAmount(int row, int column, const QVariant &amount); // throws StoreError
    // Places a written row at its date's position, moving it in the view.
    void place(int from, const ScheduleRow &row);

    TDMdata &m_dm;
    QVector<ScheduleRow> m_rows;
    std::optional<ScheduleRow> m_new;
    bool m_newTouched = false;
};
