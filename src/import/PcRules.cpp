#include "PcRules.h"

#include "ValueReaders.h"
#include "base/TextHelpers.h"

namespace {

using C = PcConversion;

QVector<PcRule> buildTable()
{
    const QString soft = QStringLiteral("Soft");
    const QString hard = QStringLiteral("Hard");
    const QString lan = QStringLiteral("LAN");
    const QString wmi = QStringLiteral("WMI");
    const QStringList windows {QStringLiteral("Windows")};
    const QStringList ie {QStringLiteral("IE")};
    const QStringList cpu {QStringLiteral("CPU")};
    const QStringList memory {QStringLiteral("メモリ")};
    const QStringList lanOnly {QStringLiteral("LAN")};
    const QStringList lanOrAdapter {QStringLiteral("LAN"), QStringLiteral("Adapter")};
    const QStringList adapter {QStringLiteral("Adapter")};
    auto one = [](const char *text) { return QStringList {QString::fromUtf8(text)}; };
    auto name = [](const char *text) { return QString::fromUtf8(text); };

    QVector<PcRule> t {
        {1, soft, windows, one("Version"), C::WindowsVersion, name("Win_Ver"), {}},
        {2, soft, ie, one("Version"), C::Text, name("IE_Ver"), {}},
        {3, hard, one("画面"), one("解像度"), C::Text, name("Display"), {}},
        {4, hard, memory, one("全容量"), C::KbInteger, name("Mem_All"), name("Mem_All_Tani")},
        {5, hard, memory, one("使用量"), C::KbInteger, name("Mem_Use"), name("Mem_Use_Tani")},
        {6, hard, memory, one("空容量"), C::KbInteger, name("Mem_Free"), name("Mem_Free_Tani")},
        {7, hard, one("SystemHDD"), one("Drive"), C::Text, name("SysDrive"), {}},
        {8, hard, cpu, one("Name"), C::Text, name("CPU_Name"), {}},
        {9, hard, cpu, one("ID"), C::Text, name("CPU_ID"), {}},
        {10, hard, cpu, one("Clock"), C::Float, name("CPU_Clock"), name("CPU_Clock_Tani")},
        {11, hard, cpu, one("NameString"), C::Text, name("CPU_NameString"), {}},
        {12, hard, cpu, one("Type"), C::Integer, name("CPU_Type"), {}},
        {13, hard, cpu, one("Family"), C::Integer, name("CPU_Family"), {}},
        {14, hard, cpu, one("Model"), C::Integer, name("CPU_Model"), {}},
        {15, hard, cpu, one("Stepping"), C::Integer, name("CPU_Stepping"), {}},
        {16, hard, cpu, one("L1命令キャッシュ"), C::Integer, name("CPU_L1Meirei"),
         name("CPU_L1Meirei_Tani")},
        {17,
         hard,
         cpu,
         {name("L1Detaキャッシュ"), name("L1Dataキャッシュ")},
         C::Integer,
         name("CPU_L1Data"),
         name("CPU_L1Data_Tani")},
        {18, hard, cpu, one("L2キャッシュ"), C::Integer, name("CPU_L2"), name("CPU_L2_Tani")},
        {19, hard, cpu, one("L1トレースキャッシュ"), C::Integer, name("CPU_L1Trace"),
         name("CPU_L1Trace_Tani")},
        {20, hard, cpu, one("SerialNumber"), C::Text, name("CPU_Serial"), {}},
    };
    // 21-45: the processor feature flags, each into "CPU_" + its name.
    int number = 21;
    for (const char *flag :
         {"FPU",  "VME",  "DE",   "PSE",  "TSC", "MSR",   "PAE",    "MCE",   "CX8",
          "APIC", "SEP",  "MTRR", "PGE",  "MCA", "CMOV",  "PAT",    "PSE36", "PSN",
          "MMX",  "FXSR", "SSE",  "SSE2", "TM",  "3DNow", "3DNowEx"})
        t.append(
            {number++, hard, cpu, one(flag), C::Flag, QStringLiteral("CPU_") + name(flag), {}});
    t += QVector<PcRule> {
        {46, lan, lanOnly, one("ユーザー名"), C::Text, name("user"), {}},
        {47, lan, lanOnly, one("コンピュータ名"), C::Text, name("PC_Name"), {}},
        {48, lan, lanOnly, one("ホスト名"), C::Text, name("Host"), {}},
        {49, lan, lanOrAdapter, one("IPアドレス"), C::IpAddress, name("IP"), {}},
        {50, lan, lanOrAdapter, one("MACアドレス"), C::Text, name("Mac"), {}},
        {51, lan, lanOnly, one("ドメイン"), C::Text, name("Domain"), {}},
        {52, soft, windows, one("ProductID"), C::Text, name("Win_ProductID"), {}},
        {53, soft, windows, one("OEM Manufacturer"), C::Text, name("Win_OEM_Manufacture"), {}},
        {54, soft, windows, one("OEM Model"), C::Text, name("Win_OEM_Model"), {}},
        {55, lan, lanOnly, one("ワークグループ"), C::Text, name("WorkGroup"), {}},
        {56, lan, lanOnly, one("コンピュータの説明"), C::Text, name("CompSetumei"), {}},
        {57, lan, lanOrAdapter, one("サブネットマスク"), C::Text, name("SubNet"), {}},
        {58, lan, lanOrAdapter, one("ゲートウェイ"), C::Text, name("GateWay"), {}},
        {59, lan, lanOrAdapter, one("DHCPServer"), C::Text, name("DHCP"), {}},
        {60, lan, lanOnly, one("PrimaryDNS"), C::Text, name("DNS1"), {}},
        {61, lan, lanOnly, one("SecondaryDNS"), C::Text, name("DNS2"), {}},
        {62, lan, lanOrAdapter, one("アダプター名"), C::Text, name("LAN_Adapter"), {}},
        {63, soft, ie, one("更新Version"), C::Text, name("IE_Update_Ver"), {}},
        {64, lan, adapter, one("PrimaryWINS"), C::Text, name("WINS1"), {}},
        {65, lan, adapter, one("SecondaryWINS"), C::Text, name("WINS2"), {}},
        {66, name("Free"), one("Free"), {}, C::Text, name("FREE"), {}},
        {67, wmi, one("SMBIOS"), one("Caption"), C::Text, name("SMBIOS_Caption"), {}},
        {68, wmi, one("SMBIOS"), one("Version"), C::Text, name("SMBIOS_Version"), {}},
        {69, wmi, one("BIOS"), one("Vendor"), C::Text, name("BIOS_Vendor"), {}},
        {70, wmi, one("BIOS"), one("Caption"), C::Text, name("BIOS_Caption"), {}},
        {71, wmi, one("BIOS"), one("Version"), C::Text, name("BIOS_Version"), {}},
        {72, wmi, one("BIOS"), one("ReleaseDate"), C::Text, name("BIOS_ReleaseDate"), {}},
        {73, wmi, one("BIOS"), one("SerialNo"), C::Text, name("BIOS_SerialNo"), {}},
        {74, wmi, one("System"), one("Vendor"), C::Text, name("System_Vendor"), {}},
        {75, wmi, one("System"), one("Model"), C::Text, name("System_Model"), {}},
        {76, wmi, one("MotherBoard"), one("Vendor"), C::Text, name("MB_Vendor"), {}},
        {77, wmi, one("MotherBoard"), one("Product"), C::Text, name("MB_Product"), {}},
        {78, wmi, one("MotherBoard"), one("SerialNo"), C::Text, name("MB_SerialNo"), {}},
        {79, wmi, one("PhysicalMemory"), one("MaxCapacity"), C::Text, name("Memory_MaxCapa"), {}},
        {80, wmi, one("PhysicalMemory"), one("Slot"), C::Text, name("Memory_Slot"), {}},
    };
    return t;
}

} // namespace

