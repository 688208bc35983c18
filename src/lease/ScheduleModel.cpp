#include "ScheduleModel.h"

#include "Amounts.h"
#include "WorkTable.h"
#include "base/DateEntry.h"
#include "base/DateText.h"
#include "store/StoreError.h"

#include <algorithm>

namespace {

const QString Table = QStringLiteral("wLeaseMesai");

// The working table's column of each grid column and its label.
const char *const Columns[] = {"SiharaiYMD", "kingaku", "zei", "hosyuryo"};
QString label(int column)
{
    static const QStringList labels {QStringLiteral("支払日"), QStringLiteral("金額"),
                                     QStringLiteral("消費税"), QStringLiteral("保守料"),
                                     QStringLiteral("合計")};
    return labels.value(column);
}

QVariant &amountOf(ScheduleRow &row, int column)
{
    return column == ScheduleModel::Kingaku ? row.kingaku
        : column == ScheduleModel::Zei      ? row.zei
                                            : row.hosyuryo;
}

// Nothing when the sum is too large.
std::optional<qint64> gokei(const QVariant &kingaku, const QVariant &zei, const QVariant &hosyuryo)
{
    return Amounts::add(Amounts::add(Amounts::of(kingaku), Amounts::of(zei)),
                        Amounts::of(hosyuryo));
}

QVariant noInt()
{
    return QVariant(QMetaType(QMetaType::Int));
}

// A typed amount: empty for no value, else a whole number.
QVariant typedAmount(const QString &text, int column)
{
    if (text.isEmpty())
        return noInt();
    bool ok = false;
    const int value = text.toInt(&ok);
    if (!ok)
        throw ConversionError(FieldErrorText::notInteger(text, label(column)));
    return value;
}

} // namespace

ScheduleModel::ScheduleModel(TDMdata &dm, QObject *parent) : QAbstractTableModel(parent), m_dm(dm)
{ }

void ScheduleModel::create()
{
    beginResetModel();
    m_rows.clear();
    m_new.reset();
    endResetModel();
    WorkTable::recreate(m_dm, Table,
                        QStringLiteral("SiharaiYMD DATE NOT NULL,\n"
                                       "kingaku INTEGER,\n"
                                       "zei INTEGER,\n"
                                       "hosyuryo INTEGER,\n"
                                       "UpdateTime TIMESTAMP,\n"
                                       "PRIMARY KEY (SiharaiYMD)"));
}

QString ScheduleModel::totalsStatement()
{
    return QStringLiteral("SELECT COUNT(*) kaisu, SUM(Kingaku) kingaku, SUM(Zei) Zei, "
                          "Sum(Hosyuryo) Hosyuryo from wLeaseMesai");
}

ScheduleModel::Totals ScheduleModel::totals()
{
    QSqlQuery q;
    try {
        q = WorkTable::exec(m_dm, totalsStatement());
    } catch (const StoreError &e) {
        // SQLite's SUM stops at a sum beyond 64 bits with its own English.
        if (e.message().contains(QLatin1String("integer overflow")))
            throw StoreError(Amounts::overflowText());
        throw;
    }
    Totals t;
    if (q.next()) {
        t.count = q.value(0).toInt();
        t.kingaku = q.value(1);
        t.zei = q.value(2);
        t.hosyuryo = q.value(3);
        const std::optional<qint64> sum = gokei(t.kingaku, t.zei, t.hosyuryo);
        if (!sum)
            throw StoreError(Amounts::overflowText());
        t.gokei = *sum;
    }
    return t;
}

void ScheduleModel::load(const QVector<ScheduleRow> &rows)
{
    // All rows in one go, and the totals once: a schedule of thousands of
    // payments opens at once.
    QVector<ScheduleRow> loaded = rows;
    QVector<QVariantMap> params;
    params.reserve(loaded.size());
    for (ScheduleRow &row : loaded) {
        for (int c = Kingaku; c <= Hosyuryo; ++c) {
            if (amountOf(row, c).isNull())
                amountOf(row, c) = 0;
        }
        params.append({{QStringLiteral(":SiharaiYMD"), WorkTable::dateValue(row.date)},
                       {QStringLiteral(":kingaku"), row.kingaku},
                       {QStringLiteral(":zei"), row.zei},
                       {QStringLiteral(":hosyuryo"), row.hosyuryo}});
    }
    WorkTable::execEach(
        m_dm,
        QStringLiteral("INSERT INTO wLeaseMesai(SiharaiYMD, kingaku, zei, hosyuryo)\n"
                       "VALUES(:SiharaiYMD, :kingaku, :zei, :hosyuryo)"),
        params);
    beginResetModel();
    m_rows += loaded;
    std::stable_sort(m_rows.begin(), m_rows.end(),
                     [](const ScheduleRow &a, const ScheduleRow &b) { return a.date < b.date; });
    endResetModel();
    emit posted();
}

int ScheduleModel::addRow()
{
    if (m_new) {
        if (m_newTouched) {
            emit refused(FieldErrorText::required(label(SiharaiYMD)));
            return -1;
        }
        return m_rows.size();
    }
    beginInsertRows(QModelIndex(), m_rows.size(), m_rows.size());
    m_new = ScheduleRow {};
    m_newTouched = false;
    endInsertRows();
    return m_rows.size();
}

