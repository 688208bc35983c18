#include "Schema.h"

namespace {

ColumnDef chr(const char *name, int width, bool notNull = false)
{
    ColumnDef c;
    c.name = QLatin1String(name);
    c.type = ColumnType::Character;
    c.width = width;
    c.notNull = notNull;
    return c;
}

ColumnDef typed(const char *name, ColumnType type, bool notNull = false)
{
    ColumnDef c;
    c.name = QLatin1String(name);
    c.type = type;
    c.notNull = notNull;
    return c;
}

ColumnDef integer(const char *name, bool notNull = false)
{
    return typed(name, ColumnType::Integer, notNull);
}

QVector<ColumnDef> pcColumns()
{
    QVector<ColumnDef> c {
        chr("Key", 32, true),
        chr("Win_Ver", 64),
        chr("Win_Type", 64),
        chr("IE_Ver", 32),
        chr("Display", 32),
        integer("Mem_All"),
        chr("Mem_All_Tani", 5),
        integer("Mem_Use"),
        chr("Mem_Use_Tani", 5),
        integer("Mem_Free"),
        chr("Mem_Free_Tani", 5),
        chr("SysDrive", 5),
        chr("CPU_Name", 64),
        chr("CPU_ID", 32),
        typed("CPU_Clock", ColumnType::Float),
        chr("CPU_Clock_Tani", 5),
        chr("CPU_NameString", 32),
        integer("CPU_Type"),
        integer("CPU_Family"),
        integer("CPU_Model"),
        integer("CPU_Stepping"),
        integer("CPU_L1Meirei"),
        chr("CPU_L1Meirei_Tani", 5),
        integer("CPU_L1Data"),
        chr("CPU_L1Data_Tani", 5),
        integer("CPU_L2"),
        chr("CPU_L2_Tani", 5),
        integer("CPU_L1Trace"),
        chr("CPU_L1Trace_Tani", 5),
        chr("CPU_Serial", 32),
    };
    for (const char *flag :
         {"CPU_FPU",  "CPU_VME", "CPU_DE",    "CPU_PSE",    "CPU_TSC",  "CPU_MSR",  "CPU_PAE",
          "CPU_MCE",  "CPU_CX8", "CPU_APIC",  "CPU_SEP",    "CPU_MTRR", "CPU_PGE",  "CPU_MCA",
          "CPU_CMOV", "CPU_PAT", "CPU_PSE36", "CPU_PSN",    "CPU_MMX",  "CPU_FXSR", "CPU_SSE",
          "CPU_SSE2", "CPU_TM",  "CPU_3DNow", "CPU_3DNowEx"})
        c.append(integer(flag));
    c += {
        chr("user", 32),
        chr("PC_Name", 32),
        chr("Host", 32),
        chr("Domain", 32),
        chr("IP", 15),
        chr("Mac", 17),
        chr("Maker", 20),
        chr("Kisyu", 20),
        chr("Kataban", 20),
        chr("SerialNo", 20),
        typed("DonyuYMD", ColumnType::Date),
        chr("Bu", 20),
        chr("Ka", 20),
        chr("Riyosya", 20),
        chr("lease", 20),
        chr("lease_No", 20),
        chr("OS_Product", 50),
        typed("Biko", ColumnType::Memo),
        typed("UpdateYMD", ColumnType::Date),
        chr("Win_ProductID", 30),
        chr("Win_OEM_Manufacture", 50),
        chr("Win_OEM_Model", 50),
        chr("WorkGroup", 32),
        chr("CompSetumei", 50),
        chr("SubNet", 15),
        chr("GateWay", 15),
        chr("DHCP", 15),
        chr("DNS1", 15),
        chr("DNS2", 15),
        chr("LAN_Adapter", 30),
        chr("Hosyu_Kaisya", 20),
        chr("Hosyu_No", 20),
        typed("TekkyoYMD", ColumnType::Date),
        chr("Keijyo", 20),
        integer("KanriNo"),
        chr("SettiBasyo", 40),
        chr("KanriCD", 15),
        chr("IP16", 8),
        chr("IE_Update_Ver", 100),
        chr("WINS1", 15),
        chr("WINS2", 15),
        chr("SP", 5),
        typed("InvaroYMD", ColumnType::Date),
        chr("Yoto", 20),
        chr("SisanKBN", 10),
        chr("Konyusaki", 20),
        chr("FREE", 64),
        chr("SMBIOS_Caption", 32),
        chr("SMBIOS_Version", 16),
        chr("BIOS_Vendor", 32),
        chr("BIOS_Caption", 32),
        chr("BIOS_Version", 16),
        chr("BIOS_ReleaseDate", 16),
        chr("BIOS_SerialNo", 16),
        chr("System_Vendor", 32),
        chr("System_Model", 32),
        chr("MB_Vendor", 32),
        chr("MB_Product", 16),
        chr("MB_SerialNo", 16),
        chr("Memory_MaxCapa", 16),
        chr("Memory_Slot", 16),
    };
    return c;
}

QVector<ColumnDef> printerColumns()
{
    ColumnDef port = chr("Port", 30);
    port.createdWidth = 20; // widened by the upgrade at the next opening
    ColumnDef ver116 = chr("Ver116", 1);
    ver116.inCreateScript = false; // marker of that upgrade
    return {
        chr("Key", 32, true),
        chr("Printer", 64, true),
        chr("Biko", 64),
        typed("UpdateYMD", ColumnType::Timestamp),
        port,
        chr("NyuryokuKBN", 10),
        ver116,
    };
}

TableDef makeTable(TableId id, const char *name, const char *openName, const char *object,
                   const char *script, const char *description, const QString &status,
                   QStringList key, QVector<ColumnDef> columns)
{
    TableDef t;
    t.id = id;
    t.name = QLatin1String(name);
    t.openName = QLatin1String(openName);
    t.objectName = QLatin1String(object);
    t.scriptName = QLatin1String(script);
    t.description = QLatin1String(description);
    t.checkStatus = status;
    t.primaryKey = std::move(key);
    t.columns = std::move(columns);
    return t;
}

QVector<TableDef> buildTables()
{
    const auto ts = ColumnType::Timestamp;
    const auto date = ColumnType::Date;
    QVector<TableDef> t;
    t.append(makeTable(TableId::PC, "PC", "PC", "Tpc", "QpcCRT", "",
                       QStringLiteral("ＰＣテーブルのチェック"), {QStringLiteral("Key")},
                       pcColumns()));
    t.append(makeTable(TableId::Appli, "Appli", "Appli", "Tappli", "QappliCRT", "",
                       QStringLiteral("アプリケーションテーブルのチェック"),
                       {QStringLiteral("Key"), QStringLiteral("Appli")},
                       {chr("Key", 32, true), chr("Appli", 128, true), chr("Ver", 64),
                        chr("ProductID", 64), chr("License", 64), chr("InstallKey", 64),
                        chr("Biko", 64), typed("UpdateYMD", ts), chr("Maker", 40),
                        chr("NyuryokuKBN", 10), typed("AddYMD", ts)}));
    t.append(makeTable(TableId::Printer, "Printer", "Printer", "Tprinter", "QprinterCRT", "",
                       QStringLiteral("プリンターテーブルのチェック"),
                       {QStringLiteral("Key"), QStringLiteral("Printer")}, printerColumns()));
    t.append(makeTable(TableId::Drive, "Drive", "Drive", "Tdrive", "QdriveCRT", "",
                       QStringLiteral("ドライブテーブルのチェック"),
                       {QStringLiteral("Key"), QStringLiteral("Drive")},
                       {chr("Key", 32, true), chr("Drive", 32, true), integer("Capa"),
                        chr("Capa_Tani", 5), integer("Used"), chr("Used_Tani", 5), integer("Free"),
                        chr("Free_Tani", 5), chr("Type", 10), chr("Biko", 64),
                        typed("UpdateYMD", ts), chr("NyuryokuKBN", 10)}));
    t.append(makeTable(TableId::Share, "Share", "Share", "Tshare", "QshareCRT", "",
                       QStringLiteral("共有情報テーブルのチェック"),
                       {QStringLiteral("Key"), QStringLiteral("SharedName")},
                       {chr("Key", 32, true), chr("SharedName", 64, true), chr("SharedPath", 64),
                        chr("Biko", 64), typed("UpdateYMD", ts), chr("NyuryokuKBN", 10),
                        typed("AddYMD", ts)}));
    t.append(makeTable(TableId::LAN, "LAN", "LAN", "TLAN", "QLANCRT", "LAN adapter",
                       QStringLiteral("ＬＡＮテーブルのチェック"),
                       {QStringLiteral("Key"), QStringLiteral("Seq")},
                       {chr("Key", 32, true), integer("Seq", true), chr("IP", 15), chr("Mac", 17),
                        chr("SubNet", 15), chr("GateWay", 15), chr("DHCP", 15), chr("DNS1", 15),
                        chr("DNS2", 15), chr("LAN_Adapter", 30), chr("IP16", 8), chr("WINS1", 15),
                        chr("WINS2", 15), chr("NyuryokuKBN", 10), typed("UpdateYMD", ts)}));
    t.append(makeTable(TableId::PMEMORY, "PMEMORY", "Pmemory", "Tpmemory", "QmemoryCRT", "PMEMORY",
                       QStringLiteral("メモリーテーブルのチェック"),
                       {QStringLiteral("Key"), QStringLiteral("Seq")},
                       {chr("Key", 32, true), integer("Seq", true), chr("DeviceLocator", 16),
                        integer("MB"), chr("Speed", 17), chr("Formfacturer", 15), chr("Type", 15),
                        chr("NyuryokuKBN", 10), typed("UpdateYMD", ts)}));
    t.append(
        makeTable(TableId::Lease, "Lease", "Lease", "Tlease", "QleaseCRT", "Lease Master",
                  QStringLiteral("リースマスターのチェック"),
                  {QStringLiteral("lease"), QStringLiteral("lease_No")},
                  {chr("lease", 20, true), chr("lease_No", 20, true), typed("KeiyakuYMD", date),
                   integer("kikan_tuki"), typed("kikan_start", date), typed("kikan_end", date),
                   chr("Bukkenmei", 60), chr("urinusi", 60), integer("keiyaku_kingaku"),
                   integer("bukken_kingaku"), integer("nengaku"), integer("nengaku_zei"),
                   integer("maebaraikin"), integer("nen_hosyugaku"), chr("keiyaku_bu", 10),
                   chr("Keiyaku_ka", 10), typed("UpdateTime", ts)}));
    t.append(makeTable(
        TableId::LeaseMesai, "LeaseMesai", "LeaseMesai", "TleaseMesai", "QleaseMesaiQRT",
        "Lease Mesai", QStringLiteral("リース明細のチェック"),
        {QStringLiteral("lease"), QStringLiteral("lease_No"), QStringLiteral("SiharaiYMD")},
        {chr("lease", 20, true), chr("lease_No", 20, true), typed("SiharaiYMD", date, true),
         integer("SiharaiY"), integer("SiharaiM"), integer("kingaku"), integer("zei"),
         integer("hosyuryo"), typed("UpdateTime", ts)}));
    t.append(
        makeTable(TableId::LeasePC, "LeasePC", "LeasePC", "TleasePC", "QleasePCCRT", "Lease PC",
                  QStringLiteral("リースＰＣのチェック"),
                  {QStringLiteral("lease"), QStringLiteral("lease_No"), QStringLiteral("PCKey")},
                  {chr("lease", 20, true), chr("lease_No", 20, true), chr("PCKey", 32, true),
                   typed("UpdateTime", ts)}));
    return t;
}

} // namespace