const QVector<PcRule> &PcRuleTable()
{
    static const QVector<PcRule> table = buildTable();
    return table;
}

PcRules::PcRules(const TableImage &pc)
    : m_pc(pc), m_winType(pc.column(QStringLiteral("Win_Type"))),
      m_sp(pc.column(QStringLiteral("SP"))), m_ip16(pc.column(QStringLiteral("IP16")))
{
    for (const PcRule &rule : PcRuleTable()) {
        m_byGroup[rule.group].append({&rule, pc.column(rule.field),
                                      rule.unitField.isEmpty() ? -1 : pc.column(rule.unitField)});
    }
}

void PcRules::apply(const CollectorRecord &record, TableImage::Row &row) const
{
    const auto it = m_byGroup.constFind(record.group());
    if (it == m_byGroup.cend())
        return;
    // Item and SubItem are read only when the fields before them matched,
    // so a short record fails only where a rule really reads past its end.
    for (const Bound &b : *it) {
        if (!b.rule->items.contains(record.item()))
            continue;
        if (!b.rule->subItems.isEmpty() && !b.rule->subItems.contains(record.subItem()))
            continue;
        applyOne(b, record, row);
    }
}

void PcRules::applyOne(const Bound &b, const CollectorRecord &record, TableImage::Row &row) const
{
    // Conversions read Contents (and the unit they need) under protection:
    // a missing or unreadable value leaves the field as it was.
    auto contents = [&record]() -> std::optional<QString> {
        if (!record.has(CollectorRecord::Contents))
            return std::nullopt;
        return record.contents();
    };
    switch (b.rule->conversion) {
    case C::Text:
        m_pc.set(row, b.field, record.contents());
        break;
    case C::WindowsVersion: {
        m_pc.set(row, b.field, record.contents());
        // Read back as stored, that is cut to the column's width.
        const QString version = row.at(b.field).toString();
        const qsizetype paren = version.indexOf(u'(');
        if (paren >= 0)
            m_pc.set(row, m_winType, version.left(paren));
        const qsizetype sp = version.indexOf(QLatin1String("SP"));
        if (sp >= 0)
            m_pc.set(row, m_sp, TrimBlanks(version.mid(sp + 2, 5)));
        break;
    }
    case C::IpAddress:
        m_pc.set(row, b.field, record.contents());
        m_pc.set(row, m_ip16, IPToIP16(record.contents()));
        break;
    case C::Integer: {
        if (const auto c = contents()) {
            if (const auto v = ValueReaders::integer(*c))
                m_pc.set(row, b.field, *v);
        }
        if (b.unitField >= 0)
            m_pc.set(row, b.unitField, record.unit());
        break;
    }
    case C::Float: {
        if (const auto c = contents()) {
            if (const auto v = ValueReaders::decimal(*c))
                m_pc.set(row, b.field, *v);
        }
        if (b.unitField >= 0)
            m_pc.set(row, b.unitField, record.unit());
        break;
    }
    case C::Flag: {
        const auto c = contents();
        if (c && IsDigits(*c)) {
            if (const auto v = ValueReaders::integer(*c))
                m_pc.set(row, b.field, *v);
        }
        break;
    }
    case C::KbInteger: {
        // A size that no longer fits 32 bits after the conversion to KB
        // counts as unreadable.
        const auto c = contents();
        if (c && record.has(CollectorRecord::Unit)) {
            if (auto v = ValueReaders::integer(*c)) {
                if (record.unit() == QLatin1String("MB"))
                    v = ValueReaders::fit32(qint64(*v) * 1024);
                if (v)
                    m_pc.set(row, b.field, *v);
            }
        }
        m_pc.set(row, b.unitField, QStringLiteral("KB"));
        break;
    }
    }
}
