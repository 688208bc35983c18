#include "SearchFilterModel.h"

#include <algorithm>

namespace {

// Rows whose search form is made in one turn of the event loop: about
// 10 ms for the PC list's 38 columns.
constexpr int SliceRows = 1000;
constexpr QChar ColumnMark = QChar(0x0001);

} // namespace

SearchFilterModel::SearchFilterModel(QObject *parent) : QSortFilterProxyModel(parent)
{
    // The rows keep their source's order; nothing is sorted here.
    setDynamicSortFilter(false);
    m_prepareTimer.setInterval(0);
    connect(&m_prepareTimer, &QTimer::timeout, this, &SearchFilterModel::prepareSlice);
}

void SearchFilterModel::setSourceModel(QAbstractItemModel *source)
{
    for (const QMetaObject::Connection &connection : std::as_const(m_sourceConnections))
        disconnect(connection);
    m_sourceConnections.clear();
    dropAll();
    // Connected before the base class connects its own handlers, so that
    // the kept search forms fit the source's rows whenever it filters them.
    if (source) {
        m_sourceConnections
            << connect(source, &QAbstractItemModel::modelReset, this, &SearchFilterModel::dropAll)
            << connect(source, &QAbstractItemModel::layoutChanged, this,
                       &SearchFilterModel::dropAll)
            << connect(source, &QAbstractItemModel::rowsMoved, this, &SearchFilterModel::dropAll)
            << connect(source, &QAbstractItemModel::rowsInserted, this,
                       [this](const QModelIndex &parent, int first, int last) {
                           if (parent.isValid() || size_t(first) > m_texts.size()) {
                               dropAll();
                               return;
                           }
                           const int count = last - first + 1;
                           m_texts.insert(m_texts.begin() + first, size_t(count), QString());
                           m_made.insert(m_made.begin() + first, size_t(count), false);
                           m_nextToPrepare = qMin(m_nextToPrepare, first);
                           schedulePreparation();
                       })
            << connect(source, &QAbstractItemModel::rowsRemoved, this,
                       [this](const QModelIndex &parent, int first, int last) {
                           if (parent.isValid() || size_t(last) >= m_texts.size()) {
                               dropAll();
                               return;
                           }
                           m_texts.erase(m_texts.begin() + first, m_texts.begin() + last + 1);
                           m_made.erase(m_made.begin() + first, m_made.begin() + last + 1);
                           m_nextToPrepare = qMin(m_nextToPrepare, first);
                       })
            << connect(source, &QAbstractItemModel::dataChanged, this,
                       [this](const QModelIndex &topLeft, const QModelIndex &bottomRight) {
                           for (int row = topLeft.row(); row <= bottomRight.row(); ++row)
                               if (row >= 0 && size_t(row) < m_made.size())
                                   m_made[size_t(row)] = false;
                           m_nextToPrepare = qMin(m_nextToPrepare, qMax(topLeft.row(), 0));
                           schedulePreparation();
                       });
    }
    QSortFilterProxyModel::setSourceModel(source);
    dropAll();
}

void SearchFilterModel::dropAll()
{
    const int rows = sourceModel() ? sourceModel()->rowCount() : 0;
    m_texts.assign(size_t(rows), QString());
    m_made.assign(size_t(rows), false);
    m_nextToPrepare = 0;
    schedulePreparation();
}

void SearchFilterModel::schedulePreparation()
{
    if (!m_prepareTimer.isActive() && m_nextToPrepare < int(m_made.size()))
        m_prepareTimer.start();
}

void SearchFilterModel::prepareSlice()
{
    const int end = qMin(m_nextToPrepare + SliceRows, int(m_made.size()));
    for (int row = m_nextToPrepare; row < end; ++row)
        rowText(row);
    m_nextToPrepare = end;
    if (m_nextToPrepare >= int(m_made.size()))
        m_prepareTimer.stop();
}

bool SearchFilterModel::isPrepared() const
{
    return std::all_of(m_made.begin(), m_made.end(), [](bool made) { return made; });
}

void SearchFilterModel::prepareAll()
{
    for (int row = 0; row < int(m_made.size()); ++row)
        rowText(row);
    m_nextToPrepare = int(m_made.size());
    m_prepareTimer.stop();
}

const QString &SearchFilterModel::rowText(int sourceRow) const
{
    const size_t at = size_t(sourceRow);
    if (at >= m_texts.size()) {
        // Rows the source announced in no signal: start over from its size.
        const_cast<SearchFilterModel *>(this)->dropAll();
        if (at >= m_texts.size()) {
            static const QString none;
            return none;
        }
    }
    if (!m_made[at]) {
        QString text;
        const QAbstractItemModel *source = sourceModel();
        const int columns = source->columnCount();
        for (int column = 0; column < columns; ++column) {
            if (column < m_searched.size() && !m_searched.at(column))
                continue;
            const QString value = source->index(sourceRow, column).data().toString();
            if (!value.isEmpty())
                text += SearchText::fieldText(value);
            text += ColumnMark;
        }
        m_texts[at] = std::move(text);
        m_made[at] = true;
    }
    return m_texts[at];
}

bool SearchFilterModel::filterAcceptsRow(int sourceRow, const QModelIndex &sourceParent) const
{
    if (m_query.isEmpty() || sourceParent.isValid())
        return true;
    return m_query.matchesAll(rowText(sourceRow));
}

void SearchFilterModel::setQuery(const QString &typed)
{
    if (typed == m_typed)
        return;
    m_typed = typed;
    m_query = SearchText::Query(typed);
    // Filtered anew as one change of layout: removing or inserting the
    // rows range by range costs seconds when thousands of ranges change
    // at 50,000 rows. The current row stays when it still matches.
    invalidate();
}

void SearchFilterModel::setSearchedColumns(const QList<bool> &searched)
{
    if (searched == m_searched)
        return;
    m_searched = searched;
    dropAll();
    if (!m_query.isEmpty())
        invalidate();
}
