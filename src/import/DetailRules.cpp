#include "DetailRules.h"

#include "ValueReaders.h"
#include "base/TextHelpers.h"

#include <optional>

namespace {

const QString NewMark = QStringLiteral("new");
const QString KB = QStringLiteral("KB");

// Contents, or nothing when the record has none (a conversion that cannot
// read its value).
std::optional<QString> contentsOf(const CollectorRecord &record)
{
    if (!record.has(CollectorRecord::Contents))
        return std::nullopt;
    return record.contents();
}

// A drive size in KB; 0 when it cannot be read or does not fit 32 bits.
int driveSize(const CollectorRecord &record)
{
    const QString &unit = record.unit();
    const auto c = contentsOf(record);
    if (!c)
        return 0;
    std::optional<int> kb;
    if (unit == QLatin1String("GB")) {
        if (const auto d = ValueReaders::decimal(*c))
            kb = ValueReaders::scaled(*d, 1024.0 * 1024.0);
    } else if (unit == QLatin1String("MB")) {
        if (const auto d = ValueReaders::decimal(*c))
            kb = ValueReaders::scaled(*d, 1024.0);
    } else {
        kb = ValueReaders::integer(*c);
    }
    return kb.value_or(0);
}

bool isDigitsValue(const QVariant &value)
{
    return !value.isNull() && IsDigits(value.toString());
}

// Capa - Free; 0 when the difference does not fit 32 bits.
int usedSpace(const QVariant &capa, const QVariant &free)
{
    return ValueReaders::fit32(qint64(capa.toInt()) - qint64(free.toInt())).value_or(0);
}

} // namespace

DetailRules::DetailRules(const Tables &tables)
    : m_t(tables), m_appliCols(columnsOf(tables.appli)), m_printerCols(columnsOf(tables.printer)),
      m_driveCols(columnsOf(tables.drive)), m_shareCols(columnsOf(tables.share)),
      m_lanCols(columnsOf(tables.lan)), m_memoryCols(columnsOf(tables.memory)),
      m_clock([] { return QDateTime::currentDateTime(); }),
      m_zeroTimestamp(TableImage::timestampText(ZeroDate()))
{ }

DetailRules::Columns DetailRules::columnsOf(const TableImage &table) const
{
    const TableDef &def = table.def();
    return {table.column(QStringLiteral("Key")), table.column(def.primaryKey.at(1)),
            table.column(QStringLiteral("UpdateYMD")), table.column(QStringLiteral("NyuryokuKBN")),
            def.indexOf(QStringLiteral("AddYMD"))};
}

int DetailRules::adapterNumber(const QString &item)
{
    if (item == QLatin1String("Adapter"))
        return 1;
    for (int n = 2; n <= 9; ++n) {
        if (item == QStringLiteral("Adapter%1").arg(n))
            return n;
    }
    return 0;
}

int DetailRules::memoryModuleNumber(const QString &item)
{
    for (int n = 1; n <= 16; ++n) {
        if (item == QStringLiteral("PhysicalMemory%1").arg(n))
            return n;
    }
    return 0;
}

TableImage::Row DetailRules::rowFor(TableImage &table, const Columns &c, const QVariant &key,
                                    const QVariant &rowKey)
{
    TableImage::Row row;
    if (const TableImage::Row *found = table.find(key, rowKey)) {
        row = *found;
    } else {
        row = table.blankRow();
        if (c.addYmd >= 0)
            row[c.addYmd] = m_now;
    }
    row[c.key] = key;
    row[c.rowKey] = rowKey;
    return row;
}

