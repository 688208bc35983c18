#include "SampleGenerator.h"

#include "base/Cp932.h"

#include <QDir>
#include <QSaveFile>

namespace {

const QStringList WindowsVersions {
    QStringLiteral("Microsoft Windows XP Professional (5.1.2600 SP2)"),
    QStringLiteral("Microsoft Windows XP Professional (5.1.2600 SP3)"),
    QStringLiteral("Microsoft Windows 2000 Professional (5.0.2195 SP4)"),
    QStringLiteral("Microsoft Windows 7 Professional (6.1.7601 SP1)"),
    QStringLiteral("Microsoft Windows 10 Pro (10.0.19045)"),
    QStringLiteral("Microsoft Windows 11 Pro (10.0.22631)"),
    QStringLiteral("Microsoft Windows Server 2019 Standard (10.0.17763)"),
};
const QStringList Makers {QStringLiteral("FUJITSU"),   QStringLiteral("NEC"),
                          QStringLiteral("Dell Inc."), QStringLiteral("Hewlett-Packard"),
                          QStringLiteral("LENOVO"),    QStringLiteral("Panasonic")};
const QStringList Cpus {QStringLiteral("Intel(R) Pentium(R) 4 CPU 3.00GHz"),
                        QStringLiteral("Intel(R) Core(TM)2 Duo CPU E8400 @ 3.00GHz"),
                        QStringLiteral("Intel(R) Core(TM) i5-8500 CPU @ 3.00GHz"),
                        QStringLiteral("AMD Athlon(tm) 64 X2 Dual Core Processor 4400+"),
                        QStringLiteral("Intel(R) Core(TM) i7-1165G7 @ 2.80GHz")};
const QStringList Users {QStringLiteral("yamada"),    QStringLiteral("suzuki"),
                         QStringLiteral("tanaka"),    QStringLiteral("sato"),
                         QStringLiteral("takahashi"), QStringLiteral("ito"),
                         QStringLiteral("watanabe"),  QStringLiteral("nakamura")};
const QStringList Features {
    QStringLiteral("FPU"),    QStringLiteral("VME"),   QStringLiteral("DE"),
    QStringLiteral("PSE"),    QStringLiteral("TSC"),   QStringLiteral("MSR"),
    QStringLiteral("PAE"),    QStringLiteral("MCE"),   QStringLiteral("CX8"),
    QStringLiteral("APIC"),   QStringLiteral("SEP"),   QStringLiteral("MTRR"),
    QStringLiteral("PGE"),    QStringLiteral("MCA"),   QStringLiteral("CMOV"),
    QStringLiteral("PAT"),    QStringLiteral("PSE36"), QStringLiteral("PSN"),
    QStringLiteral("MMX"),    QStringLiteral("FXSR"),  QStringLiteral("SSE"),
    QStringLiteral("SSE2"),   QStringLiteral("TM"),    QStringLiteral("3DNow"),
    QStringLiteral("3DNowEx")};
const QStringList Printers {QStringLiteral("EPSON LP-S5000"),
                            QStringLiteral("Canon LBP3500"),
                            QStringLiteral("RICOH imagio MP C3300"),
                            QStringLiteral("経理部カラープリンタ"),
                            QStringLiteral("FUJI XEROX DocuPrint C3250"),
                            QStringLiteral("Microsoft Print to PDF")};
// Application names: product words combined, with Japanese names among them.
const QStringList AppHeads {QStringLiteral("Microsoft Office"),
                            QStringLiteral("一太郎"),
                            QStringLiteral("Adobe Reader"),
                            QStringLiteral("ウイルスバスター"),
                            QStringLiteral("弥生会計"),
                            QStringLiteral("花子"),
                            QStringLiteral("Lhaplus"),
                            QStringLiteral("秀丸エディタ"),
                            QStringLiteral("Java Runtime"),
                            QStringLiteral("年賀状作成ソフト"),
                            QStringLiteral("筆まめ"),
                            QStringLiteral("Visual C++ 再頒布可能パッケージ"),
                            QStringLiteral("ATOK"),
                            QStringLiteral("Firefox"),
                            QStringLiteral("給与計算システム"),
                            QStringLiteral("Mozilla Thunderbird"),
                            QStringLiteral("ｾｷｭﾘﾃｨ更新プログラム"),
                            QStringLiteral("Windows Update KB")};
const QStringList AppTails {
    QStringLiteral("2003"),         QStringLiteral("2007"),        QStringLiteral("Standard"),
    QStringLiteral("Professional"), QStringLiteral("日本語版"),    QStringLiteral("(x64)"),
    QStringLiteral("Ver.2"),        QStringLiteral("for Windows"), QStringLiteral("ランタイム"),
    QStringLiteral("Update"),       QStringLiteral("体験版"),      QStringLiteral("Plus")};

// A CSV field as the collector writes it: quoted when needed.
QString field(const QString &value)
{
    if (value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"'))
        || value.startsWith(QLatin1Char(' '))) {
        QString quoted = value;
        quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
        return QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return value;
}

} // namespace

SampleGenerator::SampleGenerator(const Options &options) : m_options(options) { }

QString SampleGenerator::header()
{
    return QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday");
}

QString SampleGenerator::key(int index) const
{
    return QStringLiteral("%1%2").arg(m_options.keyPrefix).arg(index + 1, 5, 10, QLatin1Char('0'));
}

QString SampleGenerator::pick(const QStringList &list)
{
    return list[int(m_random.bounded(quint32(list.size())))];
}

int SampleGenerator::between(int low, int high)
{
    return low + int(m_random.bounded(quint32(high - low + 1)));
}

QStringList SampleGenerator::records(int index)
{
    m_random.seed(m_options.seed * 2654435761u + quint32(index) * 40503u + 17u);
    const QString k = key(index);
    const QString today = m_options.date.toString(QStringLiteral("yyyy/M/d"));
    QStringList out;
    auto rec = [&](const QString &group, const QString &item, const QString &sub,
                   const QString &contents, const QString &unit = QString(),
                   const QString &renewal = QString()) {
        out << QStringList {field(k),
                            field(group),
                            field(item),
                            field(sub),
                            field(contents),
                            field(unit),
                            field(renewal.isEmpty() ? today : renewal)}
                   .join(QLatin1Char(','));
    };
    auto older = [&]() {
        return m_options.date.addDays(-between(0, 900)).toString(QStringLiteral("yyyy/M/d"));
    };
    const QString soft = QStringLiteral("Soft"), hard = QStringLiteral("Hard"),
                  lan = QStringLiteral("LAN"), wmi = QStringLiteral("WMI");

    rec(QStringLiteral("Create"), QStringLiteral("DateTime"), today, QString());
    rec(soft, QStringLiteral("Windows"), QStringLiteral("Version"), pick(WindowsVersions), {},
        older());
    rec(soft, QStringLiteral("Windows"), QStringLiteral("ProductID"),
        QStringLiteral("55274-OEM-%1-%2")
            .arg(between(1000000, 9999999))
            .arg(between(10000, 99999)));
    const QString maker = pick(Makers);
    rec(soft, QStringLiteral("Windows"), QStringLiteral("OEM Manufacturer"), maker);
    rec(soft, QStringLiteral("Windows"), QStringLiteral("OEM Model"),
        QStringLiteral("%1 Model %2").arg(maker).arg(between(100, 999)));
    rec(soft, QStringLiteral("IE"), QStringLiteral("Version"),
        QStringLiteral("%1.0.%2").arg(between(6, 11)).arg(between(1000, 9999)));
    rec(soft, QStringLiteral("IE"), QStringLiteral("更新Version"),
        QStringLiteral("KB%1").arg(between(100000, 999999)));
    rec(hard, QStringLiteral("画面"), QStringLiteral("解像度"),
        pick({QStringLiteral("1024x768"), QStringLiteral("1280x1024"),
              QStringLiteral("1920x1080")}));

    // Memory, in KB or MB as the collector's versions wrote it.
    const int memMb = 256 << between(0, 6);
    const bool inMb = m_random.bounded(2) == 0;
    const int used = between(memMb / 4, memMb * 3 / 4);
    auto mem = [&](const QString &sub, int mb) {
        rec(hard, QStringLiteral("メモリ"), sub, QString::number(inMb ? mb : mb * 1024),
            inMb ? QStringLiteral("MB") : QStringLiteral("KB"));
    };
    mem(QStringLiteral("全容量"), memMb);
    mem(QStringLiteral("使用量"), used);
    mem(QStringLiteral("空容量"), memMb - used);
    rec(hard, QStringLiteral("SystemHDD"), QStringLiteral("Drive"), QStringLiteral("C:"));

    const QString cpu = pick(Cpus);
    rec(hard, QStringLiteral("CPU"), QStringLiteral("Name"), cpu);
    rec(hard, QStringLiteral("CPU"), QStringLiteral("ID"),
        QStringLiteral("x86 Family %1 Model %2").arg(between(6, 15)).arg(between(1, 15)));
    rec(hard, QStringLiteral("CPU"), QStringLiteral("Clock"),
        QString::number(between(1000, 3600) + between(0, 9) / 10.0, 'f', 1), QStringLiteral("MHz"));
    rec(hard, QStringLiteral("CPU"), QStringLiteral("NameString"), cpu.left(32));
    for (const QString &sub : {QStringLiteral("Type"), QStringLiteral("Family"),
                               QStringLiteral("Model"), QStringLiteral("Stepping")})
        rec(hard, QStringLiteral("CPU"), sub, QString::number(between(0, 15)));
    rec(hard, QStringLiteral("CPU"), QStringLiteral("L1命令キャッシュ"), QStringLiteral("32"),
        QStringLiteral("KB"));
    rec(hard, QStringLiteral("CPU"), QStringLiteral("L1Dataキャッシュ"), QStringLiteral("32"),
        QStringLiteral("KB"));
    rec(hard, QStringLiteral("CPU"), QStringLiteral("L2キャッシュ"),
        QString::number(256 << between(0, 3)), QStringLiteral("KB"));
    rec(hard, QStringLiteral("CPU"), QStringLiteral("L1トレースキャッシュ"), QStringLiteral("12"),
        QStringLiteral("KuOps"));
    rec(hard, QStringLiteral("CPU"), QStringLiteral("SerialNumber"), QString());
    for (const QString &f : Features)
        rec(hard, QStringLiteral("CPU"), f, QString::number(m_random.bounded(2)));

    // Identity and the single-adapter form of the network records.
    const QString user = pick(Users);
    const QString pcName = QStringLiteral("PC-%1").arg(index + 1, 5, 10, QLatin1Char('0'));
    const int subnet = between(0, 3);
    const QString ip = QStringLiteral("192.168.%1.%2").arg(subnet).arg(between(10, 250));
    const QString mac = QStringLiteral("00:0B:%1:%2:%3:%4")
                            .arg(between(16, 255), 2, 16, QLatin1Char('0'))
                            .arg(between(16, 255), 2, 16, QLatin1Char('0'))
                            .arg(between(16, 255), 2, 16, QLatin1Char('0'))
                            .arg(between(16, 255), 2, 16, QLatin1Char('0'))
                            .toUpper();
    rec(lan, lan, QStringLiteral("ユーザー名"), user);
    rec(lan, lan, QStringLiteral("コンピュータ名"), pcName);
    rec(lan, lan, QStringLiteral("ホスト名"), pcName.toLower());
    rec(lan, lan, QStringLiteral("IPアドレス"), ip);
    rec(lan, lan, QStringLiteral("MACアドレス"), mac);
    rec(lan, lan, QStringLiteral("ドメイン"), QStringLiteral("EXAMPLE"));
    rec(lan, lan, QStringLiteral("ワークグループ"), QStringLiteral("WORKGROUP"));
    rec(lan, lan, QStringLiteral("コンピュータの説明"),
        QStringLiteral("%1さんのパソコン").arg(user));
    rec(lan, lan, QStringLiteral("サブネットマスク"), QStringLiteral("255.255.255.0"));
    rec(lan, lan, QStringLiteral("ゲートウェイ"), QStringLiteral("192.168.%1.1").arg(subnet));
    rec(lan, lan, QStringLiteral("DHCPServer"), QStringLiteral("192.168.%1.1").arg(subnet));
    rec(lan, lan, QStringLiteral("PrimaryDNS"), QStringLiteral("192.168.0.2"));
    rec(lan, lan, QStringLiteral("SecondaryDNS"), QStringLiteral("192.168.0.3"));
    rec(lan, lan, QStringLiteral("アダプター名"),
        QStringLiteral("Intel(R) PRO/1000 Network Connection"));

    // One to nine adapters; the first carries the PC's own address.
    const int adapters = m_random.bounded(4) == 0 ? between(2, 9) : 1;
    for (int a = 1; a <= adapters; ++a) {
        const QString item
            = a == 1 ? QStringLiteral("Adapter") : QStringLiteral("Adapter%1").arg(a);
        const QString aip = a == 1
            ? ip
            : QStringLiteral("10.%1.%2.%3").arg(a).arg(between(0, 255)).arg(between(1, 254));
        rec(lan, item, QStringLiteral("アダプター名"),
            a == 1 ? QStringLiteral("Intel(R) PRO/1000 Network Connection")
                   : QStringLiteral("仮想アダプター %1").arg(a));
        rec(lan, item, QStringLiteral("IPアドレス"), aip);
        rec(lan, item, QStringLiteral("サブネットマスク"),
            a == 1 ? QStringLiteral("255.255.255.0") : QStringLiteral("255.0.0.0"));
        rec(lan, item, QStringLiteral("ゲートウェイ"),
            a == 1 ? QStringLiteral("192.168.%1.1").arg(subnet) : QString());
        rec(lan, item, QStringLiteral("DHCPServer"),
            a == 1 ? QStringLiteral("192.168.%1.1").arg(subnet) : QString());
        rec(lan, item, QStringLiteral("PrimaryWINS"), QString());
        rec(lan, item, QStringLiteral("SecondaryWINS"), QString());
        rec(lan, item, QStringLiteral("MACアドレス"),
            a == 1 ? mac : QStringLiteral("02:00:00:00:00:%1").arg(a, 2, 10, QLatin1Char('0')));
    }
    rec(QStringLiteral("Free"), QStringLiteral("Free"), QStringLiteral("備考"),
        QStringLiteral("資産番号 A-%1").arg(between(1000, 9999)));

    rec(wmi, QStringLiteral("SMBIOS"), QStringLiteral("Caption"),
        QStringLiteral("BIOS Date: 0%1/15/2%2").arg(between(1, 9)).arg(between(100, 999)));
    rec(wmi, QStringLiteral("SMBIOS"), QStringLiteral("Version"),
        QStringLiteral("2.%1").arg(between(3, 8)));
    rec(wmi, QStringLiteral("BIOS"), QStringLiteral("Vendor"),
        pick({QStringLiteral("Phoenix Technologies LTD"),
              QStringLiteral("American Megatrends Inc.")}));
    rec(wmi, QStringLiteral("BIOS"), QStringLiteral("Caption"),
        QStringLiteral("Default System BIOS"));
    rec(wmi, QStringLiteral("BIOS"), QStringLiteral("Version"),
        QStringLiteral("%1.%2").arg(between(1, 9)).arg(between(10, 99)));
    rec(wmi, QStringLiteral("BIOS"), QStringLiteral("ReleaseDate"),
        QStringLiteral("20%1%2").arg(between(10, 25)).arg(between(1001, 1228)));
    rec(wmi, QStringLiteral("BIOS"), QStringLiteral("SerialNo"),
        QStringLiteral("SN%1").arg(between(100000, 999999)));
    rec(wmi, QStringLiteral("System"), QStringLiteral("Vendor"), maker);
    rec(wmi, QStringLiteral("System"), QStringLiteral("Model"),
        QStringLiteral("FMV-%1").arg(between(100, 999)));
    rec(wmi, QStringLiteral("MotherBoard"), QStringLiteral("Vendor"), maker);
    rec(wmi, QStringLiteral("MotherBoard"), QStringLiteral("Product"),
        QStringLiteral("MB-%1").arg(between(100, 999)));
    rec(wmi, QStringLiteral("MotherBoard"), QStringLiteral("SerialNo"),
        QStringLiteral("M%1").arg(between(100000, 999999)));
    const int slotCount = between(2, 4);
    rec(wmi, QStringLiteral("PhysicalMemory"), QStringLiteral("MaxCapacity"),
        QString::number(memMb * 4 * 1024));
    rec(wmi, QStringLiteral("PhysicalMemory"), QStringLiteral("Slot"), QString::number(slotCount));
    const int modules = between(1, slotCount);
    for (int m = 1; m <= modules; ++m) {
        const QString item = QStringLiteral("PhysicalMemory%1").arg(m);
        rec(wmi, item, QStringLiteral("DeviceLocator"), QStringLiteral("DIMM%1").arg(m - 1));
        const bool gb = memMb / modules >= 1024 && m_random.bounded(2) == 0;
        rec(wmi, item, QStringLiteral("Capacity"),
            QString::number(gb ? memMb / modules / 1024 : memMb / modules),
            gb ? QStringLiteral("GB") : QStringLiteral("MB"));
        rec(wmi, item, QStringLiteral("Speed"),
            QStringLiteral("%1").arg(
                pick({QStringLiteral("400"), QStringLiteral("667"), QStringLiteral("1333")})));
        rec(wmi, item, QStringLiteral("Formfacturer"), QStringLiteral("DIMM"));
        rec(wmi, item, QStringLiteral("Type"),
            pick({QStringLiteral("DDR2"), QStringLiteral("DDR3"), QStringLiteral("DDR4")}));
    }

    // Drives, sizes in GB, MB or KB.
    const int drives = between(1, 3);
    for (int d = 0; d < drives; ++d) {
        const QString drive = QStringLiteral("%1:").arg(QChar(u'C' + d));
        const int unit = int(m_random.bounded(3));
        const double capaGb = between(20, 500) + between(0, 9) / 10.0;
        const double freeGb = capaGb * between(5, 80) / 100.0;
        auto size = [&](double gb) {
            if (unit == 0)
                return QString::number(gb, 'f', 1);
            if (unit == 1)
                return QString::number(gb * 1024, 'f', 1);
            return QString::number(qint64(gb * 1024 * 1024));
        };
        const QString u = unit == 0 ? QStringLiteral("GB")
            : unit == 1             ? QStringLiteral("MB")
                                    : QStringLiteral("KB");
        rec(hard, drive, QStringLiteral("全容量"), size(capaGb), u);
        rec(hard, drive, QStringLiteral("空容量"), size(freeGb), u);
        rec(hard, drive, QStringLiteral("タイプ"),
            d == 0 ? QStringLiteral("NTFS")
                   : pick({QStringLiteral("NTFS"), QStringLiteral("FAT32")}));
    }
    rec(hard, QStringLiteral("ページファイル"), QStringLiteral("全容量"), QStringLiteral("1536"),
        QStringLiteral("MB"));

    const int printers = between(0, 3);
    for (int p = 0; p < printers; ++p)
        rec(hard, QStringLiteral("Printer"), Printers[(index + p) % Printers.size()],
            p == 0 ? QStringLiteral("LPT1:") : QStringLiteral("IP_192.168.0.%1").arg(200 + p));
    const int shares = between(0, 3);
    for (int s = 0; s < shares; ++s)
        rec(QStringLiteral("Shared"), QStringLiteral("Resource"),
            s == 0 ? QStringLiteral("共有") : QStringLiteral("share%1").arg(s),
            QStringLiteral("C:\\共有\\%1").arg(s));

    const int apps = between(m_options.minApplications, m_options.maxApplications);
    for (int a = 0; a < apps; ++a) {
        // Distinct names: the head and tail vary, a number keeps them apart.
        const QString name = QStringLiteral("%1 %2 %3")
                                 .arg(AppHeads[a % AppHeads.size()],
                                      AppTails[(a / AppHeads.size() + index) % AppTails.size()])
                                 .arg(a / (AppHeads.size() * AppTails.size()) + 1);
        rec(soft, QStringLiteral("Application"), name,
            QStringLiteral("%1.%2.%3").arg(between(1, 12)).arg(between(0, 9)).arg(between(0, 9999)),
            {}, older());
    }
    return out;
}

QByteArray SampleGenerator::file(int index)
{
    const QString text = header() + QStringLiteral("\r\n")
        + records(index).join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
    return Cp932::encode(text);
}

qint64 SampleGenerator::writeFolder(const QString &folder, int first, int count, QString *error)
{
    if (!QDir().mkpath(folder)) {
        if (error)
            *error = QStringLiteral("フォルダを作成できません: %1").arg(folder);
        return -1;
    }
    qint64 records = 0;
    for (int i = first; i < first + count; ++i) {
        const QByteArray bytes = file(i);
        records += bytes.count('\n') - 1;
        QSaveFile out(QDir(folder).filePath(key(i) + QStringLiteral(".csv")));
        if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.commit()) {
            if (error)
                *error = out.errorString();
            return -1;
        }
    }
    return records;
}
