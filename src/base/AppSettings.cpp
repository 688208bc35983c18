#include "AppSettings.h"

#include "IniFile.h"

namespace {

const QString NotSet = QStringLiteral("未設定");
const QString NoSortKey = QStringLiteral("（なし）");
const QString Ascending = QStringLiteral("昇順");

GridSettings makeGrid(const QString &sortSection, const QStringList &fields,
                      const GridColumnsState::Sections &sections, const QString &fontSection)
{
    GridSettings grid {sortSection, GridColumnsState(fields, sections), fontSection, 0, {}};
    for (int i = 0; i < 3; ++i) {
        grid.sort.komoku[i] = NoSortKey;
        grid.sort.jyun[i] = Ascending;
    }
    return grid;
}

QString komokuKey(int i)
{
    return QStringLiteral("Komoku%1").arg(i + 1);
}

QString jyunKey(int i)
{
    return QStringLiteral("Jyun%1").arg(i + 1);
}

void readSort(const IniFile &ini, GridSettings &grid)
{
    for (int i = 0; i < 3; ++i) {
        grid.sort.komoku[i] = ini.readString(grid.sortSection, komokuKey(i), NoSortKey);
        grid.sort.jyun[i] = ini.readString(grid.sortSection, jyunKey(i), Ascending);
    }
}

void writeSort(IniFile &ini, const GridSettings &grid)
{
    for (int i = 0; i < 3; ++i) {
        ini.writeString(grid.sortSection, komokuKey(i), grid.sort.komoku[i]);
        ini.writeString(grid.sortSection, jyunKey(i), grid.sort.jyun[i]);
    }
}

const QString FontSizeKey = QStringLiteral("FontSize");
const QString OptionSection = QStringLiteral("Option");
const QString NetSection = QStringLiteral("Net");
const QString DbSection = QStringLiteral("DB");

} // namespace

AppSettings::AppSettings(const QString &defaultDataDir)
    : pcGrid(makeGrid(QStringLiteral("Sort"), pcGridFields(),
                      {QStringLiteral("HyojiKomoku"), QStringLiteral("HyojiColumnWidth"),
                       QStringLiteral("HyojiColumnIndex")},
                      QStringLiteral("PCGrid"))),
      appliPcGrid(makeGrid(QStringLiteral("AppliPCSort"), appliPcGridFields(),
                           {QStringLiteral("AppliPCKomoku"), QStringLiteral("AppliPCColumnWidth"),
                            QStringLiteral("AppliPCColumnIndex")},
                           QStringLiteral("AppliPC"))),
      m_defaultDataDir(defaultDataDir)
{
    db.folder = defaultDataDir;
    net = {NotSet, QStringLiteral("0.0.0.0"), NotSet, QStringLiteral("0.0.0.0")};
}

QStringList AppSettings::pcGridFields()
{
    return {
        QStringLiteral("Key"),         QStringLiteral("KanriNo"),      QStringLiteral("KanriCD"),
        QStringLiteral("PC_Name"),     QStringLiteral("Host"),         QStringLiteral("MEM_All"),
        QStringLiteral("CPU_Clock"),   QStringLiteral("User"),         QStringLiteral("IP"),
        QStringLiteral("IP16"),        QStringLiteral("Mac"),          QStringLiteral("Domain"),
        QStringLiteral("Bu"),          QStringLiteral("Ka"),           QStringLiteral("Riyosya"),
        QStringLiteral("Maker"),       QStringLiteral("Kisyu"),        QStringLiteral("Lease"),
        QStringLiteral("Lease_No"),    QStringLiteral("Kataban"),      QStringLiteral("WorkGroup"),
        QStringLiteral("UpdateYMD"),   QStringLiteral("TekkyoYMD"),    QStringLiteral("SettiBasyo"),
        QStringLiteral("Win_Type"),    QStringLiteral("Hosyu_Kaisya"), QStringLiteral("Hosyu_No"),
        QStringLiteral("SerialNo"),    QStringLiteral("SP"),           QStringLiteral("InvaroYMD"),
        QStringLiteral("Yoto"),        QStringLiteral("SisanKBN"),     QStringLiteral("Konyusaki"),
        QStringLiteral("CompSetumei"), QStringLiteral("DonyuYMD"),     QStringLiteral("FREE"),
        QStringLiteral("CPU_Name"),    QStringLiteral("LAN_Adapter")};
}

