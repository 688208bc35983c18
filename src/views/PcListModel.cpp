#include "PcListModel.h"

#include "DisplayFormat.h"
#include "GridRoles.h"
#include "base/DateText.h"
#include "store/Schema.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QColor>
#include <QDate>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

const QDate ZeroDate(1899, 12, 30);

// How one column of the result becomes a field's plain text.
struct ResultColumn
{
    int field = -1; // -1: not a field of the list
    const ColumnDef *column = nullptr;
    PcListFields::Kind kind = PcListFields::Kind::Text;
};

QList<ResultColumn> resultColumns(const QSqlRecord &record)
{
    const TableDef &pc = Schema::table(TableId::PC);
    QList<ResultColumn> columns;
    for (int i = 0; i < record.count(); ++i) {
        ResultColumn c;
        const QString name = record.fieldName(i);
        for (int f = 0; f < PcListFields::Count; ++f) {
            if (PcListFields::all().at(f).name.compare(name, Qt::CaseInsensitive) == 0) {
                c.field = f;
                c.kind = PcListFields::all().at(f).kind;
                c.column = pc.column(name);
                break;
            }
        }
        columns.append(c);
    }
    return columns;
}

QString plainOf(const ResultColumn &c, const QVariant &raw, QDate *date)
{
    if (raw.isNull())
        return QString();
    using K = PcListFields::Kind;
    switch (c.kind) {
    case K::Text:
        return raw.toString();
    case K::Number:
    case K::Thousands: {
        const QVariant v = c.column ? StoreValue::fromStore(*c.column, raw) : raw;
        if (v.typeId() == QMetaType::Double)
            return QString::number(v.toDouble(), 'g', QLocale::FloatingPointShortest);
        return v.toString();
    }
    case K::Date:
    case K::DateNoPad: {
        const QVariant v = c.column ? StoreValue::fromStore(*c.column, raw) : raw;
        *date = v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
        return DateText::shortDate(*date);
    }
    }
    return raw.toString();
}

} // namespace

PcListModel::PcListModel(QObject *parent) : QAbstractTableModel(parent) { }

void PcListModel::load(TDMdata &dm, const QString &statement, int firstRows)
{
    beginResetModel();
    m_rows.clear();
    m_dm = &dm;
    m_statement = statement;
    m_complete = true;
    try {
        m_rows = fetch(firstRows);
        m_complete = firstRows <= 0 || m_rows.size() < firstRows;
    } catch (...) {
        m_rows.clear();
        endResetModel();
        throw;
    }
    endResetModel();
}

bool PcListModel::loadRest()
{
    if (m_complete || !m_dm)
        return false;
    QList<Row> rows = fetch(0);
    m_complete = true;
    // The first rows are read again with the rest, so the list is the
    // result of one statement.
    const int shown = int(m_rows.size());
    const int common = int(qMin(m_rows.size(), rows.size()));
    if (rows.size() < m_rows.size()) {
        beginRemoveRows(QModelIndex(), int(rows.size()), shown - 1);
        m_rows.resize(rows.size());
        endRemoveRows();
    }
    for (int r = 0; r < common; ++r)
        m_rows[r] = std::move(rows[r]);
    if (common > 0)
        emit dataChanged(index(0, 0), index(common - 1, PcListFields::Count - 1));
    if (rows.size() > shown) {
        beginInsertRows(QModelIndex(), shown, int(rows.size()) - 1);
        m_rows.reserve(rows.size());
        for (qsizetype r = shown; r < rows.size(); ++r)
            m_rows.append(std::move(rows[r]));
        endInsertRows();
    }
    return true;
}

void PcListModel::clear()
{
    beginResetModel();
    m_rows.clear();
    m_dm = nullptr;
    m_statement.clear();
    m_complete = true;
    endResetModel();
}

QList<PcListModel::Row> PcListModel::fetch(int limit)
{
    // Empty values sort as SQLite sorts them, whatever the engine.
    QString sql = m_dm->dialect().withSqliteNullOrder(m_statement);
    if (limit > 0)
        sql += QStringLiteral("\nLIMIT :ROWS");
    QSqlQuery query = m_dm->prepare(sql);
    if (limit > 0)
        query.bindValue(QStringLiteral(":ROWS"), limit);
    TDMdata::exec(query);

    const QList<ResultColumn> columns = resultColumns(query.record());
    const int tekkyo = PcListFields::tekkyoField();
    QList<Row> rows;
    std::array<QString, PcListFields::Count> values;
    while (query.next()) {
        Row row;
        qsizetype length = 0;
        for (int i = 0; i < columns.size(); ++i) {
            const ResultColumn &c = columns.at(i);
            if (c.field < 0)
                continue;
            QDate date;
            values[c.field] = plainOf(c, query.value(i), &date);
            length += values[c.field].size();
            if (c.field == tekkyo)
                row.removed = date.isValid() && date > ZeroDate;
        }
        row.text.reserve(length);
        for (int f = 0; f < PcListFields::Count; ++f) {
            row.text += values[f];
            row.end[f] = quint32(row.text.size());
            values[f].clear();
        }
        rows.append(std::move(row));
    }
    query.finish();
    return rows;
}

QString PcListModel::key(int row) const
{
    return plainText(row, PcListFields::keyField());
}

int PcListModel::rowOfKey(const QString &key) const
{
    for (int r = 0; r < m_rows.size(); ++r)
        if (plainText(r, PcListFields::keyField()) == key)
            return r;
    return -1;
}

bool PcListModel::isRemoved(int row) const
{
    return row >= 0 && row < m_rows.size() && m_rows.at(row).removed;
}

QString PcListModel::plainText(int row, int field) const
{
    if (row < 0 || row >= m_rows.size() || field < 0 || field >= PcListFields::Count)
        return QString();
    const Row &r = m_rows.at(row);
    const qsizetype start = field == 0 ? 0 : r.end[field - 1];
    return r.text.mid(start, r.end[field] - start);
}

QString PcListModel::displayText(int row, int field) const
{
    const QString plain = plainText(row, field);
    if (plain.isEmpty())
        return plain;
    switch (PcListFields::all().at(field).kind) {
    case PcListFields::Kind::Thousands:
        return DisplayFormat::thousands(plain.toLongLong());
    case PcListFields::Kind::DateNoPad:
        return DateText::ymdNoPad(QDate::fromString(plain, QStringLiteral("yyyy/MM/dd")));
    default:
        return plain;
    }
}

int PcListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PcListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : PcListFields::Count;
}

QVariant PcListModel::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid))
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return displayText(index.row(), index.column());
    case GridRoles::PlainText:
        return plainText(index.row(), index.column());
    case Qt::TextAlignmentRole: {
        const PcListFields::Kind kind = PcListFields::all().at(index.column()).kind;
        if (kind == PcListFields::Kind::Number || kind == PcListFields::Kind::Thousands)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    }
    case Qt::BackgroundRole:
        // Removed PCs are grey; a selected row keeps the selection colours.
        return isRemoved(index.row()) ? QVariant(QColor(224, 224, 224)) : QVariant();
    case Qt::ForegroundRole:
        return isRemoved(index.row()) ? QVariant(QColor(Qt::black)) : QVariant();
    default:
        return {};
    }
}

QVariant PcListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0
        && section < PcListFields::Count)
        return PcListFields::all().at(section).caption;
    return QAbstractTableModel::headerData(section, orientation, role);
}
