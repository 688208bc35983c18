#include "PcListFields.h"

#include "base/AppSettings.h"

namespace PcListFields {

namespace {

QList<Field> makeFields()
{
    using K = Kind;
    const auto f = [](const char *name, const char *caption, Kind kind, int width) {
        return Field {QLatin1String(name), QString::fromUtf8(caption), kind, width};
    };
    return {
        f("Key", "Key", K::Text, 140),
        f("KanriNo", "管理№", K::Number, 60),
        f("KanriCD", "管理CD", K::Text, 80),
        f("PC_Name", "ｺﾝﾋﾟｭｰﾀ名", K::Text, 110),
        f("Host", "ﾎｽﾄ名", K::Text, 110),
        f("MEM_All", "ﾒﾓﾘ(KB)", K::Thousands, 80),
        f("CPU_Clock", "CPUｸﾛｯｸ(MHz)", K::Number, 80),
        f("User", "ﾕｰｻﾞ名", K::Text, 90),
        f("IP", "IPｱﾄﾞﾚｽ", K::Text, 100),
        f("IP16", "IPｱﾄﾞﾚｽ(16)", K::Text, 80),
        f("Mac", "Macｱﾄﾞﾚｽ", K::Text, 120),
        f("Domain", "ﾄﾞﾒｲﾝ", K::Text, 90),
        f("Bu", "部", K::Text, 90),
        f("Ka", "課", K::Text, 90),
        f("Riyosya", "利用者", K::Text, 90),
        f("Maker", "ﾒｰｶｰ", K::Text, 90),
        f("Kisyu", "機種", K::Text, 100),
        f("Lease", "ﾘｰｽ会社", K::Text, 90),
        f("Lease_No", "ﾘｰｽ契約", K::Text, 90),
        f("Kataban", "型番", K::Text, 100),
        f("TekkyoYMD", "撤去日", K::Date, 80),
        f("WorkGroup", "ﾜｰｸｸﾞﾙｰﾌﾟ", K::Text, 90),
        f("UpdateYMD", "更新日", K::DateNoPad, 80),
        f("SettiBasyo", "設置場所", K::Text, 110),
        f("Win_Type", "OS", K::Text, 140),
        f("Hosyu_Kaisya", "保守会社", K::Text, 90),
        f("Hosyu_No", "保守契約№", K::Text, 90),
        f("SerialNo", "シリアル№", K::Text, 100),
        f("SP", "ｻｰﾋﾞｽﾊﾟｯｸ", K::Text, 60),
        f("InvaroYMD", "Invaro日付", K::Date, 80),
        f("Yoto", "用途", K::Text, 90),
        f("SisanKBN", "資産区分", K::Text, 70),
        f("Konyusaki", "購入先", K::Text, 90),
        f("CompSetumei", "コンピュータの説明", K::Text, 140),
        f("DonyuYMD", "導入日", K::Date, 80),
        f("FREE", "ﾌﾘｰｽﾍﾟｰｽ", K::Text, 100),
        f("CPU_Name", "CPU", K::Text, 160),
        f("LAN_Adapter", "LANｱﾀﾞﾌﾟﾀ名", K::Text, 160),
    };
}

} // namespace

const QList<Field> &all()
{
    static const QList<Field> fields = makeFields();
    Q_ASSERT(fields.size() == Count);
    return fields;
}

int indexOfName(const QString &name)
{
    const QList<Field> &fields = all();
    for (int i = 0; i < fields.size(); ++i)
        if (fields.at(i).name == name)
            return i;
    return -1;
}

int indexOfCaption(const QString &caption)
{
    const QList<Field> &fields = all();
    for (int i = 0; i < fields.size(); ++i)
        if (fields.at(i).caption == caption)
            return i;
    return -1;
}

QStringList captions()
{
    QStringList result;
    for (const Field &field : all())
        result.append(field.caption);
    return result;
}

QStringList designedOrder()
{
    return AppSettings::pcGridFields();
}

int tekkyoField()
{
    static const int index = indexOfName(QStringLiteral("TekkyoYMD"));
    return index;
}

int keyField()
{
    return 0;
}

} // namespace PcListFields
