#include "PcListModel.h"

#include "DisplayFormat.h"
#include "base/DateText.h"
#include "base/GridRoles.h"
#include "store/BackgroundReader.h"
#include "store/Schema.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QColor>
#include <QDate>
#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QThreadPool>

namespace {

const QDate ZeroDate(1899, 12, 30);

// Rows of the first slice (the first screenful and more) and of the later
// ones; a slice of SliceRows takes the window's thread a few milliseconds.
constexpr int FirstSlice = 100;
constexpr int SliceRows = 2000;

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

PcListModel::PcListModel(QObject *parent)
    : QAbstractTableModel(parent), m_reader(new BackgroundReader(this))
{ }

PcListModel::~PcListModel() = default;

void PcListModel::load(TDMdata &dm, const QString &statement)
{
    m_reader->cancel();
    m_reading = false;
    QList<Row> rows;
    try {
        fetch(
            dm, statement, [] { return false; },
            [&rows](QList<Row> &&slice) { rows.append(std::move(slice)); });
    } catch (...) {
        beginResetModel();
        m_rows.clear();
        endResetModel();
        throw;
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

void PcListModel::read(const TDMdata &dm, const QString &statement)
{
    m_reading = true;
    m_reader->start(
        dm,
        [this, statement](BackgroundReader::Job &job) {
            bool first = true;
            fetch(
                job.store(), statement, [&job] { return job.cancelled(); },
                [this, &job, &first](QList<Row> &&slice) {
                    job.deliver(
                        [this, slice = std::move(slice), first] { takeSlice(slice, first); });
                    first = false;
                });
            job.deliver([this] {
                m_reading = false;
                emit loaded();
            });
        },
        [this](const QString &message, bool lost) {
            m_reading = false;
            emit failed(message, lost);
        });
}

bool PcListModel::isComplete() const
{
    return !m_reading;
}

void PcListModel::waitForAll()
{
    if (m_reading)
        m_reader->finish();
}

void PcListModel::takeSlice(const QList<Row> &slice, bool first)
{
    if (first) {
        QList<Row> old;
        beginResetModel();
        old.swap(m_rows);
        m_rows = slice;
        endResetModel();
        // Freeing a long list takes tens of milliseconds: not on the
        // window's thread.
        if (!old.isEmpty())
            QThreadPool::globalInstance()->start([old = std::move(old)]() mutable { old = {}; });
        return;
    }
    if (slice.isEmpty())
        return;
    const int from = int(m_rows.size());
    beginInsertRows(QModelIndex(), from, from + int(slice.size()) - 1);
    m_rows.append(slice);
    endInsertRows();
}

void PcListModel::clear()
{
    m_reader->cancel();
    m_reading = false;
    beginResetModel();
    m_rows.clear();
    endResetModel();
}

void PcListModel::fetch(TDMdata &dm, const QString &statement,
                        const std::function<bool()> &cancelled,
                        const std::function<void(QList<Row> &&slice)> &hand)
{
    // Empty values sort as SQLite sorts them, whatever the engine.
    QSqlQuery query = dm.prepare(dm.dialect().withSqliteNullOrder(statement));
    TDMdata::exec(query);

    const QList<ResultColumn> columns = resultColumns(query.record());
    const int tekkyo = PcListFields::tekkyoField();
    QList<Row> rows;
    int sliceRows = FirstSlice;
    bool handed = false;
    std::array<QString, PcListFields::Count> values;
    while (!cancelled() && query.next()) {
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
        if (rows.size() >= sliceRows) {
            hand(std::move(rows));
            rows = {};
            handed = true;
            sliceRows = SliceRows;
        }
    }
    query.finish();
    // The last slice; an empty list is one empty slice.
    if (!rows.isEmpty() || !handed)
        hand(std::move(rows));
}

QString PcListModel::key(int row) const
{
    return plainText(row, PcListFields::keyField());
}

int PcListModel::rowOfKey(const QString &key, int from) const
{
    const int field = PcListFields::keyField();
    for (int r = qMax(from, 0); r < m_rows.size(); ++r) {
        const Row &row = m_rows.at(r);
        const qsizetype start = field == 0 ? 0 : row.end[field - 1];
        if (QStringView(row.text).mid(start, row.end[field] - start) == key)
            return r;
    }
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
