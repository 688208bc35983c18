#include "CtlTestSupport.h"
#include "SampleGenerator.h"
#include "TestStores.h"
#include "base/Cp932.h"
#include "base/IniFile.h"
#include "base/OrvaneVersion.h"
#include "cli/OrvaneCtl.h"
#include "store/ConnectionReason.h"
#include "store/PcClaims.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"
#include "store/UserStatement.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <atomic>
#include <chrono>
#include <sys/stat.h>
#include <thread>
#include <tuple>

namespace {

void writeFile(const QString &path, const QString &text)
{
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(Cp932::encode(text));
}

} // namespace

class TstOrvaneCtl : public QObject
{
    Q_OBJECT

private slots:
    void importThenQuery_data() { TestStore::addEngineRows(); }
    void importThenQuery()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        SampleGenerator::Options options;
        options.minApplications = 3;
        options.maxApplications = 5;
        SampleGenerator generator(options);
        QVERIFY(generator.writeFolder(collector.path(), 0, 4) > 0);
        const QStringList where = storeArguments(store, program.path());

        // Quiet when all went well; progress and counts with --verbose.
        Outcome o = runCtl(program.path(), where + QStringList {"import", collector.path()});
        QCOMPARE(o.exit, 0);
        QCOMPARE(o.err, QString());
        o = runCtl(program.path(), where + QStringList {"--verbose", "import", collector.path()});
        QCOMPARE(o.exit, 0);
        QVERIFY2(o.err.contains(QStringLiteral("(4/4) PC00004.csv 読込中")), qPrintable(o.err));
        QVERIFY(o.err.contains(QStringLiteral("取込 4 件")));