void DetailRules::save(TableImage &table, const Columns &c, TableImage::Row &row,
                       const CollectorRecord &record)
{
    // UpdateYMD only moves forward; no value counts as the zero date. The
    // text forms compare in time order.
    // The records of a file mostly share a few dates: each is read once.
    const QString &day = record.at(CollectorRecord::Renewalday);
    if (day != m_renewalDay || m_renewal.isNull()) {
        m_renewal = TableImage::timestampText(ParseYMD(day));
        m_renewalDay = day;
    }
    const QString &renewal = m_renewal;
    const QVariant &stored = row.at(c.updateYmd);
    if (renewal > (stored.isNull() ? m_zeroTimestamp : stored.toString()))
        row[c.updateYmd] = renewal;
    row[c.nyuryokuKbn] = NewMark;
    table.put(row);
}

void DetailRules::beginFile()
{
    const QDateTime now = m_clock();
    m_now = TableImage::timestampText(now.date(), now.time());
}

void DetailRules::apply(const CollectorRecord &record)
{
    const QString &group = record.group();
    if (group == QLatin1String("Soft")) {
        if (record.item() == QLatin1String("Application"))
            application(record);
    } else if (group == QLatin1String("Hard")) {
        const QString &item = record.item();
        if (item == QLatin1String("Printer"))
            printer(record);
        if (item != QStringLiteral("メモリ") && item != QLatin1String("SystemHDD")
            && item != QStringLiteral("ページファイル"))
            drive(record);
    } else if (group == QLatin1String("Shared")) {
        if (record.item() == QLatin1String("Resource"))
            share(record);
    } else if (group == QLatin1String("LAN")) {
        if (record.item().startsWith(QLatin1String("Adapter")))
            adapter(record);
    } else if (group == QLatin1String("WMI")) {
        const QString &item = record.item();
        if (item.startsWith(QLatin1String("PhysicalMemory"))
            && item != QLatin1String("PhysicalMemory"))
            memoryModule(record);
    }
}

void DetailRules::application(const CollectorRecord &record)
{
    TableImage &t = m_t.appli;
    const Columns &c = m_appliCols;
    QString name = TrimBlanks(record.subItem());
    if (name.isEmpty())
        name = record.unit().contains(QLatin1String("Alcohol")) ? QStringLiteral("Alcohol")
                                                                : QStringLiteral("?");
    TableImage::Row row
        = rowFor(t, c, t.normalized(c.key, record.key()), t.normalized(c.rowKey, name));
    t.set(row, t.column(QStringLiteral("Ver")), record.contents());
    save(t, c, row, record);
}

void DetailRules::printer(const CollectorRecord &record)
{
    TableImage &t = m_t.printer;
    const Columns &c = m_printerCols;
    const QVariant key = t.normalized(c.key, record.key());
    const QString &name = record.subItem();
    const QString &port = record.contents();
    const QVariant plain = t.normalized(c.rowKey, name);
    // Rows of earlier versions are named "printer. port": they take the
    // plain name unless a row of that name exists already.
    const QVariant former = t.normalized(c.rowKey, name + QStringLiteral(". ") + port);
    t.rename(key, former, plain);

    TableImage::Row row = rowFor(t, c, key, plain);
    t.set(row, t.column(QStringLiteral("Port")), port);
    save(t, c, row, record);
}

void DetailRules::drive(const CollectorRecord &record)
{
    const QString &kind = record.subItem();
    const bool capacity = kind == QStringLiteral("全容量");
    const bool freeSpace = kind == QStringLiteral("空容量");
    const bool type = kind == QStringLiteral("タイプ");
    if (!capacity && !freeSpace && !type)
        return;
    TableImage &t = m_t.drive;
    const Columns &c = m_driveCols;
    const int capa = t.column(QStringLiteral("Capa"));
    const int used = t.column(QStringLiteral("Used"));
    const int free = t.column(QStringLiteral("Free"));
    TableImage::Row row
        = rowFor(t, c, t.normalized(c.key, record.key()), t.normalized(c.rowKey, record.item()));
    if (type) {
        t.set(row, t.column(QStringLiteral("Type")), record.contents());
    } else {
        // The size goes to its column; the other size reads as 0 until its
        // own record comes, and Used follows both.
        const int size = driveSize(record);
        const int own = capacity ? capa : free;
        const int other = capacity ? free : capa;
        t.set(row, own, size);
        if (!isDigitsValue(row.at(other)))
            t.set(row, other, 0);
        t.set(row, t.column(capacity ? QStringLiteral("Capa_Tani") : QStringLiteral("Free_Tani")),
              KB);
        t.set(row, t.column(QStringLiteral("Used_Tani")), KB);
        t.set(row, used, usedSpace(row.at(capa), row.at(free)));
    }
    save(t, c, row, record);
}

