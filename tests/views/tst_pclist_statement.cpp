// The PC list's statement, sort keys, title clicks, field catalogue and
// the deletion question: no store, no window.

#include "base/AppSettings.h"
#include "views/PcDeletion.h"
#include "views/PcListFields.h"
#include "views/PcListStatement.h"

#include <QTest>

namespace {

const QStringList SelectLines {
    "SELECT Key, KanriNo, KanriCD, MEM_All, CPU_Clock, User, PC_Name, Host, IP, IP16, ",
    "       Mac, Domain, WorkGroup, Bu, Ka, Riyosya, Maker, Kisyu, Hosyu_Kaisya, Hosyu_No,",
    "       Kataban, Lease, Lease_No, TekkyoYMD, UpdateYMD, SettiBasyo,",
    "       Win_Type, SerialNo, SP, InvaroYMD, Yoto, SisanKBN, Konyusaki, CompSetumei, "
    "DonyuYMD, FREE, CPU_Name, LAN_Adapter FROM PC",
};

SortSettings sortOf(const QStringList &keys, const QStringList &directions)
{
    SortSettings sort;
    for (int k = 0; k < 3; ++k) {
        sort.komoku[k] = keys.value(k, "（なし）");
        sort.jyun[k] = directions.value(k, "昇順");
    }
    return sort;
}

} // namespace

class TstPcListStatement : public QObject
{
    Q_OBJECT

private slots:
    void statementLines_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("directions");
        QTest::addColumn<bool>("hideRemoved");
        QTest::addColumn<QStringList>("tail"); // lines after the SELECT lines
        QTest::addColumn<QStringList>("keysAfter");
        QTest::addColumn<QStringList>("directionsAfter");