void ScheduleModel::removeRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    if (isNewRow(row)) {
        beginRemoveRows(QModelIndex(), row, row);
        m_new.reset();
        endRemoveRows();
        return;
    }
    try {
        WorkTable::exec(m_dm, QStringLiteral("DELETE FROM wLeaseMesai WHERE SiharaiYMD = :D"),
                        {{QStringLiteral(":D"), WorkTable::dateValue(m_rows[row].date)}});
    } catch (const StoreError &e) {
        emit refused(e.message());
        return;
    }
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.remove(row);
    endRemoveRows();
    emit posted();
}

void ScheduleModel::finishNewRow()
{
    if (!m_new)
        return;
    if (m_newTouched)
        throw InputError(FieldErrorText::required(label(SiharaiYMD)));
    removeRow(m_rows.size());
}

ScheduleRow ScheduleModel::rowAt(int row) const
{
    return isNewRow(row) ? *m_new : m_rows.value(row);
}

int ScheduleModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows.size() + (m_new ? 1 : 0);
}

int ScheduleModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ScheduleModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::TextAlignmentRole && index.column() != SiharaiYMD)
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    ScheduleRow row = rowAt(index.row());
    switch (index.column()) {
    case SiharaiYMD:
        return DateText::shortDate(row.date);
    case Gokei:
        if (const std::optional<qint64> sum = gokei(row.kingaku, row.zei, row.hosyuryo))
            return QString::number(*sum);
        return Amounts::overflowText();
    default: {
        const QVariant amount = amountOf(row, index.column());
        return amount.isNull() ? QString() : amount.toString();
    }
    }
}

QVariant ScheduleModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return label(section);
}

Qt::ItemFlags ScheduleModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() != Gokei)
        f |= Qt::ItemIsEditable;
    return f;
}

bool ScheduleModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.column() == Gokei)
        return false;
    const QString text = value.toString().trimmed();
    try {
        if (index.column() == SiharaiYMD) {
            setDate(index.row(),
                    text.isEmpty()
                        ? QDate()
                        : QDate::fromString(NormalizeDateText(text), QStringLiteral("yyyy/MM/dd")));
        } else {
            setAmount(index.row(), index.column(), typedAmount(text, index.column()));
        }
    } catch (const InputError &e) {
        emit refused(e.message());
        return false;
    } catch (const StoreError &e) {
        emit refused(e.message());
        return false;
    }
    return true;
}

void ScheduleModel::setDate(int row, const QDate &date)
{
    const bool isNew = isNewRow(row);
    if (!date.isValid()) {
        // A new row may stay without date until it gets one; a written row
        // cannot.
        if (!isNew)
            throw InputError(FieldErrorText::required(label(SiharaiYMD)));
        return;
    }
    ScheduleRow changed = rowAt(row);
    if (changed.date == date)
        return;
    const auto same = [&](const ScheduleRow &r) { return r.date == date; };
    if (std::any_of(m_rows.cbegin(), m_rows.cend(), same))
        throw InputError(
            QStringLiteral("支払日 %1 は既に入力されています").arg(DateText::shortDate(date)));
    if (isNew) {
        WorkTable::exec(
            m_dm,
            QStringLiteral("INSERT INTO wLeaseMesai(SiharaiYMD, kingaku, zei, hosyuryo)\n"
                           "VALUES(:SiharaiYMD, :kingaku, :zei, :hosyuryo)"),
            {{QStringLiteral(":SiharaiYMD"), WorkTable::dateValue(date)},
             {QStringLiteral(":kingaku"), changed.kingaku.isNull() ? noInt() : changed.kingaku},
             {QStringLiteral(":zei"), changed.zei.isNull() ? noInt() : changed.zei},
             {QStringLiteral(":hosyuryo"),
              changed.hosyuryo.isNull() ? noInt() : changed.hosyuryo}});
        // The new row becomes a row of the table where it stands.
        changed.date = date;
        m_new.reset();
        m_rows.append(changed);
    } else {
        WorkTable::exec(m_dm,
                        QStringLiteral("UPDATE wLeaseMesai SET SiharaiYMD = :NEW\n"
                                       "WHERE SiharaiYMD = :OLD"),
                        {{QStringLiteral(":NEW"), WorkTable::dateValue(date)},
                         {QStringLiteral(":OLD"), WorkTable::dateValue(changed.date)}});
        changed.date = date;
        m_rows[row] = changed;
    }
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    place(row, changed);
    emit posted();
}

void ScheduleModel::setAmount(int row, int column, const QVariant &amount)
{
    if (isNewRow(row)) {
        amountOf(*m_new, column) = amount;
        m_newTouched = true;
    } else {
        WorkTable::exec(m_dm,
                        QStringLiteral("UPDATE wLeaseMesai SET %1 = :V\nWHERE SiharaiYMD = :D")
                            .arg(QLatin1String(Columns[column])),
                        {{QStringLiteral(":V"), amount},
                         {QStringLiteral(":D"), WorkTable::dateValue(m_rows[row].date)}});
        amountOf(m_rows[row], column) = amount;
    }
    emit dataChanged(index(row, column), index(row, Gokei));
    if (!isNewRow(row))
        emit posted();
}

void ScheduleModel::place(int from, const ScheduleRow &row)
{
    // Where the row belongs among the others, counted as if it were not
    // there.
    int to = 0;
    for (int r = 0; r < m_rows.size(); ++r) {
        if (r != from && m_rows[r].date < row.date)
            ++to;
    }
    if (to == from)
        return;
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    m_rows.move(from, to);
    endMoveRows();
}
