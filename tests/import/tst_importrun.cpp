#include "ImportTestSupport.h"
#include "TestStores.h"
#include "import/ImportRun.h"

#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

namespace {

class RecordingObserver : public ImportObserver
{
public:
    void progress(const QString &text) override { events << "progress:" + text; }
    void fileMessage(const QString &text) override { events << "message:" + text; }
    void fatal(const QString &text) override { events << "fatal:" + text; }

    QStringList messages(const char *kind) const
    {
        QStringList out;
        const QString prefix = QLatin1String(kind) + QLatin1Char(':');
        for (const QString &e : events) {
            if (e.startsWith(prefix))
                out << e.mid(prefix.size());
        }
        return out;
    }

    QStringList events;
};

ImportOptions wholeAddressSpace(bool appliDel = true)
{
    ImportOptions o;
    o.appliDel = appliDel;
    o.network1 = {"127.0.0.1", "0.0.0.0"};
    o.network2 = {"127.0.0.1", "0.0.0.0"};
    return o;
}

SampleFile goodFile(const QString &key, const QString &date = "2024/03/01")
{
    SampleFile f(key, date);
    f.add("Hard", "CPU", "Name", "Pentium 4")
        .add("Soft", "Application", "Word", "11.0")
        .add("Hard", "C:", "全容量", "40", "GB")
        .add("LAN", "Adapter", "IPアドレス", "192.168.0.2")
        .add("LAN", "Adapter2", "IPアドレス", "192.168.0.9");
    return f;
}

} // namespace

#define OPEN_RUN_STORE()                                                                           \
    QFETCH(int, engine);                                                                           \
    TestStore store(engine);                                                                       \
    ORVANE_REQUIRE_STORE(store);                                                                   \
    TDMdata dm;                                                                                    \
    openStore(dm, store.settings());                                                               \
    QTemporaryDir folder;                                                                          \
    RecordingObserver observer;                                                                    \
    ImportRun run(dm, observer)

class TstImportRun : public QObject
{
    Q_OBJECT

private slots:
    void separator()
    {
        QCOMPARE(ImportRun::withSeparator("/data/csv"), QString("/data/csv/"));
        QCOMPARE(ImportRun::withSeparator("/data/csv/"), QString("/data/csv/"));
        QCOMPARE(ImportRun::withSeparator(""), QString(""));
    }

    void folderRun_data() { TestStore::addEngineRows(); }
    void folderRun()
    {
        OPEN_RUN_STORE();
        goodFile("A").write(folder.filePath("a.csv"));
        SampleFile::writeFile(folder.filePath("b.CSV"), QByteArray());
        SampleFile::writeFile(folder.filePath("c.csv"), "\xef\xbb\xbf" + goodFile("C").bytes());
        SampleFile::writeFile(folder.filePath("d.csv"),
                              "Key,Group,Item,SubItem,Contents,Unit,Renewalday \r\n"
                              "D,Hard,CPU,Name,x,,2024/1/1\r\n");
        SampleFile("E").write(folder.filePath("e.csv")); // header only
        QByteArray withNul = SampleFile("F").add("Hard", "CPU", "Name", "P@IV").bytes();
        withNul.replace('@', '\0');
        SampleFile::writeFile(folder.filePath("f.csv"), withNul);
        SampleFile::writeFile(folder.filePath("g.csv"), QByteArray("\0Key", 4));
        SampleFile::writeFile(folder.filePath("h.txt"), goodFile("H").bytes());
        dm.exec(
            "INSERT INTO DRIVE (KEY, DRIVE, NYURYOKUKBN) VALUES ('X', 'ページファイル', '手入力')");

        const ImportSummary s = run.run(folder.path(), wholeAddressSpace());
        QCOMPARE(observer.messages("progress"),
                 QStringList({" (1/7) a.csv 読込中", " (2/7) b.CSV 読込中", " (3/7) c.csv 読込中",
                              " (4/7) d.csv 読込中", " (5/7) e.csv 読込中", " (6/7) f.csv 読込中",
                              " (7/7) g.csv 読込中", ""}));
        QCOMPARE(observer.messages("message"),
                 QStringList({"b.CSVは空でした", "e.csvの処理中にエラーが発生しました",
                              "g.csvは空でした"}));
        QVERIFY(observer.messages("fatal").isEmpty());
        QCOMPARE(s.files, 7);
        QCOMPARE(s.imported, 2);
        QCOMPARE(s.failed, 1);
        QCOMPARE(s.empty, 2);
        QCOMPARE(s.skipped, 2);
        QVERIFY(!s.stopped);
        QVERIFY(!dm.inTransaction());

        QCOMPARE(count(dm, "PC", "A"), 1);
        QCOMPARE(count(dm, "PC", "C") + count(dm, "PC", "D") + count(dm, "PC", "H"), 0);
        // The NUL byte became a blank, on disk too.
        QCOMPARE(row(dm, "PC", "F").value("cpu_name").toString(), QString("P IV"));
        QVERIFY(!hasNulByte(folder.filePath("f.csv")));
        // Page-file drive rows are removed, the network selection ran.
        QCOMPARE(scalar(dm, "SELECT COUNT(*) FROM DRIVE WHERE KEY = 'X'").toInt(), 0);
        QCOMPARE(row(dm, "PC", "A").value("ip").toString(), QString("192.168.0.9"));
    }