        // The key orders last, alone when no key is chosen.
        QTest::newRow("no keys") << QStringList {"（なし）", "（なし）", "（なし）"}
                                 << QStringList {"昇順", "昇順", "昇順"} << false
                                 << QStringList {"ORDER BY ", "Key"}
                                 << QStringList {"（なし）", "（なし）", "（なし）"}
                                 << QStringList {"昇順", "昇順", "昇順"};
        QTest::newRow("two keys") << QStringList {"部", "課", "（なし）"}
                                  << QStringList {"降順", "昇順", "昇順"} << false
                                  << QStringList {"ORDER BY ", "Bu DESC", ", ",
                                                  "Ka ASC",    ", ",      "Key"}
                                  << QStringList {"部", "課", "（なし）"}
                                  << QStringList {"降順", "昇順", "昇順"};
        QTest::newRow("hidden removed before the order")
            << QStringList {"撤去日", "（なし）", "ﾒﾓﾘ(KB)"} << QStringList {"昇順", "降順", "降順"}
            << true << QStringList {"WHERE TekkyoYMD is null",
                                    "ORDER BY ",
                                    "TekkyoYMD ASC",
                                    ", ",
                                    "MEM_All DESC",
                                    ", ",
                                    "Key"}
            << QStringList {"撤去日", "（なし）", "ﾒﾓﾘ(KB)"}
            << QStringList {"昇順", "降順", "降順"};
        QTest::newRow("hidden removed, no order")
            << QStringList {} << QStringList {} << true
            << QStringList {"WHERE TekkyoYMD is null", "ORDER BY ", "Key"}
            << QStringList {"（なし）", "（なし）", "（なし）"}
            << QStringList {"昇順", "昇順", "昇順"};
        // A caption that is no field's becomes "（なし）" (its direction
        // stays); other directions than 降順 become 昇順.
        QTest::newRow("unknown caption and odd directions")
            << QStringList {"部署", "ﾕｰｻﾞ名", "Key"} << QStringList {"降順", "逆", ""} << false
            << QStringList {"ORDER BY ", "User ASC", ", ", "Key ASC"}
            << QStringList {"（なし）", "ﾕｰｻﾞ名", "Key"} << QStringList {"降順", "昇順", "昇順"};
        QTest::newRow("same field twice")
            << QStringList {"更新日", "更新日", "（なし）"} << QStringList {"降順", "昇順", "昇順"}
            << false
            << QStringList {"ORDER BY ", "UpdateYMD DESC", ", ", "UpdateYMD ASC", ", ", "Key"}
            << QStringList {"更新日", "更新日", "（なし）"} << QStringList {"降順", "昇順", "昇順"};
        QTest::newRow("captions are exact")
            << QStringList {"key", " 部", "ﾒﾓﾘ（KB）"} << QStringList {} << false
            << QStringList {"ORDER BY ", "Key"} << QStringList {"（なし）", "（なし）", "（なし）"}
            << QStringList {"昇順", "昇順", "昇順"};
    }
    void statementLines()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, directions);
        QFETCH(bool, hideRemoved);
        QFETCH(QStringList, tail);
        QFETCH(QStringList, keysAfter);
        QFETCH(QStringList, directionsAfter);

        SortSettings sort = sortOf(keys, directions);
        const QStringList lines
            = PcListStatement::lines(PcListStatement::orderItems(sort), hideRemoved);
        QCOMPARE(lines, SelectLines + tail);
        for (int k = 0; k < 3; ++k) {
            QCOMPARE(sort.komoku[k], keysAfter.at(k));
            QCOMPARE(sort.jyun[k], directionsAfter.at(k));
        }
        SortSettings again = sortOf(keys, directions);
        QCOMPARE(PcListStatement::build(again, hideRemoved), (SelectLines + tail).join('\n'));
    }

    void titleClick_data()
    {
        QTest::addColumn<QString>("key1");
        QTest::addColumn<QString>("dir1");
        QTest::addColumn<QString>("clicked");
        QTest::addColumn<QString>("key1After");
        QTest::addColumn<QString>("dir1After");
        QTest::newRow("other column keeps direction") << "部"
                                                      << "降順"
                                                      << "課"
                                                      << "課"
                                                      << "降順";
        QTest::newRow("same column ascending") << "部"
                                               << "昇順"
                                               << "部"
                                               << "部"
                                               << "降順";
        QTest::newRow("same column descending") << "部"
                                                << "降順"
                                                << "部"
                                                << "部"
                                                << "昇順";
        QTest::newRow("same column odd direction") << "部"
                                                   << "?"
                                                   << "部"
                                                   << "部"
                                                   << "昇順";
        QTest::newRow("from none") << "（なし）"
                                   << "昇順"
                                   << "Key"
                                   << "Key"
                                   << "昇順";
    }
    void titleClick()
    {
        QFETCH(QString, key1);
        QFETCH(QString, dir1);
        QFETCH(QString, clicked);
        QFETCH(QString, key1After);
        QFETCH(QString, dir1After);
        SortSettings sort = sortOf({key1, "課", "OS"}, {dir1, "降順", "昇順"});
        PcListStatement::titleClick(sort, clicked);
        QCOMPARE(sort.komoku[0], key1After);
        QCOMPARE(sort.jyun[0], dir1After);
        // Keys 2 and 3 stay.
        QCOMPARE(sort.komoku[1], QString("課"));
        QCOMPARE(sort.jyun[1], QString("降順"));
        QCOMPARE(sort.komoku[2], QString("OS"));
    }

    void sameTitleTwiceSortsAscendingThenDescending()
    {
        SortSettings sort = sortOf({}, {});
        PcListStatement::titleClick(sort, "ﾎｽﾄ名");
        QCOMPARE(PcListStatement::lines(PcListStatement::orderItems(sort), false).mid(4),
                 (QStringList {"ORDER BY ", "Host ASC", ", ", "Key"}));
        PcListStatement::titleClick(sort, "ﾎｽﾄ名");
        QCOMPARE(PcListStatement::lines(PcListStatement::orderItems(sort), false).mid(4),
                 (QStringList {"ORDER BY ", "Host DESC", ", ", "Key"}));
    }

    void fieldCatalogue()
    {
        const QList<PcListFields::Field> &fields = PcListFields::all();
        QCOMPARE(fields.size(), 38);
        // The designed order holds the same fields as the field order and is
        // what the settings file knows.
        QStringList names;
        for (const PcListFields::Field &f : fields)
            names << f.name;
        QStringList designed = PcListFields::designedOrder();
        QCOMPARE(designed, AppSettings::pcGridFields());
        QCOMPARE(designed.mid(19, 4),
                 (QStringList {"Kataban", "WorkGroup", "UpdateYMD", "TekkyoYMD"}));
        QCOMPARE(names.mid(19, 4),
                 (QStringList {"Kataban", "TekkyoYMD", "WorkGroup", "UpdateYMD"}));
        std::sort(designed.begin(), designed.end());
        std::sort(names.begin(), names.end());
        QCOMPARE(designed, names);
        // Every caption names one field.
        const QStringList captions = PcListFields::captions();
        for (int i = 0; i < captions.size(); ++i)
            QCOMPARE(PcListFields::indexOfCaption(captions.at(i)), i);
        QCOMPARE(captions.at(1), QString("管理№"));
        QCOMPARE(captions.at(3), QString("ｺﾝﾋﾟｭｰﾀ名"));
        QCOMPARE(captions.at(33), QString("コンピュータの説明"));
        QCOMPARE(captions.at(37), QString("LANｱﾀﾞﾌﾟﾀ名"));
    }

    void confirmationText_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("text");
        QTest::newRow("one") << QStringList {
            "PC-001"} << QString("PC-001に関する情報をすべて削除します。\n\rよろしいですか？");
        QTest::newRow("three")
            << QStringList {"PC-001", "PC-007", "PC-009"}
            << QString("PC-001、\n\r他2台に関する情報をすべて削除します。\n\rよろしいですか？");
        QTest::newRow("twelve") << QStringList(
            12,
            "K") << QString("K、\n\r他11台に関する情報をすべて削除します。\n\rよろしいですか？");
    }
    void confirmationText()
    {
        QFETCH(QStringList, keys);
        QFETCH(QString, text);
        QCOMPARE(PcDeletion::confirmationText(keys), text);
    }

    void deletionStatements()
    {
        QCOMPARE(PcDeletion::statements(),
                 (QStringList {
                     "DELETE FROM DRIVE\nWHERE KEY = :KEY", "DELETE FROM PRINTER\nWHERE KEY = :KEY",
                     "DELETE FROM APPLI\nWHERE KEY = :KEY", "DELETE FROM LAN\nWHERE KEY = :KEY",
                     "DELETE FROM SHARE\nWHERE KEY = :KEY", "DELETE FROM PMEMORY\nWHERE KEY = :KEY",
                     "DELETE FROM PC\nWHERE KEY = :KEY"}));
    }
};

QTEST_GUILESS_MAIN(TstPcListStatement)
#include "tst_pclist_statement.moc"