QStringList AppSettings::appliPcGridFields()
{
    return {QStringLiteral("KEY"),        QStringLiteral("BU"),         QStringLiteral("KA"),
            QStringLiteral("RIYOSYA"),    QStringLiteral("PC_NAME"),    QStringLiteral("HOST"),
            QStringLiteral("ProductID"),  QStringLiteral("InstallKey"), QStringLiteral("AddYMD"),
            QStringLiteral("NyuryokuKBN")};
}

void AppSettings::readAtStart(const IniFile &ini,
                              const std::function<void(const QString &)> &status,
                              const std::function<QString()> &localIp)
{
    db.type = ini.readString(DbSection, QStringLiteral("type"), QStringLiteral("local"));
    db.folder = ini.readString(DbSection, QStringLiteral("folder"), m_defaultDataDir);
    db.ip = ini.readString(DbSection, QStringLiteral("ip"), QString());
    db.port = ini.readInteger(DbSection, QStringLiteral("port"), 12005);
    db.name = ini.readString(DbSection, QStringLiteral("name"), QString());
    db.user = ini.readString(DbSection, QStringLiteral("user"), QString());
    db.pass = ini.readString(DbSection, QStringLiteral("pass"), QString());

    if (status)
        status(QStringLiteral("バージョンのチェック"));

    readSort(ini, pcGrid);
    pcGrid.columns.read(ini);
    pcGrid.fontSize = ini.readInteger(pcGrid.fontSection, FontSizeKey, 0);
    tekkyoHiHyoji = ini.readBool(QStringLiteral("Tekkyo"), QStringLiteral("HiHyoji"), false);
    jidoKosin = ini.readBool(OptionSection, QStringLiteral("JidoKosin"), true);

    readSort(ini, appliPcGrid);
    appliPcGrid.columns.read(ini);
    appliPcGrid.fontSize = ini.readInteger(appliPcGrid.fontSection, FontSizeKey, 0);
    appliDel = ini.readBool(OptionSection, QStringLiteral("AppliDel"), true);

    // An address still "未設定" (stored or missing) stands for this computer.
    QString local;
    bool localKnown = false;
    auto resolve = [&](const QString &value) {
        if (value != NotSet)
            return value;
        if (!localKnown) {
            local = localIp ? localIp() : QString();
            localKnown = true;
        }
        return local;
    };
    net.ipAddr = resolve(ini.readString(NetSection, QStringLiteral("IPaddr"), NotSet));
    net.subNetMask
        = ini.readString(NetSection, QStringLiteral("SubNetMask"), QStringLiteral("0.0.0.0"));
    net.ipAddr2 = resolve(ini.readString(NetSection, QStringLiteral("IPaddr2"), NotSet));
    net.subNetMask2
        = ini.readString(NetSection, QStringLiteral("SubNetMask2"), QStringLiteral("0.0.0.0"));
}

void AppSettings::writeAtClose(IniFile &ini) const
{
    writeSort(ini, pcGrid);
    pcGrid.columns.write(ini);
    ini.writeInteger(pcGrid.fontSection, FontSizeKey, pcGrid.fontSize);
    ini.writeBool(QStringLiteral("Tekkyo"), QStringLiteral("HiHyoji"), tekkyoHiHyoji);
    ini.writeBool(OptionSection, QStringLiteral("JidoKosin"), jidoKosin);

    writeSort(ini, appliPcGrid);
    appliPcGrid.columns.write(ini);
    ini.writeInteger(appliPcGrid.fontSection, FontSizeKey, appliPcGrid.fontSize);
    // AppliDel is deliberately not written: a change in the options window
    // lasts only until the program ends.

    ini.writeString(NetSection, QStringLiteral("IPaddr"), net.ipAddr);
    ini.writeString(NetSection, QStringLiteral("SubNetMask"), net.subNetMask);
    ini.writeString(NetSection, QStringLiteral("IPaddr2"), net.ipAddr2);
    ini.writeString(NetSection, QStringLiteral("SubNetMask2"), net.subNetMask2);

    ini.writeString(DbSection, QStringLiteral("type"), db.type);
    ini.writeString(DbSection, QStringLiteral("folder"), db.folder);
    ini.writeString(DbSection, QStringLiteral("ip"), db.ip);
    ini.writeInteger(DbSection, QStringLiteral("port"), db.port);
    ini.writeString(DbSection, QStringLiteral("name"), db.name);
    ini.writeString(DbSection, QStringLiteral("user"), db.user);
    ini.writeString(DbSection, QStringLiteral("pass"), db.pass);
}

void AppSettings::writeVersion(IniFile &ini)
{
    ini.writeFloat(QStringLiteral("Orvane"), QStringLiteral("Ver"), Version);
}
