#pragma once

#include "base/SearchText.h"

#include <QSortFilterProxyModel>
#include <QTimer>
#include <vector>

// The rows of a list that match a search box's query (SearchText), in the
// list's own order: the model shows every row of its source while the
// query is empty, and otherwise those whose searched columns hold every
// word of it (each word in any searched column), as the columns show them
// (Qt::DisplayRole).
//
// Each row's search form is made once and kept: in slices on a timer after
// rows arrive, so that the first keystroke rarely waits, and otherwise when
// a row is first filtered. A changed, added or removed row or a reset of the
// source drops what it made stale.
class SearchFilterModel : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    explicit SearchFilterModel(QObject *parent = nullptr);

    void setSourceModel(QAbstractItemModel *source) override;

    // The typed query; the rows are filtered again at once.
    void setQuery(const QString &typed);
    QString query() const { return m_typed; }
    // The columns searched (true: searched; a column beyond the list is
    // searched). Changing them makes every row's search form again.
    void setSearchedColumns(const QList<bool> &searched);

    // Whether every row's search form is made (for benchmarks and tests).
    bool isPrepared() const;
    // Makes every row's search form now.
    void prepareAll();

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const override;

private:
    const QString &rowText(int sourceRow) const;
    void dropAll();
    void prepareSlice();
    void schedulePreparation();

    QString m_typed;
    SearchText::Query m_query;
    QList<bool> m_searched;
    // The search form of each source row (its searched columns' field
    // texts joined by U+0001); made when m_made says so.
    mutable std::vector<QString> m_texts;
    mutable std::vector<bool> m_made;
    int m_nextToPrepare = 0;
    QTimer m_prepareTimer;
    QList<QMetaObject::Connection> m_sourceConnections;
};
