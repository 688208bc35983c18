#pragma once

#include <QAbstractTableModel>
#include <QStringList>
#include <QVariantList>
#include <QVector>

// The rows of the SQL window's query as they arrive, page by page. Titles
// are the column names the store returns; cells show numbers plainly and
// dates in the short date form. While more rows may follow, the view's
// scrolling to the end asks for them (moreRowsWanted).
class SqlResultModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    explicit SqlResultModel(QObject *parent = nullptr);

    // A new result with these columns and no rows yet.
    void setColumns(const QStringList &columns);
    void appendRows(const QVector<QVariantList> &rows);
    void clear();
    // True while a result is shown (it may have no rows).
    bool hasResult() const { return m_hasResult; }
    // Whether the view may ask for more rows.
    void setMoreAvailable(bool more) { m_moreAvailable = more; }
    // How much memory the rows take, in bytes (rowBytes of each).
    qint64 approximateBytes() const { return m_bytes; }
    // The memory one row takes: every value's own size (texts, binary
    // values) and what holds it.
    static qint64 rowBytes(const QVariantList &row);

    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // A value as the grid copies it. A text that SQLite returns for a date
    // or timestamp column of the catalog (known by the column's name) is
    // shown as a date too.
    static QString text(const QString &column, const QVariant &value);
    // A value as the grid draws it: a wide value only as far as a cell can
    // show it (its first ShownChars characters, then "…"), so drawing never
    // converts megabytes.
    static QString shownText(const QString &column, const QVariant &value);
    static constexpr int ShownChars = 4096;

signals:
    void moreRowsWanted();

private:
    QStringList m_columns;
    QVector<QVariantList> m_rows;
    bool m_hasResult = false;
    bool m_moreAvailable = false;
    qint64 m_bytes = 0;
};
