// The PC list model on both engines (values, formats, removed PCs, reading
// in slices), the copies through the real grid, and the deletion of PCs.

#include "TestStores.h"
#include "base/AppSettings.h"
#include "base/GridRoles.h"
#include "kit/TDBGridEx.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "tst_pclist_support.h"
#include "views/PcDeletion.h"
#include "views/PcListModel.h"
#include "views/PcListStatement.h"
#include "views/windows/PcGridColumns.h"

#include <QAbstractItemModelTester>
#include <QColor>
#include <QHeaderView>
#include <QSignalSpy>
#include <QTest>

namespace {

const QString Captions
    = "Key\t管理№\t管理CD\tｺﾝﾋﾟｭｰﾀ名\tﾎｽﾄ名\tﾒﾓﾘ(KB)\tCPUｸﾛｯｸ(MHz)\tﾕｰｻﾞ名\tIPｱﾄﾞﾚｽ\t"
      "IPｱﾄﾞﾚｽ(16)\tMacｱﾄﾞﾚｽ\tﾄﾞﾒｲﾝ\t部\t課\t利用者\tﾒｰｶｰ\t機種\tﾘｰｽ会社\tﾘｰｽ契約\t型番\t撤去日\t"
      "ﾜｰｸｸﾞﾙｰﾌﾟ\t更新日\t設置場所\tOS\t保守会社\t保守契約№\tシリアル№\tｻｰﾋﾞｽﾊﾟｯｸ\tInvaro日付\t"
      "用途\t資産区分\t購入先\tコンピュータの説明\t導入日\tﾌﾘｰｽﾍﾟｰｽ\tCPU\tLANｱﾀﾞﾌﾟﾀ名\r";
const QString RowA
    = "A\t12\tK-01\tPC-A\thost-a\t1048576\t2400.5\ttaro\t192.168.0.11\tC0A8000B\t"
      "00-11-22-33-44-55\tCORP\t総務部\t庶務課\t山田\tNEC\tMate\tﾘｰｽ社\tL-1\tPC-MY\t\t"
      "WG\t2005/01/09\t3F\tWindows XP\t保守社\tH-1\tS1\tSP2\t2005/12/10\t事務\t資産\t"
      "販売店\t説明\t2004/04/01\t10GB\tPentium 4\tIntel\r";

// A with every listed field, B removed with no memory, C with the zero
// date as removal date and nothing else.
void insertSamplePcs(TDMdata &dm)
{
    insertPc(dm, "A",
             {{"KanriNo", 12},
              {"KanriCD", "K-01"},
              {"PC_Name", "PC-A"},
              {"Host", "host-a"},
              {"Mem_All", 1048576},
              {"CPU_Clock", 2400.5},
              {"user", "taro"},
              {"IP", "192.168.0.11"},
              {"IP16", "C0A8000B"},
              {"Mac", "00-11-22-33-44-55"},
              {"Domain", "CORP"},
              {"Bu", "総務部"},
              {"Ka", "庶務課"},
              {"Riyosya", "山田"},
              {"Maker", "NEC"},
              {"Kisyu", "Mate"},
              {"lease", "ﾘｰｽ社"},
              {"lease_No", "L-1"},
              {"Kataban", "PC-MY"},
              {"WorkGroup", "WG"},
              {"UpdateYMD", QDate(2005, 1, 9)},
              {"SettiBasyo", "3F"},
              {"Win_Type", "Windows XP"},
              {"Hosyu_Kaisya", "保守社"},
              {"Hosyu_No", "H-1"},
              {"SerialNo", "S1"},
              {"SP", "SP2"},
              {"InvaroYMD", QDate(2005, 12, 10)},
              {"Yoto", "事務"},
              {"SisanKBN", "資産"},
              {"Konyusaki", "販売店"},
              {"CompSetumei", "説明"},
              {"DonyuYMD", QDate(2004, 4, 1)},
              {"FREE", "10GB"},
              {"CPU_Name", "Pentium 4"},
              {"LAN_Adapter", "Intel"}});
    insertPc(
        dm, "B",
        {{"Mem_All", 0}, {"CPU_Clock", 3000}, {"Bu", "営業部"}, {"TekkyoYMD", QDate(2006, 3, 31)}});
    insertPc(dm, "C", {{"TekkyoYMD", QDate(1899, 12, 30)}});
}

QString statement(const QString &key1, bool hideRemoved = false)
{
    SortSettings sort;
    sort.komoku[0] = key1;
    sort.jyun[0] = "昇順";
    for (int k = 1; k < 3; ++k) {
        sort.komoku[k] = "（なし）";
        sort.jyun[k] = "昇順";
    }
    return PcListStatement::build(sort, hideRemoved);
}

// Every plain text of every row, a row a line.
QStringList allTexts(const PcListModel &model)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList fields;
        for (int f = 0; f < model.columnCount(); ++f)
            fields << model.plainText(r, f);
        rows << fields.join('\t');
    }
    return rows;
}

