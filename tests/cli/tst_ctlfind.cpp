// orvanectl find: the matches as tab-separated lines after a header, exit 0
// with matches and 1 without, on both engines.

#include "CtlTestSupport.h"
#include "store/UDMdata.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstCtlFind : public QObject
{
    Q_OBJECT

private slots:
    void findsAndSaysWhetherItFound_data() { TestStore::addEngineRows(); }
    void findsAndSaysWhetherItFound();
};

void TstCtlFind::findsAndSaysWhetherItFound()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    {
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        dm.exec(u"INSERT INTO PC (Key, Bu, Riyosya) VALUES ('PC2', '総務部', 'ヤマダ')"_s);
        dm.exec(u"INSERT INTO PC (Key, Bu, Riyosya) VALUES ('PC1', '総務部', 'スズキ')"_s);
        dm.exec(u"INSERT INTO LAN (Key, Seq, IP, Mac) "
                u"VALUES ('PC1', 1, '10.0.0.5', '00-11-22-AA-BB-CC')"_s);
    }
    QTemporaryDir program;
    const QStringList where = storeArguments(store, program.path());
    const QString header = u"種類\tKey\t項目\t値\n"_s;

    // Two words in two columns of one PC.
    Outcome o = runCtl(program.path(), where + QStringList {u"find"_s, u"総務"_s, u"やまだ"_s});
    QCOMPARE(o.exit, 0);
    QCOMPARE(o.out, header + u"PC\tPC2\t部\t総務部\nPC\tPC2\t利用者\tヤマダ\n"_s);

    o = runCtl(program.path(),
               where + QStringList {u"find"_s, u"--in"_s, u"lan"_s, u"00:11:22:aa:bb:cc"_s});
    QCOMPARE(o.exit, 0);
    QCOMPARE(o.out, header + u"LAN\tPC1\tMacｱﾄﾞﾚｽ\t00-11-22-AA-BB-CC\n"_s);

    o = runCtl(program.path(), where + QStringList {u"find"_s, u"--in"_s, u"pc"_s, u"10.0.0"_s});
    QCOMPARE(o.exit, 1);
    QCOMPARE(o.out, header);

    o = runCtl(program.path(), where + QStringList {u"find"_s, u"--in"_s, u"disk"_s, u"x"_s});
    QCOMPARE(o.exit, 2);
    o = runCtl(program.path(), where + QStringList {u"find"_s});
    QCOMPARE(o.exit, 2);
}

QTEST_GUILESS_MAIN(TstCtlFind)
#include "tst_ctlfind.moc"