QString ColumnDef::typeText(int overrideWidth) const
{
    switch (type) {
    case ColumnType::Character:
        return QStringLiteral("CHARACTER(%1)").arg(overrideWidth > 0 ? overrideWidth : width);
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::Float:
        return QStringLiteral("FLOAT");
    case ColumnType::Date:
        return QStringLiteral("DATE");
    case ColumnType::Timestamp:
        return QStringLiteral("TIMESTAMP");
    case ColumnType::Memo:
        return QStringLiteral("BLOB(0, 1)");
    }
    return {};
}

int TableDef::indexOf(const QString &columnName) const
{
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name.compare(columnName, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

const ColumnDef *TableDef::column(const QString &columnName) const
{
    const int i = indexOf(columnName);
    return i < 0 ? nullptr : &columns[i];
}

bool TableDef::isKeyColumn(const QString &columnName) const
{
    return primaryKey.contains(columnName, Qt::CaseInsensitive);
}

namespace Schema {

const QVector<TableDef> &tables()
{
    static const QVector<TableDef> all = buildTables();
    return all;
}

const TableDef &claimTable()
{
    // One row per claimed PC: which copy holds it (a connection of the
    // program), on which computer and process, and when it last showed a
    // sign of life (UTC).
    static const TableDef claims
        = makeTable(TableId::PcClaim, "PcClaim", "PcClaim", "TpcClaim", "QpcClaimCRT", "",
                    QString(), {QStringLiteral("Key")},
                    {chr("Key", 32, true), chr("Holder", 64), chr("Host", 64), integer("Pid"),
                     typed("AliveAt", ColumnType::Timestamp)});
    return claims;
}

const TableDef &historyTable()
{
    // At and Who say when and by whom (the operating system's user and the
    // computer), Operation by what; Key, TableName, RowName (the detail
    // row's name, empty for the PC row) and ColumnName (empty for a whole
    // row) what; OldValue and NewValue the values as text.
    static const TableDef history = [] {
        ColumnDef id = integer("Id", true);
        id.identity = true;
        TableDef t
            = makeTable(TableId::History, "History", "History", "Thistory", "QhistoryCRT", "",
                        QString(), {QStringLiteral("Id")},
                        {id, typed("At", ColumnType::Timestamp, true), chr("Operation", 10, true),
                         chr("Who", 64), chr("Key", 32, true), chr("TableName", 16, true),
                         chr("RowName", 128), chr("ColumnName", 32),
                         typed("OldValue", ColumnType::Memo), typed("NewValue", ColumnType::Memo)});
        t.indexes
            = {{QStringLiteral("History_Key_At"), {QStringLiteral("Key"), QStringLiteral("At")}},
               {QStringLiteral("History_At"), {QStringLiteral("At")}}};
        return t;
    }();
    return history;
}

const TableDef &distinctPcTable()
{
    // Key1 is the smaller key of the pair, Key2 the larger; At and Who say
    // when and by whom the pair was marked.
    static const TableDef distinct = makeTable(
        TableId::DistinctPc, "DistinctPc", "DistinctPc", "TdistinctPc", "QdistinctPcCRT", "",
        QString(), {QStringLiteral("Key1"), QStringLiteral("Key2")},
        {chr("Key1", 32, true), chr("Key2", 32, true), typed("At", ColumnType::Timestamp),
         chr("Who", 64)});
    return distinct;
}

bool holdsPcRows(TableId id)
{
    switch (id) {
    case TableId::PC:
    case TableId::Appli:
    case TableId::Printer:
    case TableId::Drive:
    case TableId::Share:
    case TableId::LAN:
    case TableId::PMEMORY:
        return true;
    default:
        return false;
    }
}

const TableDef &table(TableId id)
{
    if (id == TableId::PcClaim)
        return claimTable();
    if (id == TableId::History)
        return historyTable();
    if (id == TableId::DistinctPc)
        return distinctPcTable();
    return tables()[static_cast<int>(id)];
}

const TableDef *find(const QString &name)
{
    for (const TableDef &t : tables())
        if (t.name.compare(name, Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString createScript(const TableDef &table)
{
    QStringList lines;
    lines << QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\"").arg(table.name);
    lines << QStringLiteral("(");
    for (const ColumnDef &c : table.columns) {
        if (!c.inCreateScript)
            continue;
        QString line = QStringLiteral("\"%1\" %2").arg(c.name, c.typeText(c.createdWidth));
        if (c.notNull)
            line += QStringLiteral(" NOT NULL");
        lines << line + QLatin1Char(',');
    }
    QStringList keys;
    for (const QString &k : table.primaryKey)
        keys << QStringLiteral("\"%1\"").arg(k);
    QString pk
        = QStringLiteral("PRIMARY KEY (%1) COMPRESS NONE").arg(keys.join(QStringLiteral(", ")));
    lines << pk;
    if (!table.description.isEmpty())
        lines << QStringLiteral("DESCRIPTION \"%1\"").arg(table.description);
    lines << QStringLiteral("LANGUAGE \"ANSI Standard\" SORT \"Default Order\"");
    lines << QStringLiteral("USER MAJOR VERSION 1");
    lines << QStringLiteral(");");
    return lines.join(QLatin1Char('\n'));
}

} // namespace Schema