QStringList keysOf(const PcListModel &model)
{
    QStringList keys;
    for (int r = 0; r < model.rowCount(); ++r)
        keys << model.key(r);
    return keys;
}

} // namespace

class TstPcListModel : public QObject
{
    Q_OBJECT

private slots:
    // No PC moves when another is edited: the key orders rows whose sort
    // values are equal (PostgreSQL gives an edited row last otherwise).
    void orderStaysAfterAnEdit_data() { TestStore::addEngineRows(); }
    void orderStaysAfterAnEdit()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        for (const char *key : {"A", "B", "C"})
            insertPc(dm, key, {{"Bu", "総務"}});
        PcListModel model;
        for (const char *key1 : {"（なし）", "部"}) {
            dm.exec("UPDATE PC SET Riyosya = 'x' WHERE Key = 'A'");
            model.load(dm, statement(key1));
            QCOMPARE(keysOf(model), (QStringList {"A", "B", "C"}));
        }
    }

    void valuesAndFormats_data() { TestStore::addEngineRows(); }
    void valuesAndFormats()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insertSamplePcs(dm);

        PcListModel model;
        QAbstractItemModelTester tester(&model);
        model.load(dm, statement("Key"));
        QVERIFY(model.isComplete());
        QCOMPARE(keysOf(model), (QStringList {"A", "B", "C"}));
        QCOMPARE(model.columnCount(), 38);

        const int mem = PcListFields::indexOfName("MEM_All");
        const int update = PcListFields::indexOfName("UpdateYMD");
        const int invaro = PcListFields::indexOfName("InvaroYMD");
        const int clock = PcListFields::indexOfName("CPU_Clock");
        QCOMPARE(model.data(model.index(0, mem)).toString(), QString("1,048,576"));
        QCOMPARE(model.data(model.index(0, mem), GridRoles::PlainText).toString(),
                 QString("1048576"));
        QCOMPARE(model.data(model.index(1, mem)).toString(), QString());
        QCOMPARE(model.data(model.index(1, mem), GridRoles::PlainText).toString(), QString("0"));
        QCOMPARE(model.data(model.index(2, mem), GridRoles::PlainText).toString(), QString());
        QCOMPARE(model.data(model.index(0, update)).toString(), QString("2005/1/9"));
        QCOMPARE(model.data(model.index(0, update), GridRoles::PlainText).toString(),
                 QString("2005/01/09"));
        QCOMPARE(model.data(model.index(0, invaro)).toString(), QString("2005/12/10"));
        QCOMPARE(model.data(model.index(1, clock)).toString(), QString("3000"));
        QCOMPARE(model.headerData(5, Qt::Horizontal).toString(), QString("ﾒﾓﾘ(KB)"));

        // Removed PCs are grey with black text; the zero date is no removal.
        QVERIFY(!model.isRemoved(0));
        QVERIFY(model.isRemoved(1));
        QVERIFY(!model.isRemoved(2));
        for (int c : {0, 20, 37}) {
            QCOMPARE(model.data(model.index(1, c), Qt::BackgroundRole).value<QColor>(),
                     QColor(224, 224, 224));
            QCOMPARE(model.data(model.index(1, c), Qt::ForegroundRole).value<QColor>(),
                     QColor(Qt::black));
            QVERIFY(!model.data(model.index(0, c), Qt::BackgroundRole).isValid());
            QVERIFY(!model.data(model.index(2, c), Qt::BackgroundRole).isValid());
        }

        // The order of the statement is the order of the list (where C,
        // without 部, stands is the engine's choice).
        model.load(dm, statement("部"));
        QStringList byBu = keysOf(model);
        byBu.removeOne("C");
        QCOMPARE(byBu, (QStringList {"B", "A"}));
        QCOMPARE(model.rowOfKey("A"), keysOf(model).indexOf("A"));
        QCOMPARE(model.rowOfKey("nobody"), -1);
        // Hidden removed PCs: a removal date of any value leaves the PC out.
        model.load(dm, statement("Key", true));
        QCOMPARE(keysOf(model), QStringList {"A"});
    }

    // The window's read: on the reader's thread, the first slice replacing
    // the rows and the later ones inserted; a read started while the rows
    // of another arrive ends with the rows of the last one, each once, and
    // they equal those of a read on this thread.
    void readsInSlices_data() { TestStore::addEngineRows(); }
    void readsInSlices()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        // More than a first slice and a later one.
        {
            StoreTransaction transaction(dm);
            for (int i = 0; i < 2300; ++i)
                insertPc(dm, QString("K%1").arg(i, 4, 10, QChar('0')),
                         {{"Bu", QString("B%1").arg(i % 7)}, {"Mem_All", i}});
            transaction.commit();
        }
        PcListModel direct;
        direct.load(dm, statement("部"));

        PcListModel model;
        QAbstractItemModelTester tester(&model);
        QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
        model.read(dm, statement("Key"));
        QTRY_VERIFY(model.rowCount() > 0);
        model.read(dm, statement("部"));
        QTRY_VERIFY(model.isComplete());
        QVERIFY(!inserted.isEmpty());
        QCOMPARE(model.rowCount(), 2300);
        QCOMPARE(allTexts(model), allTexts(direct));

        // No statement stays open: another copy writes, and on SQLite its
        // checkpoint is not held up by a reader.
        TDMdata other;
        openCheckedStore(other, store.settings());
        insertPc(other, "K9999", {{"Bu", "A"}});
        if (other.engine() == Engine::SQLite) {
            QSqlQuery checkpoint = other.exec("PRAGMA wal_checkpoint(TRUNCATE)");
            QVERIFY(checkpoint.next());
            QCOMPARE(checkpoint.value(0).toInt(), 0); // not busy
        }
        // Waiting takes every row in at once.
        model.read(dm, statement("部"));
        model.waitForAll();
        QVERIFY(model.isComplete());
        QCOMPARE(model.rowCount(), 2301);
        QCOMPARE(model.key(0), QString("K9999"));

        // A store error is told; one on this thread leaves the list empty.
        QSignalSpy failed(&model, &PcListModel::failed);
        model.read(dm, "SELECT Key FROM NoSuchTable");
        QTRY_COMPARE(failed.size(), 1);
        QVERIFY(!failed.at(0).at(0).toString().isEmpty());
        dm.close();
        QVERIFY_THROWS_EXCEPTION(StoreError, model.load(dm, statement("Key")));
        QCOMPARE(model.rowCount(), 0);
    }

    void copies_data() { TestStore::addEngineRows(); }
    void copies()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insertSamplePcs(dm);

        PcListModel model;
        model.load(dm, statement("Key"));
        TDBGridEx grid;
        grid.setModel(&model);
        PcGridColumns columns(grid.horizontalHeader());
        columns.applyDesigned();

        const QString all = grid.allFieldsText();
        QVERIFY(all.startsWith(Captions + RowA));
        QVERIFY(all.endsWith("\r"));
        QCOMPARE(all.count('\r'), 4);
        for (const QString &line : all.split('\r', Qt::SkipEmptyParts))
            QCOMPARE(line.count('\t'), 37);
        // Row B: 0 memory copies as "0", the removal date in short form.
        const QStringList b = all.split('\r').at(2).split('\t');
        QCOMPARE(b.at(5), QString("0"));
        QCOMPARE(b.at(6), QString("3000"));
        QCOMPARE(b.at(20), QString("2006/03/31"));

        // Hiding and moving columns changes the shown copy only.
        columns.setShown("Key", false);
        grid.horizontalHeader()->moveSection(grid.horizontalHeader()->visualIndex(5), 1);
        QCOMPARE(grid.allFieldsText(), all);
        const QStringList shown = grid.shownColumnsText().split('\r');
        QVERIFY(shown.at(0).startsWith("ﾒﾓﾘ(KB)\t管理№\t管理CD\tｺﾝﾋﾟｭｰﾀ名\tﾎｽﾄ名\tCPUｸﾛｯｸ"));
        QVERIFY(shown.at(1).startsWith("1048576\t12\tK-01\t"));
        QCOMPARE(shown.at(1).count('\t'), 36);
        // The designed order puts WorkGroup and UpdateYMD before TekkyoYMD.
        QVERIFY(shown.at(0).contains("型番\tﾜｰｸｸﾞﾙｰﾌﾟ\t更新日\t撤去日\t設置場所"));

        // An empty list copies the caption line alone.
        model.load(dm, statement("（なし）").replace("FROM PC\n", "FROM PC WHERE 1 = 0\n"));
        QCOMPARE(grid.allFieldsText(), Captions);
    }

    void deletionRemovesDetailsKeepsLease_data() { TestStore::addEngineRows(); }
    void deletionRemovesDetailsKeepsLease()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insertDetailedPcs(dm, {"A", "B", "C"});

        PcDeletion::deletePcs(dm, {"A", "B"});
        QVERIFY(!dm.inTransaction());
        for (const char *key : {"A", "B"}) {
            for (const char *table : {"PC", "Drive", "Printer", "Appli", "LAN", "Share", "PMEMORY"})
                QCOMPARE(countRows(dm, table, "Key", key), 0);
            QCOMPARE(countRows(dm, "LeasePC", "PCKey", key), 1);
        }
        for (const char *table : {"PC", "Drive", "Printer", "Appli", "LAN", "Share", "PMEMORY"})
            QCOMPARE(countRows(dm, table, "Key", "C"), 1);
    }

    void failedDeletionRollsBackTheBatch_data() { TestStore::addEngineRows(); }
    void failedDeletionRollsBackTheBatch()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insertDetailedPcs(dm, {"A", "B"});
        refuseDeletingPc(dm, "B");

        // A goes completely before B's PC row fails.
        QVERIFY_THROWS_EXCEPTION(StoreError, PcDeletion::deletePcs(dm, {"A", "B"}));
        QVERIFY(!dm.inTransaction());
        for (const char *key : {"A", "B"})
            for (const char *table : {"PC", "Drive", "Printer", "Appli", "LAN", "Share", "PMEMORY"})
                QCOMPARE(countRows(dm, table, "Key", key), 1);
        // The store stays usable.
        PcDeletion::deletePcs(dm, {"A"});
        QCOMPARE(countRows(dm, "PC", "Key", "A"), 0);
    }