    void unreadableEntryStopsTheRun_data() { TestStore::addEngineRows(); }
    void unreadableEntryStopsTheRun()
    {
        OPEN_RUN_STORE();
        goodFile("A").write(folder.filePath("a.csv"));
        QVERIFY(QDir(folder.path()).mkdir("b.csv"));
        goodFile("C").write(folder.filePath("c.csv"));
        dm.exec("INSERT INTO DRIVE (KEY, DRIVE) VALUES ('X', 'ページファイル')");
        // A PC of no file, whose adapter the network selection would show.
        dm.exec("INSERT INTO PC (KEY, IP) VALUES ('Y', '10.0.0.1')");
        dm.exec("INSERT INTO LAN (KEY, SEQ, IP, IP16) VALUES ('Y', 1, '10.0.0.2', '0A000002')");

        const ImportSummary s = run.run(folder.path() + "/", wholeAddressSpace());
        QVERIFY(s.stopped);
        QCOMPARE(s.imported, 1);
        const QStringList fatal = observer.messages("fatal");
        QCOMPARE(fatal.size(), 1);
        QVERIFY2(fatal.first().contains("b.csv"), qPrintable(fatal.first()));
        QCOMPARE(observer.events.last(), QString("progress:"));
        QCOMPARE(count(dm, "PC", "A"), 1);
        QCOMPARE(count(dm, "PC", "C"), 0);
        // The store-wide steps did not run.
        QCOMPARE(scalar(dm, "SELECT COUNT(*) FROM DRIVE WHERE KEY = 'X'").toInt(), 1);
        QCOMPARE(row(dm, "PC", "Y").value("ip").toString(), QString("10.0.0.1"));
        // The PC of the file imported shows its chosen adapter already: it
        // is chosen as the file is imported, so that the file's history
        // names the fields as they end.
        QCOMPARE(row(dm, "PC", "A").value("ip").toString(), QString("192.168.0.9"));
        QVERIFY(!dm.inTransaction());
    }

    void cancelledRunStillCleansUp_data() { TestStore::addEngineRows(); }
    void cancelledRunStillCleansUp()
    {
        OPEN_RUN_STORE();
        dm.exec("INSERT INTO DRIVE (KEY, DRIVE) VALUES ('X', 'ページファイル')");
        dm.exec("INSERT INTO PC (KEY) VALUES ('X')");
        dm.exec("INSERT INTO LAN (KEY, SEQ, IP, IP16) VALUES ('X', 1, '10.0.0.1', '0A000001')");
        const ImportSummary s = run.run(QString(), wholeAddressSpace());
        QCOMPARE(s.files, 0);
        QVERIFY(!s.stopped);
        QCOMPARE(observer.events, QStringList({"progress:"}));
        QCOMPARE(scalar(dm, "SELECT COUNT(*) FROM DRIVE").toInt(), 0);
        QCOMPARE(row(dm, "PC", "X").value("ip").toString(), QString("10.0.0.1"));
    }

