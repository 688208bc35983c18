#include "store/Dialect.h"
#include "store/Schema.h"

#include <QTest>

class TstSchema : public QObject
{
    Q_OBJECT

private slots:
    void tablesInCheckOrder()
    {
        QStringList names;
        for (const TableDef &t : Schema::tables())
            names << t.name;
        QCOMPARE(names,
                 QStringList({"PC", "Appli", "Printer", "Drive", "Share", "LAN", "PMEMORY", "Lease",
                              "LeaseMesai", "LeasePC"}));
        QCOMPARE(Schema::table(TableId::PMEMORY).openName, QStringLiteral("Pmemory"));
        QCOMPARE(Schema::find(QStringLiteral("pmemory"))->id, TableId::PMEMORY);
    }

    void columnCounts_data()
    {
        QTest::addColumn<QString>("table");
        QTest::addColumn<int>("columns");
        QTest::addColumn<QString>("key");
        QTest::newRow("PC") << "PC" << 116 << "Key";
        QTest::newRow("Appli") << "Appli" << 11 << "Key,Appli";
        QTest::newRow("Printer") << "Printer" << 7 << "Key,Printer";
        QTest::newRow("Drive") << "Drive" << 12 << "Key,Drive";
        QTest::newRow("Share") << "Share" << 7 << "Key,SharedName";
        QTest::newRow("LAN") << "LAN" << 15 << "Key,Seq";
        QTest::newRow("PMEMORY") << "PMEMORY" << 9 << "Key,Seq";
        QTest::newRow("Lease") << "Lease" << 17 << "lease,lease_No";
        QTest::newRow("LeaseMesai") << "LeaseMesai" << 9 << "lease,lease_No,SiharaiYMD";
        QTest::newRow("LeasePC") << "LeasePC" << 4 << "lease,lease_No,PCKey";
    }
    void columnCounts()
    {
        QFETCH(QString, table);
        QFETCH(int, columns);
        QFETCH(QString, key);
        const TableDef *t = Schema::find(table);
        QVERIFY(t);
        QCOMPARE(t->columns.size(), columns);
        QCOMPARE(t->primaryKey.join(QLatin1Char(',')), key);
        for (const QString &k : t->primaryKey)
            QVERIFY2(t->column(k)->notNull, qPrintable(k));
    }

    // Spot checks of positions that later columns and the upgrades rely on.
    void pcColumnPositions()
    {
        const TableDef &pc = Schema::table(TableId::PC);
        QCOMPARE(pc.columns[30].name, QStringLiteral("CPU_FPU"));
        QCOMPARE(pc.columns[54].name, QStringLiteral("CPU_3DNowEx"));
        QCOMPARE(pc.columns[55].name, QStringLiteral("user"));
        QCOMPARE(pc.columns[73].name, QStringLiteral("UpdateYMD"));
        QCOMPARE(pc.columns[74].name, QStringLiteral("Win_ProductID"));
        QCOMPARE(pc.columns[92].name, QStringLiteral("IP16"));
        QCOMPARE(pc.columns[115].name, QStringLiteral("Memory_Slot"));
        QCOMPARE(pc.column(QStringLiteral("MEM_ALL"))->name, QStringLiteral("Mem_All"));
        QCOMPARE(pc.column(QStringLiteral("Biko"))->typeText(), QStringLiteral("BLOB(0, 1)"));
    }

    void createScriptAsWritten()
    {
        const QString lan = Schema::createScript(Schema::table(TableId::LAN));
        QVERIFY(lan.startsWith(QStringLiteral(
            "CREATE TABLE IF NOT EXISTS \"LAN\"\n(\n\"Key\" CHARACTER(32) NOT NULL,\n")));
        QVERIFY(lan.contains(QStringLiteral(
            "PRIMARY KEY (\"Key\", \"Seq\") COMPRESS NONE\nDESCRIPTION \"LAN adapter\"\n")));
        QVERIFY(lan.endsWith(QStringLiteral(
            "LANGUAGE \"ANSI Standard\" SORT \"Default Order\"\nUSER MAJOR VERSION 1\n);")));
        const QString printer = Schema::createScript(Schema::table(TableId::Printer));
        QVERIFY(printer.contains(QStringLiteral("\"Port\" CHARACTER(20),")));
        QVERIFY(!printer.contains(QStringLiteral("Ver116")));
        QVERIFY(!Schema::createScript(Schema::table(TableId::PC))
                     .contains(QStringLiteral("DESCRIPTION")));
    }

    void createStatementPerEngine()
    {
        const TableDef &pc = Schema::table(TableId::PC);
        const QString lite = Dialect(Engine::SQLite).createStatement(pc);
        const QString pg = Dialect(Engine::PostgreSQL).createStatement(pc);
        for (const QString &s : {lite, pg}) {
            QVERIFY(!s.contains(QStringLiteral("COMPRESS")));
            QVERIFY(!s.contains(QStringLiteral("LANGUAGE")));
            QVERIFY(!s.contains(QStringLiteral("USER MAJOR")));
            QVERIFY(s.contains(QStringLiteral("PRIMARY KEY (Key)")));
        }
        QVERIFY(lite.contains(QStringLiteral("\nuser CHARACTER(32),")));
        QVERIFY(pg.contains(QStringLiteral("\n\"user\" VARCHAR(32),")));
        QVERIFY(pg.contains(QStringLiteral("CPU_Clock DOUBLE PRECISION")));
        QVERIFY(pg.contains(QStringLiteral("Biko TEXT")));
    }

