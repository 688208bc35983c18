#include "ChoiceLists.h"

#include "store/StoreError.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSqlQuery>

namespace ChoiceLists {

namespace {

List list(const char *field, const char *combo, QStringList fixed, const QString &statement,
          int visibleItems = 0)
{
    return {QLatin1String(field), QLatin1String(combo), std::move(fixed), statement, visibleItems};
}

QVector<List> build()
{
    const QStringList keijyo {QString(),
                              QStringLiteral("ラックマウント"),
                              QStringLiteral("フルタワー"),
                              QStringLiteral("ミドルタワー"),
                              QStringLiteral("ミニタワー"),
                              QStringLiteral("デスクトップ"),
                              QStringLiteral("ノート"),
                              QStringLiteral("一体型")};
    const QStringList yoto {QString(), QStringLiteral("サーバー"), QStringLiteral("クライアント"),
                            QStringLiteral("ＤＢサーバー")};
    const QStringList sisan {QString(), QStringLiteral("リース"), QStringLiteral("レンタル"),
                             QStringLiteral("買取")};
    return {
        list("Maker", "MakerCombo", {},
             QStringLiteral("SELECT DISTINCT MAKER FROM PC\nORDER BY MAKER"), 10),
        list("Kisyu", "KisyuCombo", {},
             QStringLiteral("SELECT DISTINCT Kisyu FROM PC\nWHERE MAKER = :MAKER\nORDER BY Kisyu"),
             10),
        list("Keijyo", "KeijyoCombo", keijyo,
             QStringLiteral("SELECT DISTINCT Keijyo FROM PC\n"
                            "WHERE Keijyo not in ('', 'ラックマウント', 'フルタワー', \n"
                            "'ミドルタワー', 'ミニタワー', 'デスクトップ', 'ノート', '一体型')\n"
                            "ORDER BY Keijyo"),
             10),
        list("Yoto", "YotoCombo", yoto,
             QStringLiteral("SELECT DISTINCT YOTO FROM PC\n"
                            "WHERE YOTO not in ('', 'サーバー', 'クライアント', \n"
                            "'ＤＢサーバー') ORDER BY YOTO"),
             10),
        list("Bu", "BuCombo", {}, QStringLiteral("SELECT DISTINCT BU FROM PC\nORDER BY BU")),
        list("Ka", "KaCombo", {}, QStringLiteral("SELECT DISTINCT KA FROM PC\nORDER BY Ka")),
        list("Win_Type", "OStypeCOMBO", {},
             QStringLiteral("SELECT DISTINCT WIN_TYPE FROM PC\nORDER BY WIN_TYPE")),
        list("SisanKBN", "SisankbnCOMBO", sisan,
             QStringLiteral("SELECT DISTINCT SISANKBN FROM PC\n"
                            "WHERE SISANKBN not in ('', 'リース', 'レンタル', \n"
                            "'買取')\n"
                            "ORDER BY SISANKBN")),
        list("Konyusaki", "KonyusakiCOMBO", {},
             QStringLiteral("SELECT DISTINCT KONYUSAKI FROM PC\nORDER BY KONYUSAKI")),
        list("lease", "LeaseCOMBO", {},
             QStringLiteral("SELECT DISTINCT LEASE FROM PC\nORDER BY LEASE")),
        list("Hosyu_Kaisya", "HosyuCOMBO", {},
             QStringLiteral("SELECT DISTINCT HOSYU_KAISYA FROM PC\nORDER BY HOSYU_KAISYA")),
        list("SettiBasyo", "SettiBasyoCombo", {},
             QStringLiteral("SELECT DISTINCT SettiBasyo FROM PC\nORDER BY SettiBasyo"), 10),
    };
}

} // namespace

const QVector<List> &all()
{
    static const QVector<List> lists = build();
    return lists;
}

const List &ofField(const QString &field)
{
    for (const List &l : all())
        if (l.field.compare(field, Qt::CaseInsensitive) == 0)
            return l;
    throw StoreError(QStringLiteral("選択リスト %1 がありません").arg(field));
}

QStringList entries(TDMdata &dm, const List &list, const QString &maker)
{
    QVariantMap params;
    if (list.statement.contains(QLatin1String(":MAKER")))
        params.insert(QStringLiteral(":MAKER"), StoreValue::text(maker));
    // No value sorts first on both engines, as on SQLite.
    QSqlQuery q = dm.exec(dm.dialect().withSqliteNullOrder(list.statement), params);
    QStringList result = list.fixed;
    while (q.next())
        result << q.value(0).toString();
    q.finish();
    return result;
}

} // namespace ChoiceLists