    void sameKeyTwice_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<bool>("appliDel");
        for (auto [name, e] : {std::pair {"sqlite", 0}, {"postgresql", 1}}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 AppliDel on").arg(name))) << e << true;
            QTest::newRow(qPrintable(QStringLiteral("%1 AppliDel off").arg(name))) << e << false;
        }
    }
    void sameKeyTwice()
    {
        OPEN_RUN_STORE();
        QFETCH(bool, appliDel);
        SampleFile("PC", "2024/01/01")
            .add("Hard", "CPU", "Name", "first")
            .add("Hard", "CPU", "ID", "id-1")
            .add("Soft", "Application", "Old", "1")
            .add("Hard", "C:", "全容量", "1", "KB")
            .write(folder.filePath("1.csv"));
        SampleFile("PC", "2023/01/01")
            .add("Hard", "CPU", "Name", "second")
            .add("Soft", "Application", "New", "1")
            .add("Hard", "D:", "全容量", "1", "KB")
            .write(folder.filePath("2.csv"));
        const ImportSummary s = run.run(folder.path(), wholeAddressSpace(appliDel));
        QCOMPARE(s.imported, 2);
        const QVariantMap pc = row(dm, "PC", "PC");
        QCOMPARE(pc.value("cpu_name").toString(), QString("second"));
        QCOMPARE(pc.value("cpu_id").toString(), QString("id-1"));
        QCOMPARE(asDate(pc.value("updateymd")), QDate(2024, 1, 1));
        QCOMPARE(asDate(pc.value("invaroymd")), QDate(2023, 1, 1));
        QCOMPARE(count(dm, "Drive", "PC"), 1);
        QCOMPARE(count(dm, "Appli", "PC"), appliDel ? 1 : 2);
    }

    // A record of a megabyte is read whole and its name cut to the width.
    void megabyteLine_data() { TestStore::addEngineRows(); }
    void megabyteLine()
    {
        OPEN_RUN_STORE();
        const QString name = QString(1 << 20, QChar(u'ア'));
        goodFile("LONG").add("Soft", "Application", name, "1.0").write(folder.filePath("long.csv"));
        const ImportSummary s = run.run(folder.path(), wholeAddressSpace());
        QCOMPARE(s.imported, 1);
        const QString stored
            = scalar(dm, "SELECT MAX(APPLI) FROM APPLI WHERE KEY = 'LONG'").toString();
        QCOMPARE(stored, name.left(64)); // 128 bytes of double-byte characters
    }

    // Damaged files (cut short, bytes changed, garbage) either import or
    // fail cleanly, and the files of other PCs are imported undisturbed.
    void damagedFiles_data() { TestStore::addEngineRows(); }
    void damagedFiles()
    {
        OPEN_RUN_STORE();
        const QByteArray good = goodFile("RND")
                                    .add("Hard", "Printer", "LBP", "LPT1:")
                                    .add("Shared", "Resource", "DOCS", "C:\\docs")
                                    .add("WMI", "PhysicalMemory1", "Capacity", "1", "GB")
                                    .add("Hard", "メモリ", "全容量", "512", "MB")
                                    .add("Soft", "Windows", "Version", "Windows XP (5.1 SP2)")
                                    .bytes();
        const QByteArray specials("\0\r\n,\"\t \x81\x82\xff/", 12);
        QRandomGenerator rng(77);
        for (int i = 0; i < 60; ++i) {
            QByteArray bytes = good;
            switch (i % 3) {
            case 0:
                bytes.truncate(rng.bounded(bytes.size()));
                break;
            case 1:
                for (int k = 0; k < 1 + rng.bounded(6); ++k)
                    bytes[rng.bounded(bytes.size())] = specials.at(rng.bounded(specials.size()));
                break;
            default:
                bytes = headerLine();
                for (int k = rng.bounded(300); k > 0; --k)
                    bytes += rng.bounded(4) == 0 ? specials.at(rng.bounded(specials.size()))
                                                 : char(rng.bounded(256));
                break;
            }
            SampleFile::writeFile(folder.filePath(QString("r%1.csv").arg(i, 2, 10, QChar('0'))),
                                  bytes);
        }
        goodFile("GOOD1").write(folder.filePath("m1.csv"));
        goodFile("GOOD2").write(folder.filePath("z2.csv"));

        QElapsedTimer timer;
        timer.start();
        const ImportSummary s = run.run(folder.path(), wholeAddressSpace());
        QVERIFY(!s.stopped);
        QVERIFY(observer.messages("fatal").isEmpty());
        QCOMPARE(s.imported + s.failed + s.empty + s.skipped, 62);
        QVERIFY(s.imported >= 2);
        QVERIFY(!dm.inTransaction());
        for (const char *key : {"GOOD1", "GOOD2"}) {
            const QVariantMap pc = row(dm, "PC", key);
            QCOMPARE(pc.value("cpu_name").toString(), QString("Pentium 4"));
            QCOMPARE(pc.value("ip").toString(), QString("192.168.0.9"));
            QCOMPARE(count(dm, "Appli", key), 1);
            QCOMPARE(count(dm, "Drive", key), 1);
            QCOMPARE(count(dm, "LAN", key), 2);
            QCOMPARE(scalar(dm,
                            "SELECT COUNT(*) FROM APPLI WHERE KEY = :K AND NYURYOKUKBN = 'Invaro'",
                            {{":K", key}})
                         .toInt(),
                     1);
        }
        qInfo("%d imported, %d failed, %d empty, %d skipped in %lld ms", s.imported, s.failed,
              s.empty, s.skipped, timer.elapsed());
    }

private:
    static bool hasNulByte(const QString &path)
    {
        QFile f(path);
        return !f.open(QIODevice::ReadOnly) || f.readAll().contains('\0');
    }
    static QByteArray headerLine()
    {
        return QByteArray("Key,Group,Item,SubItem,Contents,Unit,Renewalday\r\n");
    }
};

QTEST_GUILESS_MAIN(TstImportRun)
#include "tst_importrun.moc"
