#include "LeaseListModel.h"

#include "base/DateText.h"
#include "store/Schema.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// The titles of the Lease columns in catalog order, then the figures'.
const QStringList &titles()
{
    static const QStringList all {
        QStringLiteral("リース会社"),     QStringLiteral("契約№"),
        QStringLiteral("契約日"),         QStringLiteral("契約期間（月）"),
        QStringLiteral("期間開始日"),     QStringLiteral("期間終了日"),
        QStringLiteral("物件名"),         QStringLiteral("売主"),
        QStringLiteral("契約金額"),       QStringLiteral("物件金額"),
        QStringLiteral("年額"),           QStringLiteral("年額（税）"),
        QStringLiteral("前払金"),         QStringLiteral("年間保守額"),
        QStringLiteral("契約部門（部）"), QStringLiteral("契約部門（課）"),
        QStringLiteral("更新日時"),       QStringLiteral("残回数"),
        QStringLiteral("残額"),           QStringLiteral("期限"),
    };
    return all;
}

QString cellText(const ColumnDef &column, const QVariant &raw)
{
    const QVariant value = StoreValue::fromStore(column, raw);
    if (value.isNull())
        return QString();
    switch (column.type) {
    case ColumnType::Date:
        return DateText::shortDate(value.toDate());
    case ColumnType::Timestamp:
        return DateText::shortDateTime(value.toDateTime());
    default:
        return value.toString();
    }
}

} // namespace

LeaseListModel::LeaseListModel(QObject *parent) : QAbstractTableModel(parent) { }

QString LeaseListModel::statement()
{
    return QStringLiteral("SELECT * FROM LEASE\nORDER BY LEASE, Lease_No");
}

void LeaseListModel::load(TDMdata &dm, const QDate &today)
{
    beginResetModel();
    m_rows.clear();
    try {
        const QHash<LeaseKey, LeaseDue::Figures> due = LeaseDue::figures(dm, today);
        const QVector<ColumnDef> &columns = Schema::table(TableId::Lease).columns;
        QSqlQuery q = dm.exec(statement());
        const QSqlRecord record = q.record();
        QVector<int> at;
        for (const ColumnDef &c : columns)
            at.append(record.indexOf(c.name));
        const int endColumn = Schema::table(TableId::Lease).indexOf(QStringLiteral("kikan_end"));
        while (q.next()) {
            QStringList cells;
            for (int i = 0; i < columns.size(); ++i)
                cells << (at[i] < 0 ? QString() : cellText(columns[i], q.value(at[i])));
            const LeaseDue::Figures f = due.value({cells[0], cells[1]});
            const QDate end = QDate::fromString(cells[endColumn], QStringLiteral("yyyy/MM/dd"));
            cells << QString::number(f.paymentsDue) << QString::number(f.amountDue)
                  << LeaseDue::markText(LeaseDue::markOf(end, f.namedByPcInService, today,
                                                         LeaseDue::DefaultWithinDays));
            m_rows.append(cells);
        }
    } catch (...) {
        m_rows.clear();
        endResetModel();
        throw;
    }
    endResetModel();
}

void LeaseListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

LeaseKey LeaseListModel::key(int row) const
{
    if (row < 0 || row >= m_rows.size())
        return {};
    return {m_rows[row][0], m_rows[row][1]};
}

int LeaseListModel::rowOfKey(const LeaseKey &key) const
{
    for (int r = 0; r < m_rows.size(); ++r) {
        if (this->key(r) == key)
            return r;
    }
    return -1;
}

int LeaseListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size();
}

int LeaseListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : titles().size();
}

QVariant LeaseListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return m_rows.value(index.row()).value(index.column());
}

QVariant LeaseListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return titles().value(section);
}
