#include "AppliCorrection.h"

#include "base/EntryText.h"
#include "base/GridRoles.h"
#include "base/InputError.h"
#include "store/HistoryRecorder.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSqlQuery>

namespace {

// An input kind never set may be stored as no value or as '': both count
// as empty.
const QString Empty = QStringLiteral("COALESCE(NYURYOKUKBN, '') = ''");

} // namespace

AppliCorrection::AppliCorrection(TDMdata &dm, QObject *parent)
    : QAbstractTableModel(parent), m_dm(dm)
{ }

bool AppliCorrection::needed(TDMdata &dm)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT KEY FROM APPLI\nWHERE ") + Empty);
    const bool found = q.next();
    q.finish();
    return found;
}

void AppliCorrection::load()
{
    QSqlQuery q = m_dm.exec(QStringLiteral("SELECT Key, Appli, NyuryokuKBN FROM Appli\nWHERE ")
                            + Empty + QStringLiteral("\nORDER BY Key, Appli"));
    QVector<Row> rows;
    while (q.next())
        rows.append({q.value(0).toString(), q.value(1).toString(), q.value(2).toString()});
    q.finish();
    beginResetModel();
    m_rows = rows;
    m_steps.clear();
    endResetModel();
}

QString AppliCorrection::fitted(const QString &kind)
{
    const ColumnDef &column = *Schema::table(TableId::Appli).column(QStringLiteral("NyuryokuKBN"));
    return EntryText::checked(QStringLiteral("入力区分"), kind, column.width);
}

void AppliCorrection::setAll(const QString &kind)
{
    m_steps.append({true, QString(), QString(), fitted(kind)});
    // The table opened again: the corrected rows leave the grid.
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void AppliCorrection::apply()
{
    QSqlQuery all = m_dm.prepare(QStringLiteral("UPDATE Appli\n"
                                                "SET NyuryokuKBN = :NyuryokuKBN\nWHERE ")
                                 + Empty);
    QSqlQuery one = m_dm.prepare(QStringLiteral("UPDATE Appli\n"
                                                "SET NyuryokuKBN = :NyuryokuKBN\n"
                                                "WHERE Key = :Key AND Appli = :Appli"));
    // The rows each step changes, with their input kind before it, for the
    // history.
    QSqlQuery empty = m_dm.prepare(QStringLiteral("SELECT Key, Appli, NyuryokuKBN FROM Appli\n"
                                                  "WHERE ")
                                   + Empty);
    QSqlQuery named = m_dm.prepare(QStringLiteral("SELECT Key, Appli, NyuryokuKBN FROM Appli\n"
                                                  "WHERE Key = :Key AND Appli = :Appli"));
    HistoryRecorder history(m_dm, History::manual());
    const QString column = QStringLiteral("NyuryokuKBN");
    StoreTransaction transaction(m_dm);
    for (const Step &step : m_steps) {
        QSqlQuery &before = step.all ? empty : named;
        if (!step.all) {
            before.bindValue(QStringLiteral(":Key"), step.key);
            before.bindValue(QStringLiteral(":Appli"), step.appli);
        }
        TDMdata::exec(before);
        QVector<QStringList> rows;
        while (before.next())
            rows.append({before.value(0).toString(), before.value(1).toString(),
                         before.value(2).toString()});
        before.finish();
        for (const QStringList &row : std::as_const(rows)) {
            if (row[2] != step.kind)
                history.valueChanged(TableId::Appli, row[0], row[1], {column, row[2], step.kind});
        }
        QSqlQuery &q = step.all ? all : one;
        q.bindValue(QStringLiteral(":NyuryokuKBN"), StoreValue::text(step.kind));
        if (!step.all) {
            q.bindValue(QStringLiteral(":Key"), step.key);
            q.bindValue(QStringLiteral(":Appli"), step.appli);
        }
        TDMdata::exec(q);
    }
    transaction.commit();
    m_steps.clear();
}

int AppliCorrection::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int AppliCorrection::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : 3;
}

QVariant AppliCorrection::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole && role != GridRoles::PlainText)
        return {};
    const Row &row = m_rows[index.row()];
    switch (index.column()) {
    case 0:
        return row.key;
    case 1:
        return row.appli;
    default:
        return row.kind;
    }
}

bool AppliCorrection::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || index.column() != 2 || index.row() >= m_rows.size())
        return false;
    Row &row = m_rows[index.row()];
    QString kind;
    try {
        kind = fitted(value.toString());
    } catch (const InputError &e) {
        emit refused(e.message());
        return false;
    }
    if (kind == row.kind)
        return true;
    row.kind = kind;
    m_steps.append({false, row.key, row.appli, kind});
    emit dataChanged(index, index);
    return true;
}

Qt::ItemFlags AppliCorrection::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.column() == 2)
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant AppliCorrection::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    switch (section) {
    case 0:
        return QStringLiteral("Key");
    case 1:
        return QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ");
    case 2:
        return QStringLiteral("入力区分");
    }
    return {};
}