private:
    static void insertDetailedPcs(TDMdata &dm, const QStringList &keys)
    {
        for (const QString &key : keys) {
            insertPc(dm, key);
            insertRow(dm, TableId::Drive, {{"Key", key}, {"Drive", "C:"}});
            insertRow(dm, TableId::Printer, {{"Key", key}, {"Printer", "LP"}});
            insertRow(dm, TableId::Appli, {{"Key", key}, {"Appli", "Office"}});
            insertRow(dm, TableId::LAN, {{"Key", key}, {"Seq", 1}});
            insertRow(dm, TableId::Share, {{"Key", key}, {"SharedName", "pub"}});
            insertRow(dm, TableId::PMEMORY, {{"Key", key}, {"Seq", 1}});
            insertRow(dm, TableId::LeasePC,
                      {{"lease", "ﾘｰｽ社"}, {"lease_No", "L-1"}, {"PCKey", key}});
        }
    }

    // Deleting the PC row of this key fails in the store.
    static void refuseDeletingPc(TDMdata &dm, const QString &key)
    {
        QSqlQuery q(dm.database());
        if (dm.engine() == Engine::SQLite) {
            QVERIFY(q.exec(QString("CREATE TRIGGER keep_pc BEFORE DELETE ON PC WHEN OLD.Key = '%1' "
                                   "BEGIN SELECT RAISE(ABORT, 'locked'); END")
                               .arg(key)));
            return;
        }
        QVERIFY(q.exec(QString("CREATE FUNCTION keep_pc() RETURNS trigger AS $$ BEGIN "
                               "IF OLD.key = '%1' THEN RAISE EXCEPTION 'locked'; END IF; "
                               "RETURN OLD; END $$ LANGUAGE plpgsql")
                           .arg(key)));
        QVERIFY(q.exec("CREATE TRIGGER keep_pc BEFORE DELETE ON pc FOR EACH ROW "
                       "EXECUTE FUNCTION keep_pc()"));
    }
};

QTEST_MAIN(TstPcListModel)
#include "tst_pclist_model.moc"