        o = runCtl(program.path(),
                   where + QStringList {"sql", "SELECT KEY, InvaroYMD FROM PC ORDER BY KEY"});
        QCOMPARE(o.exit, 0);
        const QStringList lines = o.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0].toLower(), QStringLiteral("key\tinvaroymd"));
        QCOMPARE(lines[1], QStringLiteral("PC00001\t2026-11-30"));

        // A file that fails is named, the others still count, exit 1.
        writeFile(collector.path() + QStringLiteral("/broken.csv"),
                  QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday\r\n"));
        o = runCtl(program.path(), where + QStringList {"import", collector.path()});
        QCOMPARE(o.exit, 1);
        QVERIFY(o.err.contains(QStringLiteral("broken.csvの処理中にエラーが発生しました")));
        QVERIFY(o.err.contains(QStringLiteral("取込 4 件")));
    }

    void sqlIsOneReadOnlySelect_data() { TestStore::addEngineRows(); }
    void sqlIsOneReadOnlySelect()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        SampleGenerator generator(SampleGenerator::Options {});
        QVERIFY(generator.writeFolder(collector.path(), 0, 1) > 0);
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"import", collector.path()}).exit, 0);

        for (const char *sql :
             {"DELETE FROM PC", "SELECT 1; DELETE FROM PC", "select 1;\nDELETE FROM PC;",
              "/* SELECT */ DELETE FROM PC", "WITH x AS (SELECT 1) DELETE FROM PC"}) {
            const Outcome o
                = runCtl(program.path(), where + QStringList {"sql", QLatin1String(sql)});
            QCOMPARE(o.exit, 1);
            QVERIFY2(o.err.contains(QStringLiteral("SQL文に誤りがあります")), sql);
        }
        // A SELECT that would take row locks is stopped by the read-only
        // run on PostgreSQL (and is no SQLite syntax).
        QCOMPARE(
            runCtl(program.path(), where + QStringList {"sql", "SELECT KEY FROM PC FOR UPDATE"})
                .exit,
            1);
        Outcome o
            = runCtl(program.path(), where + QStringList {"sql", "SELECT COUNT(*) AS n FROM PC; "});
        QCOMPARE(o.exit, 0);
        QCOMPARE(o.out, QStringLiteral("n\n1\n"));
        o = runCtl(program.path(), where + QStringList {"sql", "SELECT nosuchcolumn FROM PC"});
        QCOMPARE(o.exit, 1);
        QVERIFY(!o.err.isEmpty());
    }

    // Text after the first statement never runs, whatever quoting hides
    // it; a query can only read. Each row runs on both engines.
    void sqlAttacksRunNothingMore_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("sql");
        const QStringList attacks {
            "SELECT 1 FROM pc WHERE key = E'\\''; COMMIT; DELETE FROM appli; --'",
            "SELECT $a$'$a$; COMMIT; CREATE TABLE evil2(x int); --'",
            "SELECT E'\\''; COMMIT; COPY (SELECT 1) TO PROGRAM 'touch MARKER'; --'",
            "SELECT * FROM pragma_journal_mode('delete')",
            "SELECT load_extension('/nonexistent')",
            "SELECT fts3_tokenizer('simple')",
            "SELECT 1 FROM PC; DELETE FROM appli",
        };
        for (int e : {int(TestStore::Kind::SQLite), int(TestStore::Kind::PostgreSQL)}) {
            for (int i = 0; i < attacks.size(); ++i)
                QTest::addRow("%s %d", e ? "postgresql" : "sqlite", i) << e << attacks[i];
        }
    }
    void sqlAttacksRunNothingMore()
    {
        QFETCH(int, engine);
        QFETCH(QString, sql);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        SampleGenerator generator(SampleGenerator::Options {});
        QVERIFY(generator.writeFolder(collector.path(), 0, 1) > 0);
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"import", collector.path()}).exit, 0);
        const QString count = "SELECT COUNT(*) AS n FROM appli";
        const QString before = runCtl(program.path(), where + QStringList {"sql", count}).out;

        const QString marker = program.filePath("marker");
        sql.replace("MARKER", marker);
        // Refused; SQLite alone reads $a$ as a parameter and the rest as
        // its name, which is harmless.
        const Outcome o = runCtl(program.path(), where + QStringList {"sql", sql});
        if (!(engine == int(TestStore::Kind::SQLite) && sql.startsWith("SELECT $a$")))
            QCOMPARE(o.exit, 1);

        QCOMPARE(runCtl(program.path(), where + QStringList {"sql", count}).out, before);
        QVERIFY(!QFile::exists(marker));
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        QVERIFY(!dm.tableExists("evil2"));
        if (dm.engine() == Engine::SQLite) {
            QSqlQuery mode = dm.exec("PRAGMA journal_mode");
            QVERIFY(mode.next());
            QCOMPARE(mode.value(0).toString().toLower(), QStringLiteral("wal"));
        }
    }

    void sqlEndsAtItsTimeLimitAndTakesATrailingSemicolon_data() { TestStore::addEngineRows(); }
    void sqlEndsAtItsTimeLimitAndTakesATrailingSemicolon()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program;
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"check"}).exit, 0);
        Outcome o = runCtl(program.path(),
                           where + QStringList {"sql", "SELECT COUNT(*) AS n FROM PC; -- all"});
        QCOMPARE(o.exit, 0);
        QCOMPARE(o.out, QStringLiteral("n\n0\n"));

        // Rows of a cross join that would take hours.
        QString endless = "SELECT COUNT(*) FROM (SELECT 1 AS x UNION ALL SELECT 2) t0";
        for (int i = 1; i < 40; ++i)
            endless += QStringLiteral(", (SELECT 1 AS x UNION ALL SELECT 2) t%1").arg(i);
        o = runCtl(program.path(), where + QStringList {"sql", "--time-limit", "1", endless});
        QCOMPARE(o.exit, 1);
        QVERIFY2(o.err.contains(UserStatement::timeLimitText(1)), qPrintable(o.err));
    }

    // An import that meets another copy's lock on its PC waits as long as
    // --lock-wait says, instead of failing that file after 1.5 s.
    void importWaitsForLocksAsLongAsAsked_data() { TestStore::addEngineRows(); }
    void importWaitsForLocksAsLongAsAsked()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        SampleGenerator generator(SampleGenerator::Options {});
        QVERIFY(generator.writeFolder(collector.path(), 0, 1) > 0);
        const QStringList where = storeArguments(store, program.path());
        const QStringList import {"import", collector.path()};
        QCOMPARE(runCtl(program.path(), where + import).exit, 0);

        for (const bool wait : {false, true}) {
            // Other values, so that the import must write the locked row.
            SampleGenerator::Options other;
            other.seed = wait ? 3 : 2;
            QVERIFY(SampleGenerator(other).writeFolder(collector.path(), 0, 1) > 0);
            std::atomic<bool> locked {false};
            std::thread holder([&] {
                TDMdata dm;
                openCheckedStore(dm, store.settings());
                dm.startTransaction();
                dm.exec(QStringLiteral("UPDATE PC SET Bu = 'x'"));
                locked = true;
                std::this_thread::sleep_for(std::chrono::milliseconds(2500));
                dm.commit();
            });
            while (!locked)
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            const QStringList waitArgs = wait ? QStringList {"--lock-wait", "20"} : QStringList();
            const Outcome o
                = runCtl(program.path(), where + import.mid(0, 1) + waitArgs + import.mid(1));
            holder.join();
            // Without the wait the lock error ends it (in the table check on
            // SQLite, whose lock is store-wide).
            QVERIFY2(wait ? o.exit == 0 : o.exit != 0, qPrintable(o.err));
        }
    }

    // The server restarts while the import waits in a file (for a PC that
    // another copy holds, whose claim goes with the restart): the import
    // reconnects, imports that file again and goes on.
    void importSurvivesAServerRestart()
    {
        if (!TestStore::postgresAvailable()) {
            if (qEnvironmentVariableIntValue("ORVANE_TEST_PG_REQUIRED"))
                QFAIL("no PostgreSQL server binaries for a server of the test's own");
            QSKIP("no PostgreSQL test server (ORVANE_TEST_PG_HOST unset)");
        }
        QTemporaryDir program, collector, scratch;
        // The server runs as another user when the test runs as root.
        QFile::setPermissions(scratch.path(),
                              QFile::permissions(scratch.path()) | QFile::ReadOther
                                  | QFile::ExeOther);
        const QString script = QStringLiteral(ORVANE_PG_SERVER_SCRIPT);
        const QString serverDir = scratch.filePath("pg");
        int port = qEnvironmentVariableIntValue("ORVANE_TEST_PG_PORT") + 100;
        while (ConnectionReason::portAnswers(QStringLiteral("127.0.0.1"), port, 200))
            ++port;
        QCOMPARE(QProcess::execute(script, {"start", serverDir, QString::number(port)}), 0);
        const auto stopServer = qScopeGuard([&] {
            QProcess::execute(script, {"stop", serverDir});
        });

        StoreSettings settings = TestStore::postgresServer("postgres");
        settings.host = QStringLiteral("127.0.0.1");
        settings.port = port;
        TDMdata server;
        server.setSettings(settings);
        server.open();
        server.exec("CREATE DATABASE ledger");
        settings.database = "ledger";
        TDMdata holder;
        openCheckedStore(holder, settings);
        SampleGenerator generator(SampleGenerator::Options {});
        QVERIFY(generator.writeFolder(collector.path(), 0, 3) > 0);
        PcClaim claim(holder);
        claim.take(generator.key(1));

        IniFile ini(program.filePath("Orvane.INI"));
        ini.writeString("DB", "type", "remote");
        ini.writeString("DB", "ip", settings.host);
        ini.writeInteger("DB", "port", port);
        ini.writeString("DB", "name", settings.database);
        ini.writeString("DB", "user", settings.user);
        QVERIFY(ini.updateFile());
        Outcome o;
        std::thread import([&] {
            o = runCtl(program.path(),
                       {"--verbose", "import", "--lock-wait", "20", collector.path()});
        });
        // Once the import waits for the claimed PC, the server restarts.
        bool waiting = false;
        for (int i = 0; i < 200 && !waiting; ++i) {
            QSqlQuery q = server.exec("SELECT count(*) FROM pg_locks "
                                      "WHERE locktype = 'advisory' AND NOT granted");
            waiting = q.next() && q.value(0).toInt() == 1;
            q.finish();
            if (!waiting)
                QThread::msleep(100);
        }
        const int restarted = QProcess::execute(script, {"restart", serverDir});
        import.join();
        QVERIFY(waiting);
        QCOMPARE(restarted, 0);
        QVERIFY2(o.exit == 0, qPrintable(o.err));
        QVERIFY(o.err.contains(QStringLiteral("取込 3 件、エラー 0 件")));

        TDMdata after;
        after.setSettings(settings);
        after.open();
        QSqlQuery q = after.exec("SELECT KEY FROM PC ORDER BY KEY");
        QStringList keys;
        while (q.next())
            keys << q.value(0).toString();
        QCOMPARE(keys, (QStringList {generator.key(0), generator.key(1), generator.key(2)}));
    }

    void unreadableImportFolderFails()
    {
        QTemporaryDir program, data;
        const QString file = program.filePath("file.csv");
        writeFile(file, "x");
        for (const QString &folder : {program.filePath("missing"), file}) {
            const Outcome o = runCtl(program.path(), {"--data", data.path(), "import", folder});
            QCOMPARE(o.exit, 1);
            QVERIFY2(o.err.contains(folder), qPrintable(o.err));
        }
    }

    void exportWritesTheTable_data() { TestStore::addEngineRows(); }
    void exportWritesTheTable()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        SampleGenerator generator(SampleGenerator::Options {});
        QVERIFY(generator.writeFolder(collector.path(), 0, 2) > 0);
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"import", collector.path()}).exit, 0);

        const QString file = program.filePath(QStringLiteral("pc.csv"));
        Outcome o = runCtl(program.path(), where + QStringList {"--verbose", "export", "PC", file});
        QCOMPARE(o.exit, 0);
        QVERIFY2(o.err.contains(QStringLiteral("2 件")), qPrintable(o.err));
        QFile f(file);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QByteArray bytes = f.readAll();
        QVERIFY(bytes.startsWith("Key,Win_Ver,Win_Type,"));
        QVERIFY(bytes.contains("\r\n\"PC00001\","));
        QVERIFY(bytes.contains("\r\n\"PC00002\","));
        QVERIFY(bytes.endsWith("\r\n"));

        for (const char *table : {"drive", "printer", "appli"}) {
            o = runCtl(program.path(),
                       where
                           + QStringList {"export", table, program.filePath(QLatin1String(table))});
            QCOMPARE(o.exit, 0);
            QVERIFY(QFileInfo(program.filePath(QLatin1String(table))).size() > 0);
        }

        // A file that cannot be written: exit 1 with the error.
        o = runCtl(
            program.path(),
            where + QStringList {"export", "pc", program.filePath(QStringLiteral("no/pc.csv"))});
        QCOMPARE(o.exit, 1);
        QVERIFY(o.err.contains(QStringLiteral("no/pc.csv")));
    }

    // The PC table dumped and restored; a faulty dump is refused with its
    // line and column and the table stays as it was.
    void dumpThenRestore_data() { TestStore::addEngineRows(); }
    void dumpThenRestore()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        SampleGenerator generator(SampleGenerator::Options {});
        QVERIFY(generator.writeFolder(collector.path(), 0, 2) > 0);
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"import", collector.path()}).exit, 0);

        const QString dump = program.filePath(QStringLiteral("pc.csv"));
        Outcome o = runCtl(program.path(), where + QStringList {"--verbose", "dump", dump});
        QCOMPARE(o.exit, 0);
        QVERIFY2(o.err.contains(QStringLiteral("2 件を出力しました")), qPrintable(o.err));

        // The first row again at the end: a duplicate key on line 4.
        QFile f(dump);
        QVERIFY(f.open(QIODevice::ReadOnly));
        const QList<QByteArray> lines = f.readAll().split('\n');
        const QString bad = program.filePath(QStringLiteral("bad.csv"));
        QFile b(bad);
        QVERIFY(b.open(QIODevice::WriteOnly));
        b.write(lines[0] + '\n' + lines[1] + '\n' + lines[2] + '\n' + lines[1] + '\n');
        b.close();
        o = runCtl(program.path(), where + QStringList {"restore", bad});
        QCOMPARE(o.exit, 1);
        QVERIFY2(o.err.contains(
                     QStringLiteral("4 行目 1 列目 (Key): キー PC00001 が 2 行目と重複しています")),
                 qPrintable(o.err));
        o = runCtl(program.path(), where + QStringList {"sql", "SELECT COUNT(*) FROM PC"});
        QCOMPARE(o.out.section(u'\n', 1, 1), QStringLiteral("2"));

        o = runCtl(program.path(), where + QStringList {"--verbose", "restore", dump});
        QCOMPARE(o.exit, 0);
        QVERIFY2(o.err.contains(QStringLiteral("2 件を復元しました")), qPrintable(o.err));
        // The same rows back: the history holds the import's two lines only.
        o = runCtl(program.path(), where + QStringList {"history"});
        QCOMPARE(o.out.count(u'\n'), 3);

        // A dump without rows empties the table only when that is asked for.
        const QString empty = program.filePath(QStringLiteral("empty.csv"));
        QFile e(empty);
        QVERIFY(e.open(QIODevice::WriteOnly));
        e.write(lines[0] + '\n');
        e.close();
        o = runCtl(program.path(), where + QStringList {"restore", empty});
        QCOMPARE(o.exit, 1);
        QVERIFY2(o.err.contains(QStringLiteral("--allow-shrink を指定してください")),
                 qPrintable(o.err));
        o = runCtl(program.path(), where + QStringList {"sql", "SELECT COUNT(*) FROM PC"});
        QCOMPARE(o.out.section(u'\n', 1, 1), QStringLiteral("2"));
        o = runCtl(program.path(),
                   where + QStringList {"--verbose", "restore", "--allow-shrink", empty});
        QCOMPARE(o.exit, 0);
        QVERIFY2(o.err.contains(QStringLiteral("0 件を復元しました")), qPrintable(o.err));
    }

    // restore reads regular files only: a device or a pipe is refused at
    // once (neither read endlessly nor waited on), a folder too.
    void restoreReadsOnlyRegularFiles_data()
    {
        QTest::addColumn<QString>("file"); // relative: made in the program folder
        QTest::addColumn<QString>("reason");
        QTest::newRow("device") << QStringLiteral("/dev/zero")
                                << QStringLiteral("通常のファイルではありません");
        QTest::newRow("named pipe")
            << QStringLiteral("fifo") << QStringLiteral("通常のファイルではありません");
        QTest::newRow("folder") << QStringLiteral("folder") << QStringLiteral("フォルダです");
    }
    void restoreReadsOnlyRegularFiles()
    {
        QFETCH(QString, file);
        QFETCH(QString, reason);
        QTemporaryDir program;
        QString path = file;
        if (file == QStringLiteral("fifo")) {
            path = program.filePath(file);
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        } else if (file == QStringLiteral("folder")) {
            path = program.filePath(file);
            QVERIFY(QDir(program.path()).mkdir(file));
        }
        const Outcome o = runCtl(program.path(), {QStringLiteral("restore"), path});
        QCOMPARE(o.exit, 1);
        QVERIFY2(o.err.contains(reason), qPrintable(o.err));
    }

    // The preview of an import writes nothing and prints its table; the
    // history is printed, filtered and pruned.
    void dryRunAndHistory_data() { TestStore::addEngineRows(); }
    void dryRunAndHistory()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        SampleGenerator::Options options;
        options.maxApplications = 60;
        QVERIFY(SampleGenerator(options).writeFolder(collector.path(), 0, 2) > 0);
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"import", collector.path()}).exit, 0);
        const QStringList history = where + QStringList {"history"};
        Outcome o = runCtl(program.path(), history);
        QCOMPARE(o.exit, 0);
        QStringList lines = o.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines[0], QStringLiteral("日時\t操作\tKey\tテーブル\t行\t項目\t変更前\t変更後"));
        QVERIFY2(lines[1].endsWith(QStringLiteral("\t取込\tPC00001\tPC\t\t\t\t追加")),
                 qPrintable(lines[1]));

        // The first PC's file with other values: the preview names its
        // changes and writes nothing.
        options.seed = 7;
        QVERIFY(SampleGenerator(options).writeFolder(collector.path(), 0, 1) > 0);
        o = runCtl(program.path(), where + QStringList {"import", "--dry-run", collector.path()});
        QCOMPARE(o.exit, 0);
        lines = o.out.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(lines.first(),
                 QStringLiteral("ファイル\tKey\tテーブル\t追加\t変更\t削除\t手入力"));
        QVERIFY(lines.last().startsWith(QStringLiteral("合計\t\t\t")));
        QVERIFY(lines.filter(QStringLiteral("PC00001.csv\tPC00001\tPC\t0\t1\t0\t0")).size() == 1);
        QVERIFY(lines.filter(QStringLiteral("PC00002")).isEmpty());
        QCOMPARE(runCtl(program.path(), history).out.count(u'\n'), 3);

        o = runCtl(program.path(), history + QStringList {"PC00002"});
        QCOMPARE(o.out.count(u'\n'), 2);
        const QString tomorrow
            = QDate::currentDate().addDays(1).toString(QStringLiteral("yyyy/MM/dd"));
        o = runCtl(program.path(), history + QStringList {"--since", tomorrow});
        QCOMPARE(o.out.count(u'\n'), 1);
        o = runCtl(program.path(), history + QStringList {"--prune-before", tomorrow});
        QCOMPARE(o.exit, 0);
        QVERIFY2(o.err.contains(QStringLiteral("2 件を削除しました")), qPrintable(o.err));
        QCOMPARE(runCtl(program.path(), history).out.count(u'\n'), 1);
        QCOMPARE(
            runCtl(program.path(), history + QStringList {"--prune-before", tomorrow, "PC00001"})
                .exit,
            2);
    }

    // A renamed PC: duplicates lists the pair; merge is refused while the
    // old one is claimed, then merges and says which value it kept.
    void duplicatesAndMerge_data() { TestStore::addEngineRows(); }
    void duplicatesAndMerge()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program;
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        RecordCursor pc(dm, TableId::PC);
        pc.open();
        for (const auto &[key, date, model] : {std::tuple {"NEW", QDate(2026, 2, 1), "新機種"},
                                               {"OLD", QDate(2025, 2, 1), "旧機種"}}) {
            pc.append();
            pc.setValue(QStringLiteral("Key"), QLatin1String(key));
            pc.setValue(QStringLiteral("Mac"), QStringLiteral("00-11-22-00-00-04"));
            pc.setValue(QStringLiteral("InvaroYMD"), date);
            pc.setValue(QStringLiteral("Kisyu"), QString::fromUtf8(model));
            pc.post();
        }
        const QStringList where = storeArguments(store, program.path());
        Outcome o = runCtl(program.path(), where + QStringList {"duplicates"});
        QCOMPARE(o.exit, 0);
        QCOMPARE(o.out,
                 QStringLiteral("Key1\tKey2\t点数\t根拠\nNEW\tOLD\t40\tMAC 00-11-22-00-00-04\n"));

        const QStringList merge = where + QStringList {"merge", "--into", "NEW", "OLD"};
        {
            PcClaim claim(dm);
            claim.take(QStringLiteral("OLD"));
            o = runCtl(program.path(), merge);
            QCOMPARE(o.exit, 1);
            QVERIFY2(o.err.contains(PcClaims::claimedText(QStringLiteral("OLD"))),
                     qPrintable(o.err));
        }
        o = runCtl(program.path(), merge);
        QCOMPARE(o.exit, 0);
        QCOMPARE(o.err, QString());
        QVERIFY2(o.out.startsWith(QStringLiteral("機種名: NEW の値「新機種」を残しました")),
                 qPrintable(o.out));
        QCOMPARE(runCtl(program.path(), where + QStringList {"duplicates"}).out.count(u'\n'), 1);
        QCOMPARE(runCtl(program.path(), merge).exit, 1); // OLD is gone
    }

    void exportUsage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no table") << QStringList {"export"};
        QTest::newRow("no file") << QStringList {"export", "pc"};
        QTest::newRow("unknown table") << QStringList {"export", "lease", "x.csv"};
        QTest::newRow("too many") << QStringList {"export", "pc", "a.csv", "b.csv"};
    }
    void exportUsage()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir program;
        const Outcome o = runCtl(program.path(), arguments);
        QCOMPARE(o.exit, 2);
        QVERIFY(o.err.contains(QStringLiteral("export TABLE FILE")));
        QVERIFY(!QFile::exists(program.filePath(QStringLiteral("x.csv"))));
    }

    void defaultStoreBesideTheProgram()
    {
        QTemporaryDir program;
        Outcome o = runCtl(program.path(), {QStringLiteral("check")});
        QCOMPARE(o.exit, 0);
        QCOMPARE(o.err, QString());
        o = runCtl(program.path(), {QStringLiteral("--verbose"), QStringLiteral("check")});
        QVERIFY(o.err.contains(QStringLiteral("ＰＣテーブルのチェック")));
        QVERIFY(QFile::exists(program.path() + QStringLiteral("/PCDB/Orvane.db")));
    }

    void usageAndConnectionErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("nothing") << QStringList {};
        QTest::newRow("unknown command") << QStringList {"export"};
        QTest::newRow("import without folder") << QStringList {"import"};
        QTest::newRow("sql without statement") << QStringList {"sql"};
        QTest::newRow("dump without file") << QStringList {"dump"};
        QTest::newRow("restore with two files") << QStringList {"restore", "a.csv", "b.csv"};
        QTest::newRow("merge without --into") << QStringList {"merge", "OLD"};
        QTest::newRow("merge without old key") << QStringList {"merge", "--into", "NEW"};
        QTest::newRow("unknown option") << QStringList {"--fast", "check"};
        QTest::newRow("lock wait beyond a day")
            << QStringList {"import", "--lock-wait", "3000000", "folder"};
        QTest::newRow("time limit beyond a day")
            << QStringList {"sql", "--time-limit", "86401", "SELECT 1"};
        QTest::newRow("missing data folder")
            << QStringList {"--data", "/nonexistent/orvane", "check"};
    }
    void usageAndConnectionErrors()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir program;
        const Outcome o = runCtl(program.path(), arguments);
        QCOMPARE(o.exit, 2);
        QCOMPARE(o.out, QString()); // a script reading stdout gets no usage text
        QVERIFY(!o.err.isEmpty());
    }

    // Asked for, the usage and the version are the output: stdout, exit 0.
    void helpAndVersion_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("expected");
        const QString usage = OrvaneCtl::usage();
        QTest::newRow("--help") << QStringList {"--help"} << usage;
        QTest::newRow("-h") << QStringList {"-h"} << usage;
        QTest::newRow("after a command") << QStringList {"import", "--help"} << usage;
        QTest::newRow("--version")
            << QStringList {"--version"} << QStringLiteral("orvanectl " ORVANE_VERSION "\n");
        QTest::newRow("--version after --ini") << QStringList {"--ini", "x.INI", "--version"}
                                               << QStringLiteral("orvanectl " ORVANE_VERSION "\n");
    }
    void helpAndVersion()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, expected);
        QTemporaryDir program;
        const Outcome o = runCtl(program.path(), arguments);
        QCOMPARE(o.exit, 0);
        QCOMPARE(o.out, expected);
        QCOMPARE(o.err, QString());
        QVERIFY(QDir(program.path()).isEmpty()); // no store, no settings file
    }

    void unreachableServer()
    {
        QTemporaryDir program;
        IniFile ini(program.path() + QStringLiteral("/Orvane.INI"));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("type"), QStringLiteral("remote"));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("ip"), QStringLiteral("127.0.0.1"));
        ini.writeInteger(QStringLiteral("DB"), QStringLiteral("port"), 1);
        ini.writeString(QStringLiteral("DB"), QStringLiteral("user"), QStringLiteral("x"));
        QVERIFY(ini.updateFile());
        const Outcome o = runCtl(program.path(), {QStringLiteral("check")});
        QCOMPARE(o.exit, 2);
        QVERIFY(o.err.contains(QStringLiteral("データベースへの接続に失敗しました")));
    }
};

QTEST_GUILESS_MAIN(TstOrvaneCtl)
#include "tst_orvanectl.moc"
