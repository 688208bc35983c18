#include "Upgrades.h"

#include "StoreError.h"
#include "StoreTransaction.h"
#include "UDMdata.h"

namespace {

struct Group
{
    QString marker;
    QVector<AlterClause> clauses;
};

AlterClause add(const QString &table, const char *column)
{
    const ColumnDef *c = Schema::find(table)->column(QLatin1String(column));
    Q_ASSERT(c);
    return {AlterClause::Kind::Add, *c};
}

AlterClause addWidth(const char *column, int width)
{
    ColumnDef c;
    c.name = QLatin1String(column);
    c.type = ColumnType::Character;
    c.width = width;
    return {AlterClause::Kind::Add, c};
}

AlterClause redefine(const QString &table, const char *column)
{
    const ColumnDef *c = Schema::find(table)->column(QLatin1String(column));
    Q_ASSERT(c);
    return {AlterClause::Kind::Redefine, *c};
}

QVector<AlterClause> adds(const QString &table, std::initializer_list<const char *> columns)
{
    QVector<AlterClause> out;
    for (const char *c : columns)
        out << add(table, c);
    return out;
}

// Reads the table's columns once, then adds every group whose marker is
// missing from that list, in order.
void runGroups(TDMdata &dm, const QString &table, const QVector<Group> &groups)
{
    const QStringList existing = dm.columnNames(table);
    for (const Group &g : groups) {
        if (existing.contains(g.marker, Qt::CaseInsensitive))
            continue;
        // A group is added whole or not at all; the groups before a failing
        // one stay added.
        StoreSavepoint step(dm);
        QSqlDatabase db = dm.database();
        dm.dialect().executeAlter(db, table, g.clauses);
        step.release();
    }
}

// The groups of one table's upgrade, in the order they run. A store that
// has PC.KanriCD without IP16 skipped the group of which KanriCD is the
// marker: IP16 alone is added after the others, as the list and the import
// need it.
QVector<QVector<Group>> groupRuns(TableId id)
{
    switch (id) {
    case TableId::PC: {
        const QString pc = QStringLiteral("PC");
        return {
            {
                {QStringLiteral("WIN_ProductID"),
                 adds(pc,
                      {"Win_ProductID", "Win_OEM_Manufacture", "Win_OEM_Model", "WorkGroup",
                       "CompSetumei", "SubNet", "GateWay", "DHCP", "DNS1", "DNS2", "LAN_Adapter",
                       "Hosyu_Kaisya", "Hosyu_No", "TekkyoYMD", "Keijyo", "KanriNo",
                       "SettiBasyo"})},
                {QStringLiteral("KanriCD"), adds(pc, {"KanriCD", "IP16"})},
                {QStringLiteral("IE_Update_Ver"), adds(pc, {"IE_Update_Ver", "WINS1", "WINS2"})},
                {QStringLiteral("SP"),
                 adds(pc, {"SP", "InvaroYMD", "Yoto", "SisanKBN", "Konyusaki"})},
                {QStringLiteral("FREE"), adds(pc, {"FREE"})},
                {QStringLiteral("SMBIOS_Caption"),
                 adds(pc,
                      {"SMBIOS_Caption", "SMBIOS_Version", "BIOS_Vendor", "BIOS_Caption",
                       "BIOS_Version", "BIOS_ReleaseDate", "BIOS_SerialNo", "System_Vendor",
                       "System_Model", "MB_Vendor", "MB_Product", "MB_SerialNo", "Memory_MaxCapa",
                       "Memory_Slot"})},
            },
            {{QStringLiteral("IP16"), adds(pc, {"IP16"})}},
        };
    }
    case TableId::Printer: {
        const QString printer = QStringLiteral("Printer");
        return {{
            {QStringLiteral("Port"), {addWidth("Port", 20)}},
            {QStringLiteral("Ver116"), {redefine(printer, "Port"), add(printer, "Ver116")}},
            {QStringLiteral("NyuryokuKBN"), adds(printer, {"NyuryokuKBN"})},
        }};
    }
    case TableId::Appli: {
        const QString appli = QStringLiteral("Appli");
        return {{{QStringLiteral("Maker"), adds(appli, {"Maker", "NyuryokuKBN", "AddYMD"})}}};
    }
    case TableId::Drive: {
        const QString drive = QStringLiteral("Drive");
        return {{{QStringLiteral("NyuryokuKBN"), adds(drive, {"NyuryokuKBN"})}}};
    }
    default:
        return {};
    }
}

void upgrade(TDMdata &dm, TableId id)
{
    const QString table = Schema::table(id).name;
    for (const QVector<Group> &groups : groupRuns(id))
        runGroups(dm, table, groups);
}

} // namespace

int CountPcsWithoutIp16(TDMdata &dm)
{
    // An empty IP16 may be stored as no value: both count as empty.
    QSqlQuery q = dm.exec(QStringLiteral("SELECT KEY FROM PC\n"
                                         "WHERE IP <> ''\n"
                                         "AND COALESCE(IP16, '') = ''"));
    int n = 0;
    while (q.next())
        ++n;
    q.finish();
    return n;
}

int UpgradePcTable(TDMdata &dm)
{
    upgrade(dm, TableId::PC);
    return CountPcsWithoutIp16(dm);
}

void UpgradePrinterTable(TDMdata &dm)
{
    upgrade(dm, TableId::Printer);
}

void UpgradeAppliTable(TDMdata &dm)
{
    upgrade(dm, TableId::Appli);
}

void UpgradeDriveTable(TDMdata &dm)
{
    upgrade(dm, TableId::Drive);
}

bool UpgradeNeeded(TDMdata &dm, TableId id)
{
    const QStringList existing = dm.columnNames(Schema::table(id).name);
    for (const QVector<Group> &groups : groupRuns(id)) {
        for (const Group &g : groups) {
            if (!existing.contains(g.marker, Qt::CaseInsensitive))
                return true;
        }
    }
    return false;
}
