// Table dumps: written, read back unchanged, and refused with the line and
// column of the first bad value, leaving the table as it was.

#include "TestStores.h"
#include "base/Cp932.h"
#include "export/CsvExport.h"
#include "maintenance/DumpReader.h"
#include "maintenance/TableDump.h"
#include "store/PcClaims.h"
#include "store/RecordCursor.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

using Rows = QVector<QVariantList>;

QVector<CsvExport::Column> catalogColumns(TableId table)
{
    QVector<CsvExport::Column> columns;
    for (const ColumnDef &def : Schema::table(table).columns)
        columns << CsvExport::column(def);
    return columns;
}

// Every row of the table in key order, typed after the catalog.
Rows tableRows(TDMdata &dm, TableId table)
{
    const TableDef &def = Schema::table(table);
    const QVector<CsvExport::Column> columns = CsvExport(dm, table).columns();
    QStringList keys;
    for (const QString &k : def.primaryKey)
        keys << dm.dialect().identifier(k);
    QSqlQuery q
        = dm.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2").arg(def.name, keys.join(u',')));
    Rows rows;
    while (q.next()) {
        QVariantList row;
        for (int i = 0; i < columns.size(); ++i)
            row << StoreValue::fromStore(CsvExport::definition(columns[i]), q.value(i));
        rows << row;
    }
    return rows;
}

void insert(TDMdata &dm, TableId table, const QVariantMap &values)
{
    RecordCursor &cursor = dm.table(table);
    cursor.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        cursor.setValue(it.key(), it.value());
    cursor.post();
}

