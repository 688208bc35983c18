#pragma once

#include "store/ReadOnlyQuery.h"

#include <QAbstractTableModel>

// The rows of the SQL window's query, held in full (no statement stays
// open on the store). Titles are the column names the store returns; cells
// show numbers plainly and dates in the short date form.
class SqlResultModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SqlResultModel(QObject *parent = nullptr);

    void setResult(const ReadOnlyQuery::Result &result);
    void clear();
    // True while a result is shown (it may have no rows).
    bool hasResult() const { return m_hasResult; }

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // A value as the grid shows and copies it. A text that SQLite returns
    // for a date or timestamp column of the catalog (known by the column's
    // name) is shown as a date too.
    static QString text(const QString &column, const QVariant &value);

private:
    ReadOnlyQuery::Result m_result;
    bool m_hasResult = false;
};
