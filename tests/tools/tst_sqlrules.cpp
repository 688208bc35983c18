// What the SQL window does with a statement, and how its grid shows values.

#include "store/Schema.h"
#include "store/UserStatement.h"
#include "tools/SqlResultModel.h"
#include "tools/SqlStatementRules.h"

#include <QAbstractItemModelTester>
#include <QDate>
#include <QDateTime>
#include <QSignalSpy>
#include <QTest>

using SqlStatementRules::Action;

Q_DECLARE_METATYPE(SqlStatementRules::Action)

class TstSqlRules : public QObject
{
    Q_OBJECT

private slots:
    void decide_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<Action>("action");
        QTest::addColumn<QString>("message");
        const QString create = QStringLiteral("CREATE操作は禁止です");
        const QString alter = QStringLiteral("ALTER操作は禁止です");
        const QString drop = QStringLiteral("DROP操作は禁止です");
        const QString error = QStringLiteral("SQL文に誤りがあります");
        const QString none;

        // The table of rules, in order.
        QTest::newRow("create") << "CREATE TABLE X (A INTEGER)" << Action::Refuse << create;
        QTest::newRow("create mixed case")
            << "cReAtE table x (a integer)" << Action::Refuse << create;
        QTest::newRow("create index") << "  create index i on PC (Bu)" << Action::Refuse << create;
        QTest::newRow("alter") << "ALTER TABLE PC ADD X INTEGER" << Action::Refuse << alter;
        QTest::newRow("alter lower") << "alter table pc" << Action::Refuse << alter;
        QTest::newRow("drop") << "DROP TABLE PC" << Action::Refuse << drop;
        QTest::newRow("drops is a drop") << "DROPS" << Action::Refuse << drop;
        QTest::newRow("drop with second statement")
            << "drop table pc; select 1" << Action::Refuse << drop;
        QTest::newRow("select") << "SELECT * FROM PC" << Action::Query << none;
        QTest::newRow("select lower, two blanks") << "  select * from PC" << Action::Query << none;
        QTest::newRow("select after tab") << "\tSELECT 1" << Action::Query << none;
        QTest::newRow("select over lines")
            << "SELECT Key\nFROM PC\r\nWHERE Bu = 'x'" << Action::Query << none;
        QTest::newRow("select with trailing comment")
            << "SELECT 1 /* the rest */" << Action::Query << none;
        QTest::newRow("delete") << "DELETE FROM PC" << Action::Change << none;
        QTest::newRow("update lower") << "update pc set bu = 'x'" << Action::Change << none;
        QTest::newRow("insert") << " INSERT INTO PC (Key) VALUES ('a')" << Action::Change << none;
        QTest::newRow("other word") << "VACUUM" << Action::Refuse << error;
        QTest::newRow("pragma") << "PRAGMA query_only = OFF" << Action::Refuse << error;
        QTest::newRow("with") << "WITH x AS (SELECT 1) DELETE FROM PC" << Action::Refuse << error;
        QTest::newRow("replace") << "REPLACE INTO PC (Key) VALUES ('a')" << Action::Refuse << error;

        // Edge cases of the first line.
        QTest::newRow("no text") << "" << Action::Refuse << error;
        QTest::newRow("blanks only") << "   \n  " << Action::Refuse << error;
        QTest::newRow("empty first line") << "\nSELECT * FROM PC" << Action::Refuse << error;
        QTest::newRow("comment first") << "/* list */ SELECT * FROM PC" << Action::Refuse << error;
        QTest::newRow("line comment first")
            << "-- list\nSELECT * FROM PC" << Action::Refuse << error;
        QTest::newRow("full-width blank first") << "　SELECT 1" << Action::Refuse << error;
        QTest::newRow("short word") << "SEL" << Action::Refuse << error;