QByteArray readAll(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("(unreadable)");
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QDateTime at(int y, int mo, int d, int h, int mi, int s)
{
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

const QByteArray LeaseHeader
    = "lease,lease_No,SiharaiYMD,SiharaiY,SiharaiM,kingaku,zei,hosyuryo,UpdateTime\r\n";

QByteArray sjis(const QString &text)
{
    return Cp932::encode(text);
}

} // namespace

class TstTableDump : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    // A dump read back leaves the table equal row for row, and dumps the
    // same bytes again: Japanese text, commas, quotes and line breaks in
    // texts, dates, times around midnight and noon, numbers at their ends.
    void roundTrip_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<int>("table");
        QTest::addColumn<QByteArray>("line");
        const QByteArray appliLine = "\"PC01\",\"Excel, 2000\",\"\",\"\",\"\",\"\",\"\","
                                     "\"2005/12/10 12:30:15.000 "
            + sjis(QStringLiteral("午前"))
            + "\",\"\",\"\","
              "\"2005/12/10 12:00:00.000 "
            + sjis(QStringLiteral("午後")) + "\"\r\n";
        const QByteArray pcMemo = ",\""
            + sjis(QStringLiteral("一行目\r\n二行目\n\"\"引用\"\", 三行目")) + "\",\"2005/12/10\",";
        for (int engine : {int(TestStore::Kind::SQLite), int(TestStore::Kind::PostgreSQL)}) {
            const char *name = engine == int(TestStore::Kind::SQLite) ? "sqlite" : "postgresql";
            QTest::newRow(qPrintable(QStringLiteral("%1 PC").arg(QLatin1String(name))))
                << engine << int(TableId::PC) << pcMemo;
            QTest::newRow(qPrintable(QStringLiteral("%1 Appli").arg(QLatin1String(name))))
                << engine << int(TableId::Appli) << appliLine;
        }
    }
    void roundTrip()
    {
        QFETCH(int, engine);
        QFETCH(int, table);
        QFETCH(QByteArray, line);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings(), 2);
        const TableId id = TableId(table);
        if (id == TableId::PC) {
            insert(dm, id,
                   {{"Key", "PC01"},
                    {"Bu", QStringLiteral("情報システム部")},
                    {"Ka", QStringLiteral("ｼｽﾃﾑ課")},
                    {"Riyosya", QStringLiteral("山田, 太郎")},
                    {"Biko", QStringLiteral("一行目\r\n二行目\n\"引用\", 三行目")},
                    {"UpdateYMD", QDate(2005, 12, 10)},
                    {"TekkyoYMD", QDate(1899, 12, 30)},
                    {"CPU_Clock", 2992.5},
                    {"Mem_All", 2147483647},
                    {"CPU_Type", -2147483647 - 1},
                    {"KanriNo", 0},
                    {"FREE", QStringLiteral("  前後の空白  ")}});
            insert(dm, id, {{"Key", "PC \"02\", B"}, {"CPU_Clock", 0.1}});
            insert(dm, id, {{"Key", "PC03"}});
        } else {
            insert(dm, id,
                   {{"Key", "PC01"},
                    {"Appli", "Excel, 2000"},
                    {"UpdateYMD", at(2005, 12, 10, 0, 30, 15)},
                    {"AddYMD", at(2005, 12, 10, 12, 0, 0)}});
            insert(dm, id,
                   {{"Key", "PC01"},
                    {"Appli", QStringLiteral("ﾜｰﾄﾞ \"2003\"")},
                    {"UpdateYMD", at(2006, 1, 2, 14, 30, 0)},
                    {"NyuryokuKBN", QStringLiteral("手入力")}});
            insert(dm, id,
                   {{"Key", "PC02"}, {"Appli", "x"}, {"UpdateYMD", at(2006, 1, 2, 23, 59, 59)}});
        }
        const Rows before = tableRows(dm, id);
        QCOMPARE(before.size(), 3);

        const QString path = m_dir->filePath(QStringLiteral("dump.csv"));
        const CsvExport::Result written = TableDump::write(dm, id, path);
        QVERIFY2(written.ok, qPrintable(written.error));
        const QByteArray bytes = readAll(path);
        QVERIFY2(bytes.contains(line), bytes.constData());

        // Whatever the table holds now is replaced.
        dm.exec(QStringLiteral("DELETE FROM %1").arg(Schema::table(id).name));
        QVariantMap other {{"Key", "ZZ"}};
        if (id == TableId::Appli)
            other.insert(QStringLiteral("Appli"), QStringLiteral("y"));
        insert(dm, id, other);
        const TableDump::RestoreResult restored = TableDump::restore(dm, id, path);
        QVERIFY2(restored.ok, qPrintable(restored.error));
        QCOMPARE(restored.rows, 3);
        QCOMPARE(tableRows(dm, id), before);

        const QString again = m_dir->filePath(QStringLiteral("again.csv"));
        QVERIFY(TableDump::write(dm, id, again).ok);
        QCOMPARE(readAll(again), bytes);
    }

    // A table holding a text that CP932 cannot carry (from older data or
    // the SQL window) is dumped and exported as UTF-8 behind a byte order
    // mark, and the dump reads back unchanged.
    void textsCp932LacksGoInUtf8_data() { TestStore::addEngineRows(); }
    void textsCp932LacksGoInUtf8()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insert(dm, TableId::PC, {{"Key", "PC01"}, {"SettiBasyo", QStringLiteral("2F\u301C3F")}});
        insert(dm, TableId::PC, {{"Key", "PC02"}, {"Bu", QStringLiteral("総務部")}});
        const Rows before = tableRows(dm, TableId::PC);

        const QString dump = m_dir->filePath(QStringLiteral("dump.csv"));
        const CsvExport::Result written = TableDump::write(dm, TableId::PC, dump);
        QVERIFY2(written.ok, qPrintable(written.error));
        QCOMPARE(written.rows, 2);
        const QByteArray bytes = readAll(dump);
        QVERIFY(bytes.startsWith("\xEF\xBB\xBFKey,"));
        QVERIFY(bytes.contains(QStringLiteral("\"2F\u301C3F\"").toUtf8()));
        QVERIFY(bytes.contains(QStringLiteral("\"総務部\"").toUtf8()));
        const QString csv = m_dir->filePath(QStringLiteral("export.csv"));
        QVERIFY(CsvExport(dm, TableId::PC).writeFile(csv).ok);
        QVERIFY(readAll(csv).startsWith("\xEF\xBB\xBFKey,"));

        dm.exec(QStringLiteral("DELETE FROM PC WHERE Key = 'PC02'"));
        const TableDump::RestoreResult restored = TableDump::restore(dm, TableId::PC, dump);
        QVERIFY2(restored.ok, qPrintable(restored.error));
        QCOMPARE(tableRows(dm, TableId::PC), before);
    }

    // A restore that would leave less than half of the rows (or none) is
    // refused unless allowed; one that would replace a PC that another
    // copy has open is refused; either leaves the table as it was.
    void restoreRefusesShrinkingAndClaimedPcs_data() { TestStore::addEngineRows(); }
    void restoreRefusesShrinkingAndClaimedPcs()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm, other;
        openCheckedStore(dm, store.settings());
        openCheckedStore(other, store.settings());
        for (const char *key : {"PC01", "PC02", "PC03"})
            insert(dm, TableId::PC, {{"Key", key}});
        const QString full = m_dir->filePath(QStringLiteral("full.csv"));
        QVERIFY(TableDump::write(dm, TableId::PC, full).ok);
        const QList<QByteArray> lines = readAll(full).split('\n');
        const QString one = m_dir->filePath(QStringLiteral("one.csv"));
        writeBytes(one, lines[0] + '\n' + lines[1] + '\n');
        const QString none = m_dir->filePath(QStringLiteral("none.csv"));
        writeBytes(none, lines[0] + '\n');
        const Rows before = tableRows(dm, TableId::PC);

        for (const QString &path : {one, none}) {
            const TableDump::RestoreResult refused = TableDump::restore(dm, TableId::PC, path);
            QVERIFY(!refused.ok);
            QVERIFY(refused.shrinkRefused);
            QCOMPARE(refused.tableRows, 3);
            QCOMPARE(tableRows(dm, TableId::PC), before);
        }
        QVERIFY(TableDump::restore(dm, TableId::PC, one, TableDump::Shrink::Allow).ok);
        QCOMPARE(tableRows(dm, TableId::PC).size(), 1);
        QVERIFY(TableDump::restore(dm, TableId::PC, full).ok); // one row to three
        QCOMPARE(tableRows(dm, TableId::PC), before);

        PcClaim claim(other);
        claim.take(QStringLiteral("PC02"));
        dm.setLockWait(200);
        const TableDump::RestoreResult claimed = TableDump::restore(dm, TableId::PC, full);
        QVERIFY(!claimed.ok);
        QCOMPARE(claimed.error, PcClaims::claimedText(QStringLiteral("PC02")));
        QVERIFY(!dm.inTransaction());
        claim.release();
        QVERIFY(TableDump::restore(dm, TableId::PC, full).ok);
    }

    // The first fault of a dump, by line and column.
    void readerNamesTheFault_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("error");
        const QByteArray good
            = sjis(QStringLiteral("\"ｵﾘｯｸｽ\",\"L-1\",\"2005/04/30\",2005,4,10000,500,0,\"2005/04/"
                                  "01 02:30:00.000 午後\"\r\n"));
        const auto row = [](const QString &text) { return Cp932::encode(text) + "\r\n"; };
        QTest::newRow("empty file") << QByteArray() << "1 行目: ファイルが空です";
        QTest::newRow("blank lines only") << QByteArray("\r\n\r\n") << "1 行目: ファイルが空です";
        QTest::newRow("missing column")
            << QByteArray("lease,lease_No,SiharaiYMD,SiharaiY,SiharaiM,kingaku,zei,UpdateTime\r\n")
            << "1 行目: 列 hosyuryo がありません";
        QTest::newRow("extra column") << LeaseHeader.chopped(2) + ",Extra\r\n" + good
                                      << "1 行目 10 列目 (Extra): テーブル LeaseMesai にない列です";
        QTest::newRow("extra field") << LeaseHeader + good.chopped(2) + ",1\r\n"
                                     << "2 行目: 項目の数が 10 です (見出しは 9 項目)";
        QTest::newRow("missing field")
            << LeaseHeader + row(QStringLiteral("ｵﾘｯｸｽ,L-1,2005/04/30,2005,4,10000,500,0"))
            << "2 行目: 項目の数が 8 です (見出しは 9 項目)";
        QTest::newRow("wrong date")
            << LeaseHeader + row(QStringLiteral("ｵﾘｯｸｽ,L-1,2005/02/30,2005,2,1,1,1,"))
            << "2 行目 3 列目 (SiharaiYMD): 日付 (yyyy/mm/dd) ではありません: 2005/02/30";
        QTest::newRow("wrong time")
            << LeaseHeader
                + row(QStringLiteral("ｵﾘｯｸｽ,L-1,2005/02/28,2005,2,1,1,1,2005/04/01 13:30:00 午後"))
            << "2 行目 9 列目 (UpdateTime): 日時 (yyyy/mm/dd hh:mm:ss) ではありません: 2005/04/01 "
               "13:30:00 午後";
        QTest::newRow("number too large")
            << LeaseHeader + row(QStringLiteral("ｵﾘｯｸｽ,L-1,2005/02/28,2005,2,2147483648,1,1,"))
            << "2 行目 6 列目 (kingaku): 整数の範囲 (-2147483648～2147483647) を超えています: "
               "2147483648";
        QTest::newRow("no number")
            << LeaseHeader + row(QStringLiteral("ｵﾘｯｸｽ,L-1,2005/02/28,2005,2,1,5OO,1,"))
            << "2 行目 7 列目 (zei): 整数ではありません: 5OO";
        QTest::newRow("text too long") << LeaseHeader
                + row(QStringLiteral("ｵﾘｯｸｽ,契約番号が長すぎる例です１,2005/02/28,,,,,,"))
                                       << "2 行目 2 列目 (lease_No): 20 バイトを超えています";
        QTest::newRow("no key") << LeaseHeader + row(QStringLiteral(",L-1,2005/02/28,,,,,,"))
                                << "2 行目 1 列目 (lease): 値がありません";
        QTest::newRow("duplicate key")
            << LeaseHeader + good + row(QStringLiteral("ｵﾘｯｸｽ,L-1,2005/4/30,,,,,,"))
            << "3 行目 3 列目 (SiharaiYMD): キー ｵﾘｯｸｽ, L-1, 2005/04/30 が 2 行目と重複しています";
        QTest::newRow("line after a line break in a value")
            << LeaseHeader + row(QStringLiteral("ｵﾘｯｸｽ,\"L\r\n1\",2005/13/01,,,,,,"))
            << "3 行目 3 列目 (SiharaiYMD): 日付 (yyyy/mm/dd) ではありません: 2005/13/01";
        QTest::newRow("unclosed quote")
            << LeaseHeader + good + row(QStringLiteral("ｵﾘｯｸｽ,\"L-2,2005/04/30,,,,,,"))
            << "3 行目: 引用符が閉じていません";
        QTest::newRow("UTF-8") << LeaseHeader
                + QStringLiteral("ｵﾘｯｸｽ,L-1,2005/04/30,,,,,,\r\n").toUtf8()
                               << "2 行目: 文字コードが UTF-8 (BOM なし) です。Shift-JIS (CP932) "
                                  "か BOM 付きの UTF-8 で書かれたファイルを指定してください";
        QTest::newRow("UTF-8 with BOM, a byte no UTF-8")
            << "\xEF\xBB\xBF" + LeaseHeader + sjis(QStringLiteral("ｵﾘｯｸｽ,L-1,2005/04/30,,,,,,"))
            << "2 行目: UTF-8 として読めない文字があります";
        QTest::newRow("UTF-16") << QByteArray("\xFF\xFE"
                                              "l\0e\0",
                                              6)
                                << "1 行目: Shift-JIS (CP932) のテキストではありません (UTF-16)";
        QTest::newRow("no CP932") << LeaseHeader + good
                + QByteArray("\x81\x20,L-2,2005/04/30,,,,,,\r\n")
                                  << "3 行目: Shift-JIS (CP932) のテキストではありません";
    }
    void readerNamesTheFault()
    {
        QFETCH(QByteArray, file);
        QFETCH(QString, error);
        DumpReader reader(Schema::table(TableId::LeaseMesai), catalogColumns(TableId::LeaseMesai));
        QVERIFY(!reader.read(file, [](const QVariantList &, int, QString &) { return true; }));
        QCOMPARE(reader.error().text(), error);
    }

    // Dumps that other writers make: texts without quotes, LF line ends,
    // "AM"/"PM" or a 24-hour clock, the columns in another order and case.
    void readerTakesOtherWritings_data()
    {
        QTest::addColumn<QByteArray>("file");
        QTest::newRow("as dumped") << LeaseHeader
                + sjis(QStringLiteral(
                    "\"ｵﾘｯｸｽ\",\"L,\"\"1\"\"\",\"2005/04/30\",2005,4,10000,-5,,\"2005/04/01 "
                    "02:30:00.000 午後\"\r\n"));
        QTest::newRow("bare, LF, PM") << LeaseHeader
                + sjis(QStringLiteral("\r\nｵﾘｯｸｽ,\"L,\"\"1\"\"\",2005/4/30,2005,4,10000, -5 "
                                      ",,2005/4/1 2:30:00.000 pm\n\n"));
        QTest::newRow("24 hours, other order") << sjis(QStringLiteral(
            "LEASE_NO,lease,SiharaiYMD,SiharaiY,SiharaiM,kingaku,zei,hosyuryo,UPDATETIME\r\n"
            "\"L,\"\"1\"\"\",ｵﾘｯｸｽ,2005/04/30,2005,4,10000,-5,\"\",2005/04/01 14:30"));
    }
    void readerTakesOtherWritings()
    {
        QFETCH(QByteArray, file);
        DumpReader reader(Schema::table(TableId::LeaseMesai), catalogColumns(TableId::LeaseMesai));
        Rows rows;
        const bool read = reader.read(file, [&](const QVariantList &row, int, QString &) {
            rows << row;
            return true;
        });
        QVERIFY2(read, qPrintable(reader.error().text()));
        const Rows expected {{QStringLiteral("ｵﾘｯｸｽ"), QStringLiteral("L,\"1\""),
                              QDate(2005, 4, 30), 2005, 4, 10000, -5, QVariant(),
                              at(2005, 4, 1, 14, 30, 0)}};
        QCOMPARE(rows, expected);
    }

    // A restore that fails, wherever in the file, leaves the table as it was.
    void failedRestoreLeavesTheTable_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QByteArray>("tail");
        QTest::addColumn<QString>("error");
        for (int engine : {int(TestStore::Kind::SQLite), int(TestStore::Kind::PostgreSQL)}) {
            const QString name = engine == int(TestStore::Kind::SQLite)
                ? QStringLiteral("sqlite")
                : QStringLiteral("postgresql");
            QTest::newRow(qPrintable(name + QStringLiteral(" bad date after good rows")))
                << engine << QByteArray("\"PC09\",2005/13/01")
                << "4 行目 2 列目 (DonyuYMD): 日付 "
                   "(yyyy/mm/dd) ではありません: 2005/13/01";
            QTest::newRow(qPrintable(name + QStringLiteral(" duplicate key")))
                << engine << QByteArray("\"PC01\",")
                << "4 行目 1 列目 (Key): キー PC01 が 2 行目と重複しています";
            QTest::newRow(qPrintable(name + QStringLiteral(" empty file")))
                << engine << QByteArray("-") << "1 行目: ファイルが空です";
        }
    }
    void failedRestoreLeavesTheTable()
    {
        QFETCH(int, engine);
        QFETCH(QByteArray, tail);
        QFETCH(QString, error);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insert(dm, TableId::PC, {{"Key", "OLD1"}, {"Bu", QStringLiteral("総務部")}});
        insert(dm, TableId::PC, {{"Key", "OLD2"}});
        const Rows before = tableRows(dm, TableId::PC);

        // Two good rows, then the tail's two first columns on line 4.
        QByteArray file;
        if (tail != "-") {
            QStringList names;
            for (const CsvExport::Column &c : CsvExport(dm, TableId::PC).columns())
                names << c.name;
            // The header with DonyuYMD moved to the second place.
            names.removeOne(QStringLiteral("DonyuYMD"));
            names.insert(1, QStringLiteral("DonyuYMD"));
            const QByteArray rest = QByteArray(names.size() - 2, ',');
            file = Cp932::encode(names.join(u',')) + "\r\n\"PC01\",2005/12/10" + rest
                + "\r\n\"PC02\"," + rest + "\r\n" + tail + rest + "\r\n";
        }
        const QString path = m_dir->filePath(QStringLiteral("bad.csv"));
        writeBytes(path, file);
        const TableDump::RestoreResult result = TableDump::restore(dm, TableId::PC, path);
        QVERIFY(!result.ok);
        QCOMPARE(result.error, error);
        QCOMPARE(tableRows(dm, TableId::PC), before);
        QVERIFY(!dm.inTransaction());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TstTableDump)
#include "tst_tabledump.moc"
