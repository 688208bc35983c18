// The applications view's PC statement from its sort keys: no store, no
// window.

#include "base/AppSettings.h"
#include "views/AppliPcStatement.h"

#include <QTest>

class TstAppliPcStatement : public QObject
{
    Q_OBJECT

private slots:
    void orderLines_data()
    {
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QStringList>("directions");
        QTest::addColumn<QStringList>("tail"); // lines after the six fixed ones
        QTest::addColumn<QStringList>("keysAfter");
        QTest::addColumn<QStringList>("directionsAfter");
        QTest::newRow("no keys") << QStringList {"（なし）", "（なし）", "（なし）"}
                                 << QStringList {"昇順", "昇順", "昇順"}
                                 << QStringList {"ORDER BY ", "PC.KEY"}
                                 << QStringList {"（なし）", "（なし）", "（なし）"}
                                 << QStringList {"昇順", "昇順", "昇順"};
        QTest::newRow("two keys") << QStringList {"部", "利用者", "（なし）"}
                                  << QStringList {"昇順", "降順", "昇順"}
                                  << QStringList {"ORDER BY ",    "BU ASC", ", ",
                                                  "RIYOSYA DESC", ", ",     "PC.KEY"}
                                  << QStringList {"部", "利用者", "（なし）"}
                                  << QStringList {"昇順", "降順", "昇順"};
        QTest::newRow("typed key and odd direction")
            << QStringList {"部署", "登録日", "KEY"} << QStringList {"降順", "up", "降順"}
            << QStringList {"ORDER BY ", "AddYMD ASC", ", ", "KEY DESC"}
            << QStringList {"（なし）", "登録日", "KEY"} << QStringList {"降順", "昇順", "降順"};
    }
    void orderLines()
    {
        QFETCH(QStringList, keys);
        QFETCH(QStringList, directions);
        QFETCH(QStringList, tail);
        QFETCH(QStringList, keysAfter);
        QFETCH(QStringList, directionsAfter);
        SortSettings sort;
        for (int k = 0; k < 3; ++k) {
            sort.komoku[k] = keys[k];
            sort.jyun[k] = directions[k];
        }
        const QStringList lines = AppliPcStatement::build(sort).split(u'\n');
        QCOMPARE(lines.mid(0, 6),
                 (QStringList {"SELECT PC.KEY, BU, KA, RIYOSYA, PC_NAME, HOST, ProductID, "
                               "InstallKey,",
                               "       AddYMD, NyuryokuKBN", " FROM PC, APPLI",
                               "WHERE PC.KEY = APPLI.KEY", "AND APPLI.APPLI = :APPLI",
                               "AND PC.TEKKYOYMD is Null"}));
        QCOMPARE(lines.mid(6), tail);
        QCOMPARE((QStringList {sort.komoku[0], sort.komoku[1], sort.komoku[2]}), keysAfter);
        QCOMPARE((QStringList {sort.jyun[0], sort.jyun[1], sort.jyun[2]}), directionsAfter);
    }
};

QTEST_GUILESS_MAIN(TstAppliPcStatement)
#include "tst_applipc_statement.moc"
