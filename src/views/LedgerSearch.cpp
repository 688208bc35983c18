#include "LedgerSearch.h"

#include "PcListFields.h"
#include "store/Schema.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <algorithm>
#include <map>

namespace {

struct KindName
{
    LedgerSearch::Kind kind;
    const char *name; // the option of orvanectl find
    const char *text; // what the results call it
};

const KindName kinds[] = {
    {LedgerSearch::Kind::Pc, "pc", "PC"},
    {LedgerSearch::Kind::Appli, "appli", "アプリ"},
    {LedgerSearch::Kind::Printer, "printer", "プリンタ"},
    {LedgerSearch::Kind::Share, "share", "共有"},
    {LedgerSearch::Kind::Lan, "lan", "LAN"},
    {LedgerSearch::Kind::Lease, "lease", "リース"},
};

// The PC's searched columns: every text column, and the management
// number. Dates, sizes and the processor's feature flags are left out: a
// digit typed would find every PC by them.
QStringList pcColumns()
{
    QStringList columns;
    for (const ColumnDef &column : Schema::table(TableId::PC).columns)
        if (column.type == ColumnType::Character || column.type == ColumnType::Memo
            || column.name == QLatin1String("KanriNo"))
            columns.append(column.name);
    return columns;
}

QString pcCaption(const QString &column)
{
    const int field = PcListFields::indexOfName(column);
    return field >= 0 ? PcListFields::all().at(field).caption : column;
}

QString valueText(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString().trimmed();
}

} // namespace

QString LedgerSearch::kindText(Kind kind)
{
    for (const KindName &k : kinds)
        if (k.kind == kind)
            return QString::fromUtf8(k.text);
    return QString();
}

std::optional<LedgerSearch::Kind> LedgerSearch::kindOfName(const QString &name)
{
    for (const KindName &k : kinds)
        if (name == QLatin1String(k.name))
            return k.kind;
    return std::nullopt;
}

QStringList LedgerSearch::kindNames()
{
    QStringList names;
    for (const KindName &k : kinds)
        names.append(QLatin1String(k.name));
    return names;
}

int LedgerSearch::intern(const QString &value)
{
    const auto found = m_valueNumbers.constFind(value);
    if (found != m_valueNumbers.constEnd())
        return found.value();
    const int number = int(m_values.size());
    m_values.append(value);
    m_texts.append(SearchText::fieldText(value));
    m_valueNumbers.insert(value, number);
    return number;
}

int LedgerSearch::columnNumber(const QString &caption)
{
    const int at = int(m_columns.indexOf(caption));
    if (at >= 0)
        return at;
    m_columns.append(caption);
    return int(m_columns.size() - 1);
}

void LedgerSearch::readTable(TDMdata &dm, Kind kind, const QString &statement,
                             const QStringList &captions, const std::function<bool()> &stopped)
{
    QList<int> columns;
    for (const QString &caption : captions)
        columns.append(columnNumber(caption));
    QSqlQuery query = dm.exec(statement);
    for (int row = 1; query.next(); ++row) {
        if (row % 4096 == 0 && stopped && stopped())
            return;
        Record record {kind, intern(valueText(query.value(0))), -1, int(m_fields.size()), 0};
        for (int i = 0; i < columns.size(); ++i) {
            const QString value = valueText(query.value(i + 1));
            if (value.isEmpty())
                continue;
            m_fields.push_back({columns.at(i), intern(value)});
            ++record.fieldCount;
        }
        if (record.fieldCount > 0)
            m_records.push_back(record);
    }
}

void LedgerSearch::readLeases(TDMdata &dm)
{
    // A contract's fields and its covered PCs, gathered before they are
    // laid down one contract after another.
    std::map<std::pair<QString, QString>, QList<Field>> contracts;
    const int company = columnNumber(QStringLiteral("リース会社"));
    const int number = columnNumber(QStringLiteral("契約№"));
    const int item = columnNumber(QStringLiteral("物件名"));
    const int covered = columnNumber(QStringLiteral("対象PC"));
    const auto add = [&](QList<Field> &fields, int column, const QVariant &value) {
        const QString text = valueText(value);
        if (!text.isEmpty())
            fields.append({column, intern(text)});
    };
    QSqlQuery leases = dm.exec(QStringLiteral("SELECT lease, lease_No, Bukkenmei FROM LEASE"));
    while (leases.next()) {
        QList<Field> &fields = contracts[{valueText(leases.value(0)), valueText(leases.value(1))}];
        add(fields, company, leases.value(0));
        add(fields, number, leases.value(1));
        add(fields, item, leases.value(2));
    }
    QSqlQuery pcs = dm.exec(QStringLiteral("SELECT lease, lease_No, PCKey FROM LeasePC"));
    while (pcs.next()) {
        const auto contract = contracts.find({valueText(pcs.value(0)), valueText(pcs.value(1))});
        if (contract != contracts.end()) // rows of no contract are no contract's
            add(contract->second, covered, pcs.value(2));
    }
    for (const auto &[key, fields] : contracts) {
        m_records.push_back({Kind::Lease, intern(key.first), intern(key.second),
                             int(m_fields.size()), int(fields.size())});
        m_fields.insert(m_fields.end(), fields.begin(), fields.end());
    }
}

