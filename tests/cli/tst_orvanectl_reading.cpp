// orvanectl's reading commands write nothing: the store reads the same
// before and after (a back-fill the table check would run stays undone),
// another copy's write transaction does not hold them up, and a folder or
// database without a store is said so and left as it is. A query on
// PostgreSQL cannot write through dblink or lo_export.

#include "CtlTestSupport.h"
#include "SampleGenerator.h"
#include "TestStores.h"
#include "store/Schema.h"
#include "store/UDMdata.h"
#include "store/UserStatement.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace {

// Every table's rows in key order, and the tables the store has.
QByteArray contents(const StoreSettings &settings)
{
    TDMdata dm;
    dm.setSettings(settings);
    dm.setAccess(StoreAccess::Reads);
    dm.open();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    QStringList tables = dm.database().tables();
    for (QString &t : tables)
        t = t.toLower();
    tables.sort();
    hash.addData(tables.join(u',').toUtf8());
    for (const TableDef &t : Schema::tables()) {
        QSqlQuery q = dm.exec(QStringLiteral("SELECT * FROM %1 ORDER BY %2")
                                  .arg(t.name, t.primaryKey.join(QStringLiteral(", "))));
        while (q.next()) {
            for (int i = 0; i < q.record().count(); ++i)
                hash.addData(q.value(i).toString().toUtf8() + '\t');
        }
    }
    return hash.result();
}

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A connection as the test server's superuser to the store's database.
QSqlDatabase admin(const StoreSettings &settings)
{
    const QString name = QStringLiteral("admin-") + settings.database;
    if (!QSqlDatabase::contains(name)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
        db.setHostName(settings.host);
        db.setPort(settings.port);
        db.setDatabaseName(settings.database);
        db.setUserName(settings.user);
        db.open();
    }
    return QSqlDatabase::database(name);
}

void adminExec(const StoreSettings &settings, const QString &sql)
{
    QSqlQuery q(admin(settings));
    QVERIFY2(q.exec(sql), qPrintable(q.lastError().text()));
}

} // namespace

