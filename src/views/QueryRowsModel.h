#pragma once

#include "store/QueryRows.h"

#include <QAbstractTableModel>
#include <QVector>

// The rows of a query, held in full (no statement stays open), shown in
// columns chosen by field name, each with its title and display form. The
// copies of the grids take the plain text (GridRoles::PlainText).
class QueryRowsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum class Format {
        Plain,
        Thousands, // "#,#": thousands separators, 0 shows empty
        ThousandsZero, // "#,#0": thousands separators, 0 shows 0
        Date, // "yyyy/mm/dd"
        DateNoPad, // "yyyy/m/d"
    };
    struct Column
    {
        QString field;
        QString title;
        Format format = Format::Plain;
    };

    explicit QueryRowsModel(QVector<Column> columns, QObject *parent = nullptr);

    const QVector<Column> &columns() const { return m_columns; }
    // The columns are found in the result by field name, in any spelling.
    void setRows(const QueryRows &result);
    void clear();

    QVariant value(int row, const QString &field) const;
    // The first row whose field holds this text; -1 when none.
    int rowOf(const QString &field, const QString &text) const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // A value in a display form; the plain form is the value's text, dates
    // in the short date form.
    static QString formatted(const QVariant &value, Format format);

private:
    QVector<Column> m_columns;
    QVector<int> m_source; // result column of each column, -1 for none
    QStringList m_resultColumns;
    QVector<QVariantList> m_rows;
};