    void alterScriptAsWritten()
    {
        const TableDef &printer = Schema::table(TableId::Printer);
        const QString s = Dialect::alterScript(
            QStringLiteral("Printer"),
            {{AlterClause::Kind::Redefine, *printer.column(QStringLiteral("Port"))},
             {AlterClause::Kind::Add, *printer.column(QStringLiteral("Ver116"))}});
        QCOMPARE(s,
                 QStringLiteral("ALTER TABLE \"Printer\"\nREDEFINE \"Port\" CHARACTER(30),\nADD "
                                "\"Ver116\" CHARACTER(1)"));
    }

    void translateQuotesUserOnPostgres_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("column") << "SELECT KEY, User FROM PC"
                                << "SELECT KEY, \"user\" FROM PC";
        QTest::newRow("alias") << "SELECT P.user FROM PC P"
                               << "SELECT P.\"user\" FROM PC P";
        QTest::newRow("literal") << "SELECT 'user' FROM PC WHERE Bu = 'a''user'"
                                 << "SELECT 'user' FROM PC WHERE Bu = 'a''user'";
        QTest::newRow("parameter") << "UPDATE PC SET USER = :User"
                                   << "UPDATE PC SET \"user\" = :User";
        QTest::newRow("comment") << "SELECT /* user */ Riyosya FROM PC"
                                 << "SELECT /* user */ Riyosya FROM PC";
        QTest::newRow("longer words") << "SELECT users, user_x FROM t"
                                      << "SELECT users, user_x FROM t";
        QTest::newRow("quoted") << "SELECT \"user\" FROM PC"
                                << "SELECT \"user\" FROM PC";
        QTest::newRow("japanese") << "SELECT * FROM PC WHERE Bu = '総務部' AND user = 'x'"
                                  << "SELECT * FROM PC WHERE Bu = '総務部' AND \"user\" = 'x'";
        QTest::newRow("unterminated") << "SELECT 'user"
                                      << "SELECT 'user";
        QTest::newRow("line comment") << "SELECT Key -- user\nFROM PC WHERE user = ''"
                                      << "SELECT Key -- user\nFROM PC WHERE \"user\" = ''";
        QTest::newRow("between literals") << "SELECT 'a'||user||'b'"
                                          << "SELECT 'a'||\"user\"||'b'";
        // Every literal form of PostgreSQL stays as written.
        QTest::newRow("dollar quoted") << "SELECT $$user$$, user"
                                       << "SELECT $$user$$, \"user\"";
        QTest::newRow("tagged dollar quote") << "SELECT $a$ $$ user $$ $a$, user"
                                             << "SELECT $a$ $$ user $$ $a$, \"user\"";
        QTest::newRow("escape string") << "SELECT E'\\'', 'a user b'"
                                       << "SELECT E'\\'', 'a user b'";
        QTest::newRow("escape string, backslash last") << "SELECT e'x\\\\', user"
                                                       << "SELECT e'x\\\\', \"user\"";
        QTest::newRow("standard string, backslash last") << "SELECT 'x\\', user, 'y'"
                                                         << "SELECT 'x\\', \"user\", 'y'";
        QTest::newRow("nested comment") << "SELECT /* /* */ user */ Key"
                                        << "SELECT /* /* */ user */ Key";
        QTest::newRow("parameter, not a dollar quote") << "SELECT $1, user, $2"
                                                       << "SELECT $1, \"user\", $2";
        QTest::newRow("name with dollar") << "SELECT user$1, some$user$ FROM t"
                                          << "SELECT user$1, some$user$ FROM t";
        QTest::newRow("beside quoted names") << "SELECT \"x\"user, user\"y\" FROM t"
                                             << "SELECT \"x\" \"user\", \"user\" \"y\" FROM t";
    }
    void translateQuotesUserOnPostgres()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(Dialect(Engine::PostgreSQL).translate(sql), expected);
        QCOMPARE(Dialect(Engine::SQLite).translate(sql), sql);
    }

    // PostgreSQL sorts no value last when ascending; SQLite first.
    void sqliteNullOrderOnPostgres_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("expected");
        QTest::newRow("list") << "SELECT Key FROM PC\nORDER BY \nBu DESC\n, \nKa ASC"
                              << "SELECT Key FROM PC\nORDER BY \nBu DESC NULLS LAST\n, \n"
                                 "Ka ASC NULLS FIRST";
        QTest::newRow("no direction")
            << "SELECT a FROM t ORDER BY f(a, b), c"
            << "SELECT a FROM t ORDER BY f(a, b) NULLS FIRST, c NULLS FIRST";
        QTest::newRow("inner order and literal")
            << "SELECT (SELECT x FROM u ORDER BY x) FROM t WHERE s = 'ORDER BY' ORDER BY Kensu DESC"
            << "SELECT (SELECT x FROM u ORDER BY x) FROM t WHERE s = 'ORDER BY' ORDER BY Kensu "
               "DESC NULLS LAST";
        QTest::newRow("quoted name, comment")
            << "SELECT a FROM t ORDER BY t.\"Key\" -- key\n, b /* b */"
            << "SELECT a FROM t ORDER BY t.\"Key\" NULLS FIRST -- key\n, b NULLS FIRST /* b */";
        QTest::newRow("open literal") << "SELECT a FROM t ORDER BY a, $$"
                                      << "SELECT a FROM t ORDER BY a, $$";
        QTest::newRow("none") << "SELECT a FROM t"
                              << "SELECT a FROM t";
    }
    void sqliteNullOrderOnPostgres()
    {
        QFETCH(QString, sql);
        QFETCH(QString, expected);
        QCOMPARE(Dialect(Engine::PostgreSQL).withSqliteNullOrder(sql), expected);
        QCOMPARE(Dialect(Engine::SQLite).withSqliteNullOrder(sql), sql);
    }
};

QTEST_GUILESS_MAIN(TstSchema)
#include "tst_schema.moc"