class TstOrvaneCtlReading : public QObject
{
    Q_OBJECT

private slots:
    void readingCommandsWriteNothing_data() { TestStore::addEngineRows(); }
    void readingCommandsWriteNothing()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        QVERIFY(SampleGenerator(SampleGenerator::Options()).writeFolder(collector.path(), 0, 2)
                > 0);
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"import", collector.path()}).exit, 0);

        TDMdata other;
        openCheckedStore(other, store.settings());
        // A PC whose IP16 the check of a writing start would fill in.
        other.exec(QStringLiteral("UPDATE PC SET IP16 = NULL WHERE Key = 'PC00001'"));
        const QByteArray before = contents(store.settings());
        const QString file = store.folder() + QStringLiteral("/Orvane.db");
        const QByteArray bytesBefore = fileBytes(file);

        // Another copy holds the write lock (and the table check's) all along.
        other.startTransaction();
        if (other.engine() == Engine::PostgreSQL)
            other.exec(QStringLiteral("SELECT pg_advisory_xact_lock(7206160134)"));
        other.exec(QStringLiteral("UPDATE PC SET Bu = 'x'"));
        const QString out = program.filePath(QStringLiteral("out"));
        const QList<QStringList> commands {
            {"sql", "SELECT COUNT(*) FROM PC"},
            {"dump", out},
            {"leases"},
            {"export", "pc", out},
            {"sheet", "--pdf", out, "PC00001"},
            {"report", "bu-ka", "--pdf", out},
        };
        for (const QStringList &command : commands) {
            const Outcome o = runCtl(program.path(), where + command);
            QCOMPARE(o.exit, 0);
            // Nothing but the output.
            QVERIFY2(o.err.isEmpty(), qPrintable(command.first() + QStringLiteral(": ") + o.err));
        }
        other.rollback();

        QCOMPARE(contents(store.settings()), before);
        if (store.kind() == TestStore::Kind::SQLite)
            QCOMPARE(fileBytes(file), bytesBefore);
    }

    // A reading command on a folder without a store, a folder that is not
    // there, or a database without tables: exit 2 with the reason, and
    // nothing made.
    void withoutStoreNothingIsMade_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("place");
        const int sqlite = int(TestStore::Kind::SQLite);
        QTest::newRow("empty folder") << sqlite << "empty";
        QTest::newRow("missing folder") << sqlite << "missing";
        QTest::newRow("default folder beside the program") << sqlite << "default";
        QTest::newRow("database without tables") << int(TestStore::Kind::PostgreSQL) << "";
    }
    void withoutStoreNothingIsMade()
    {
        QFETCH(int, engine);
        QFETCH(QString, place);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program;
        QStringList where = storeArguments(store, program.path());
        const QString missing = store.folder() + QStringLiteral("/new");
        if (place == QLatin1String("missing"))
            where = QStringList {"--data", missing};
        else if (place == QLatin1String("default"))
            where.clear();
        const QString out = program.filePath(QStringLiteral("out"));
        for (const QStringList &command :
             {QStringList {"sql", "SELECT 1"}, QStringList {"dump", out}, QStringList {"leases"},
              QStringList {"export", "pc", out}, QStringList {"sheet", "--pdf", out},
              QStringList {"report", "bu-ka", "--pdf", out}}) {
            const Outcome o = runCtl(program.path(), where + command);
            QCOMPARE(o.exit, 2);
            QVERIFY2(o.err.contains(QStringLiteral("データベース")), qPrintable(o.err));
        }
        QVERIFY(!QFile::exists(out));
        if (store.kind() == TestStore::Kind::PostgreSQL) {
            QVERIFY(admin(store.settings()).tables().isEmpty());
            return;
        }
        QVERIFY(QDir(store.folder()).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot));
        QVERIFY(!QFile::exists(program.filePath(QStringLiteral("PCDB"))));
    }

    // The engines stop reading a statement at a NUL: it is refused.
    void statementWithNulIsRefused_data() { TestStore::addEngineRows(); }
    void statementWithNulIsRefused()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program;
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"check"}).exit, 0);
        const Outcome o = runCtl(
            program.path(), where + QStringList {"sql", QString::fromUtf8("SELECT 1\0; x", 12)});
        QCOMPARE(o.exit, 1);
        QCOMPARE(o.out, QString());
        QVERIFY2(o.err.contains(UserStatement::nulText()), qPrintable(o.err));
    }

    // What passes a read-only transaction cannot pass the query's role: a
    // dblink connection of its own, a file written on the server, a change
    // of role inside the query.
    void postgresQueryCannotWrite_data()
    {
        QTest::addColumn<QStringList>("setup");
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("refusal");
        const QString dblink = "SELECT dblink_exec('host=HOST port=PORT dbname=DB user=USER', "
                               "'UPDATE pc SET bu = ''HACKED''')";
        const QStringList install {"CREATE EXTENSION dblink"};
        QTest::newRow("dblink, callable by everyone") << install << dblink << "dblink";
        // As the README says to set up a server that has dblink.
        QTest::newRow("dblink, callable by its owner only") << install
                + QStringList {"DO $$ DECLARE f regprocedure; BEGIN"
                               " FOR f IN SELECT objid::regprocedure FROM pg_depend"
                               " WHERE refobjid = (SELECT oid FROM pg_extension"
                               " WHERE extname = 'dblink') AND classid = 'pg_proc'::regclass"
                               " LOOP EXECUTE format('REVOKE EXECUTE ON FUNCTION %s FROM PUBLIC',"
                               " f); END LOOP; END $$"} << dblink
                                                            << "permission denied";
        QTest::newRow("lo_export") << QStringList() << "SELECT lo_export(OID, 'FILE')"
                                   << "permission denied";
        QTest::newRow("lo_export after leaving the role")
            << QStringList()
            << "SELECT set_config('role', 'none', true), "
               "query_to_xml('SELECT lo_export(OID, ''FILE'')', true, false, '')"
            << "role";
    }
    void postgresQueryCannotWrite()
    {
        QFETCH(QStringList, setup);
        QFETCH(QString, sql);
        QFETCH(QString, refusal);
        TestStore store(int(TestStore::Kind::PostgreSQL));
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program;
        // The server writes as its own user: a folder anyone may write to.
        QVERIFY(QFile::setPermissions(program.path(), QFileDevice::Permissions(0x7777)));
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"check"}).exit, 0);
        const StoreSettings s = store.settings();
        adminExec(s, QStringLiteral("INSERT INTO pc (key, bu) VALUES ('PC1', 'a')"));
        for (const QString &statement : setup)
            adminExec(s, statement);
        QSqlQuery object(admin(s));
        QVERIFY(object.exec(QStringLiteral("SELECT lo_from_bytea(0, 'secret')")) && object.next());
        const QString file = program.filePath(QStringLiteral("exported"));
        sql.replace("HOST", s.host)
            .replace("PORT", QString::number(s.port))
            .replace("DB", s.database)
            .replace("USER", s.user)
            .replace("OID", object.value(0).toString())
            .replace("FILE", file);

        const Outcome o = runCtl(program.path(), where + QStringList {"sql", sql});
        QCOMPARE(o.exit, 1);
        QVERIFY2(o.err.contains(refusal), qPrintable(o.err));
        QVERIFY(!QFile::exists(file));
        QSqlQuery bu(admin(s));
        QVERIFY(bu.exec(QStringLiteral("SELECT bu FROM pc")) && bu.next());
        QCOMPARE(bu.value(0).toString(), QStringLiteral("a"));
    }

    // An owner login that is no superuser, as the README sets one up: with
    // the right to create roles its queries run as the store's read-only
    // role; without it as the login, as long as the database has no dblink.
    void postgresOwnerLogin_data()
    {
        QTest::addColumn<bool>("mayCreateRoles");
        QTest::newRow("may create roles") << true;
        QTest::newRow("may not create roles") << false;
    }
    void postgresOwnerLogin()
    {
        QFETCH(bool, mayCreateRoles);
        TestStore store(int(TestStore::Kind::PostgreSQL));
        ORVANE_REQUIRE_STORE(store);
        const QString login
            = QStringLiteral("orvane_owner_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
        StoreSettings s = store.settings();
        adminExec(s,
                  QStringLiteral("CREATE ROLE %1 LOGIN %2")
                      .arg(login, mayCreateRoles ? "CREATEROLE" : "NOCREATEROLE"));
        adminExec(s, QStringLiteral("ALTER DATABASE %1 OWNER TO %2").arg(s.database, login));
        QTemporaryDir program;
        IniFile ini(program.filePath(QStringLiteral("login.INI")));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("type"), QStringLiteral("remote"));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("ip"), s.host);
        ini.writeInteger(QStringLiteral("DB"), QStringLiteral("port"), s.port);
        ini.writeString(QStringLiteral("DB"), QStringLiteral("name"), s.database);
        ini.writeString(QStringLiteral("DB"), QStringLiteral("user"), login);
        QVERIFY(ini.updateFile());
        const QStringList where {"--ini", ini.path()};
        QCOMPARE(runCtl(program.path(), where + QStringList {"check"}).exit, 0);

        const QStringList query {"sql", "SELECT current_user AS u, COUNT(*) AS n FROM PC"};
        Outcome o = runCtl(program.path(), where + query);
        QCOMPARE(o.exit, 0);
        const QString runsAs = mayCreateRoles ? "orvane_read_" + s.database : login;
        QCOMPARE(o.out, QStringLiteral("u\tn\n%1\t0\n").arg(runsAs));
        adminExec(s, QStringLiteral("CREATE EXTENSION dblink"));
        o = runCtl(program.path(), where + query);
        QCOMPARE(o.exit, 1);
        QVERIFY2(o.err.contains(QStringLiteral("dblink")), qPrintable(o.err));
    }
};

QTEST_MAIN(TstOrvaneCtlReading)
#include "tst_orvanectl_reading.moc"