void LedgerSearch::load(TDMdata &dm, const QList<Kind> &kinds, const std::function<bool()> &stopped)
{
    *this = LedgerSearch();
    const auto wanted = [&](Kind kind) { return kinds.isEmpty() || kinds.contains(kind); };
    if (wanted(Kind::Pc)) {
        const QStringList columns = pcColumns();
        QStringList captions;
        for (const QString &column : columns)
            captions.append(pcCaption(column));
        readTable(dm, Kind::Pc,
                  QStringLiteral("SELECT Key, %1 FROM PC").arg(columns.join(QStringLiteral(", "))),
                  captions, stopped);
    }
    if (wanted(Kind::Appli))
        readTable(dm, Kind::Appli, QStringLiteral("SELECT Key, Appli, Ver, ProductID FROM APPLI"),
                  {QStringLiteral("アプリケーション"), QStringLiteral("Ver"),
                   QStringLiteral("ProductID")},
                  stopped);
    if (wanted(Kind::Printer))
        readTable(dm, Kind::Printer, QStringLiteral("SELECT Key, Printer, Biko FROM PRINTER"),
                  {QStringLiteral("プリンタ名"), QStringLiteral("備考")}, stopped);
    if (wanted(Kind::Share))
        readTable(dm, Kind::Share, QStringLiteral("SELECT Key, SharedName, SharedPath FROM SHARE"),
                  {QStringLiteral("共有名"), QStringLiteral("パス")}, stopped);
    if (wanted(Kind::Lan))
        readTable(dm, Kind::Lan, QStringLiteral("SELECT Key, IP, Mac FROM LAN"),
                  {QStringLiteral("IPｱﾄﾞﾚｽ"), QStringLiteral("Macｱﾄﾞﾚｽ")}, stopped);
    if (wanted(Kind::Lease))
        readLeases(dm);

    // One order on both engines: by kind, then key (as the program compares
    // texts), then as read, the fields staying in column order.
    std::stable_sort(m_records.begin(), m_records.end(), [this](const Record &a, const Record &b) {
        if (a.kind != b.kind)
            return a.kind < b.kind;
        if (a.key != b.key) {
            const int order = QString::compare(m_values.at(a.key), m_values.at(b.key));
            if (order != 0)
                return order < 0;
        }
        const QString &aNo = a.leaseNo >= 0 ? m_values.at(a.leaseNo) : QString();
        const QString &bNo = b.leaseNo >= 0 ? m_values.at(b.leaseNo) : QString();
        return aNo < bNo;
    });
    m_valueNumbers.clear(); // needed only while reading
    m_valueNumbers.squeeze();
}

QList<LedgerSearch::Hit> LedgerSearch::find(const QString &typed) const
{
    const SearchText::Query query(typed);
    QList<Hit> hits;
    if (query.isEmpty())
        return hits;
    // Which distinct values hold each word: one pass over the pool.
    const int words = query.wordCount();
    std::vector<std::vector<bool>> holds(size_t(words), std::vector<bool>(m_texts.size()));
    for (int w = 0; w < words; ++w)
        for (qsizetype v = 0; v < m_texts.size(); ++v)
            holds[size_t(w)][size_t(v)] = query.findWord(w, m_texts.at(v)) >= 0;

    for (const Record &record : m_records) {
        const Field *first = m_fields.data() + record.firstField;
        const Field *end = first + record.fieldCount;
        bool all = true;
        for (int w = 0; w < words && all; ++w)
            all = std::any_of(first, end,
                              [&](const Field &f) { return holds[size_t(w)][size_t(f.value)]; });
        if (!all)
            continue;
        for (const Field *f = first; f != end; ++f) {
            const bool named = std::any_of(holds.begin(), holds.end(), [&](const auto &word) {
                return word[size_t(f->value)];
            });
            if (!named)
                continue;
            Hit hit {record.kind, m_values.at(record.key), {},
                     {},          m_columns.at(f->column), m_values.at(f->value)};
            if (record.kind == Kind::Lease) {
                hit.leaseCompany = hit.key;
                hit.leaseNo = m_values.at(record.leaseNo);
                hit.key = hit.leaseCompany + QStringLiteral(" / ") + hit.leaseNo;
            }
            hits.append(hit);
        }
    }
    return hits;
}