void DetailRules::share(const CollectorRecord &record)
{
    TableImage &t = m_t.share;
    const Columns &c = m_shareCols;
    TableImage::Row row
        = rowFor(t, c, t.normalized(c.key, record.key()), t.normalized(c.rowKey, record.subItem()));
    t.set(row, t.column(QStringLiteral("SharedPath")), record.contents());
    save(t, c, row, record);
}

void DetailRules::adapter(const CollectorRecord &record)
{
    const int seq = adapterNumber(record.item());
    if (seq == 0)
        return;
    TableImage &t = m_t.lan;
    const Columns &c = m_lanCols;
    TableImage::Row row = rowFor(t, c, t.normalized(c.key, record.key()), seq);
    const QString &sub = record.subItem();
    if (sub == QStringLiteral("IPアドレス")) {
        t.set(row, t.column(QStringLiteral("IP")), record.contents());
        t.set(row, t.column(QStringLiteral("IP16")), IPToIP16(record.contents()));
    } else {
        // The other values are stored trimmed.
        static const QList<QPair<QString, QString>> columns {
            {QStringLiteral("アダプター名"), QStringLiteral("LAN_Adapter")},
            {QStringLiteral("サブネットマスク"), QStringLiteral("SubNet")},
            {QStringLiteral("ゲートウェイ"), QStringLiteral("GateWay")},
            {QStringLiteral("DHCPServer"), QStringLiteral("DHCP")},
            {QStringLiteral("PrimaryWINS"), QStringLiteral("WINS1")},
            {QStringLiteral("SecondaryWINS"), QStringLiteral("WINS2")},
            {QStringLiteral("MACアドレス"), QStringLiteral("Mac")},
        };
        for (const auto &[subItem, column] : columns) {
            if (sub == subItem) {
                t.set(row, t.column(column), TrimBlanks(record.contents()));
                break;
            }
        }
    }
    save(t, c, row, record);
}

void DetailRules::memoryModule(const CollectorRecord &record)
{
    const int seq = memoryModuleNumber(record.item());
    if (seq == 0)
        return;
    TableImage &t = m_t.memory;
    const Columns &c = m_memoryCols;
    TableImage::Row row = rowFor(t, c, t.normalized(c.key, record.key()), seq);
    const QString &sub = record.subItem();
    if (sub == QLatin1String("Capacity")) {
        // Megabytes; a unit other than MB or GB leaves the size as it was.
        const QString unit = TrimBlanks(record.unit());
        const bool mb = unit == QLatin1String("MB");
        if (mb || unit == QLatin1String("GB")) {
            const auto contents = contentsOf(record);
            std::optional<int> size = contents ? ValueReaders::integer(*contents) : std::nullopt;
            if (size && !mb)
                size = ValueReaders::fit32(qint64(*size) * 1024);
            t.set(row, t.column(QStringLiteral("MB")), size.value_or(0));
        }
    } else {
        static const QList<QPair<QString, QString>> columns {
            {QStringLiteral("DeviceLocator"), QStringLiteral("DeviceLocator")},
            {QStringLiteral("Speed"), QStringLiteral("Speed")},
            {QStringLiteral("Formfacturer"), QStringLiteral("Formfacturer")},
            {QStringLiteral("Type"), QStringLiteral("Type")},
        };
        for (const auto &[subItem, column] : columns) {
            if (sub == subItem) {
                t.set(row, t.column(column), TrimBlanks(record.contents()));
                break;
            }
        }
    }
    save(t, c, row, record);
}