        // One statement per run.
        QTest::newRow("trailing semicolon") << "SELECT * FROM PC;  \n" << Action::Query << none;
        QTest::newRow("semicolons only") << "DELETE FROM PC;;" << Action::Change << none;
        QTest::newRow("semicolon in literal")
            << "SELECT * FROM PC WHERE Key = 'a;b'" << Action::Query << none;
        QTest::newRow("semicolon in quoted name") << "SELECT 1 AS \"a;b\"" << Action::Query << none;
        QTest::newRow("semicolon in comment")
            << "SELECT 1 /* ; DROP TABLE PC */" << Action::Query << none;
        QTest::newRow("semicolon in line comment")
            << "SELECT 1 -- ; DROP TABLE PC" << Action::Query << none;
        QTest::newRow("second statement") << "SELECT 1; DROP TABLE PC" << Action::Refuse << error;
        QTest::newRow("second statement on next line")
            << "select 1;\nDELETE FROM PC" << Action::Refuse << error;
        QTest::newRow("change then drop")
            << "DELETE FROM PC WHERE 1 = 0; DROP TABLE PC" << Action::Refuse << error;
        QTest::newRow("after comment")
            << "SELECT 1 /* x */; DROP TABLE PC" << Action::Refuse << error;
        QTest::newRow("after doubled quote")
            << "SELECT 'it''s'; DELETE FROM PC" << Action::Refuse << error;
        QTest::newRow("hidden behind comment")
            << "SELECT 1;/* */CREATE TABLE X (A INTEGER)" << Action::Refuse << error;
        // The engines stop reading at a NUL: all PCs would be deleted.
        QTest::newRow("NUL") << QString::fromUtf8("DELETE FROM PC\0 WHERE Key = 'a'", 30)
                             << Action::Refuse << UserStatement::nulText();
    }

    // PostgreSQL's own literal forms hide a semicolon; one after them does
    // not.
    void decideOnPostgres_data()
    {
        QTest::addColumn<QString>("statement");
        QTest::addColumn<Action>("action");
        QTest::newRow("dollar quoted") << "SELECT $$a;b$$" << Action::Query;
        QTest::newRow("tagged") << "SELECT $t$ $$; $t$" << Action::Query;
        QTest::newRow("escape string") << "SELECT E'\\';'" << Action::Query;
        QTest::newRow("after escape string") << "SELECT E'\\''; DELETE FROM PC" << Action::Refuse;
        QTest::newRow("nested comment") << "SELECT 1 /* /* */ ; */" << Action::Query;
    }
    void decideOnPostgres()
    {
        QFETCH(QString, statement);
        QFETCH(Action, action);
        QVERIFY(SqlStatementRules::decide(statement, SqlText::Syntax::PostgreSQL).action == action);
    }
    void decide()
    {
        QFETCH(QString, statement);
        QFETCH(Action, action);
        QFETCH(QString, message);
        const SqlStatementRules::Decision d = SqlStatementRules::decide(statement);
        QVERIFY2(d.action == action, qPrintable(QString::number(int(d.action))));
        QCOMPARE(d.message, message);
    }

    void texts()
    {
        QCOMPARE(SqlStatementRules::confirmationText(),
                 QStringLiteral("このSQLはﾃﾞｰﾀを変更する可能性があります\r\n続行しますか？"));
        QCOMPARE(SqlStatementRules::firstLine(" \t select 1 \r\n from x"),
                 QStringLiteral("select 1"));
        QCOMPARE(SqlStatementRules::firstLine(""), QString());
    }

    void cellText_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<QVariant>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("null") << "Bu" << QVariant() << "";
        QTest::newRow("text") << "Bu" << QVariant("総務") << "総務";
        QTest::newRow("integer") << "n" << QVariant(524288) << "524288";
        QTest::newRow("float") << "CPU_Clock" << QVariant(2400.5) << "2400.5";
        QTest::newRow("date") << "DonyuYMD" << QVariant(QDate(2004, 4, 1)) << "2004/04/01";
        QTest::newRow("timestamp") << "x" << QVariant(QDateTime(QDate(2005, 12, 10), QTime(14, 30)))
                                   << "2005/12/10 14:30:00";
        QTest::newRow("timestamp at midnight")
            << "x" << QVariant(QDateTime(QDate(2005, 12, 10), QTime(0, 0))) << "2005/12/10";
        QTest::newRow("stored date text") << "DONYUYMD" << QVariant("2004-04-01") << "2004/04/01";
        QTest::newRow("stored timestamp text")
            << "AddYMD" << QVariant("2005-12-10 14:30:00") << "2005/12/10 14:30:00";
        QTest::newRow("date text of another column")
            << "Bu" << QVariant("2004-04-01") << "2004-04-01";
        QTest::newRow("no date in a date column") << "AddYMD" << QVariant("soon") << "soon";
    }
    void cellText()
    {
        QFETCH(QString, column);
        QFETCH(QVariant, value);
        QFETCH(QString, text);
        QCOMPARE(SqlResultModel::text(column, value), text);
    }

    void resultModel()
    {
        SqlResultModel model;
        QAbstractItemModelTester tester(&model,
                                        QAbstractItemModelTester::FailureReportingMode::QtTest);
        QVERIFY(!model.hasResult());
        model.setColumns({"key", "mem_all"});
        QVERIFY(model.hasResult()); // a query without rows is still a result
        model.appendRows({{QVariant("PC01"), QVariant(1024)}});
        model.appendRows({{QVariant("PC02"), QVariant()}});
        QCOMPARE(model.rowCount(), 2);
        // More rows are asked for only while more may follow.
        QSignalSpy wanted(&model, &SqlResultModel::moreRowsWanted);
        model.fetchMore(QModelIndex());
        QCOMPARE(wanted.count(), 0);
        model.setMoreAvailable(true);
        model.fetchMore(QModelIndex());
        QCOMPARE(wanted.count(), 1);
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("mem_all"));
        QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("1024"));
        QCOMPARE(model.index(1, 1).data().toString(), QString());
        model.clear();
        QVERIFY(!model.hasResult());
        QCOMPARE(model.columnCount(), 0);
    }
};

QTEST_GUILESS_MAIN(TstSqlRules)
#include "tst_sqlrules.moc"
