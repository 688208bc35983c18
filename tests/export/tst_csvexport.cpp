// The CSV files of the four tables, compared byte for byte on both engines.

#include "TestStores.h"
#include "export/CsvExport.h"
#include "store/RecordCursor.h"
#include "store/StoreTransaction.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <sys/resource.h>

namespace {

// A connected store with all tables; checked twice when the printer
// table's upgrade column is wanted.
std::unique_ptr<TDMdata> openStore(const TestStore &store, int checks = 1)
{
    auto dm = std::make_unique<TDMdata>();
    dm->setSettings(store.settings());
    SilentTableCheck observer;
    for (int i = 0; i < checks; ++i) {
        if (dm->isConnected())
            dm->close();
        dm->open();
        dm->checkTables(observer);
    }
    return dm;
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
    if (!f.open(QIODevice::ReadOnly))
        return "(unreadable)";
    return f.readAll();
}

// CP932 bytes of the Japanese test texts.
const QByteArray Excel("\x83\x47\x83\x4e\x83\x5a\x83\x8b");
const QByteArray Microsoft("\xcf\xb2\xb8\xdb\xbf\xcc\xc4");
const QByteArray Tenyuryoku("\x8e\xe8\x93\xfc\x97\xcd");
const QByteArray Line1("\x88\xea\x8d\x73\x96\xda");
const QByteArray Line2("\x93\xf1\x8d\x73\x96\xda");
const QByteArray Yamada("\x8e\x52\x93\x63");

} // namespace

class TstCsvExport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    void emptyTablesGiveTheHeaderOnly_data() { TestStore::addEngineRows(); }
    void emptyTablesGiveTheHeaderOnly()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        auto dm = openStore(store, 2);
        const QList<QPair<TableId, QByteArray>> expected {
            {TableId::Drive,
             "Key,Drive,Capa,Capa_Tani,Used,Used_Tani,Free,Free_Tani,Type,Biko,"
             "UpdateYMD,NyuryokuKBN\r\n"},
            {TableId::Printer, "Key,Printer,Biko,UpdateYMD,Port,NyuryokuKBN,Ver116\r\n"},
            {TableId::Appli,
             "Key,Appli,Ver,ProductID,License,InstallKey,Biko,UpdateYMD,Maker,"
             "NyuryokuKBN,AddYMD\r\n"},
        };
        for (const auto &[table, bytes] : expected) {
            const QString path = m_dir->filePath(QStringLiteral("empty.csv"));
            const CsvExport::Result r = CsvExport(*dm, table).writeFile(path);
            QVERIFY2(r.ok, qPrintable(r.error));
            QCOMPARE(r.rows, 0);
            QCOMPARE(readAll(path), bytes);
        }
        // The PC header: all 116 names in the catalog's spelling, "user"
        // included, whatever case the engine reports.
        const QString path = m_dir->filePath(QStringLiteral("pc.csv"));
        QVERIFY(CsvExport(*dm, TableId::PC).writeFile(path).ok);
        const QByteArray header = readAll(path);
        QVERIFY(header.startsWith("Key,Win_Ver,Win_Type,IE_Ver,Display,Mem_All,Mem_All_Tani,"));
        QVERIFY(header.contains(",CPU_3DNowEx,user,PC_Name,Host,"));
        QVERIFY(header.endsWith(",MB_SerialNo,Memory_MaxCapa,Memory_Slot\r\n"));
        QCOMPARE(header.count(','), 115);
    }

    void appliRowsInKeyOrder_data() { TestStore::addEngineRows(); }
    void appliRowsInKeyOrder()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        auto dm = openStore(store);
        insert(*dm, TableId::Appli,
               {{"Key", "PC01"},
                {"Appli", QStringLiteral("エクセル \"2000\"")},
                {"Ver", "9.0"},
                {"UpdateYMD", QDateTime(QDate(2006, 1, 2), QTime(3, 4, 5))},
                {"Maker", QStringLiteral("ﾏｲｸﾛｿﾌﾄ")},
                {"NyuryokuKBN", QStringLiteral("手入力")},
                {"AddYMD", QDateTime(QDate(2005, 12, 10), QTime(14, 30))}});
        insert(*dm, TableId::Appli, {{"Key", "PC01"}, {"Appli", "Access, 97"}});

        const QString path = m_dir->filePath(QStringLiteral("appli.csv"));
        const CsvExport::Result r = CsvExport(*dm, TableId::Appli).writeFile(path);
        QVERIFY2(r.ok, qPrintable(r.error));
        QCOMPARE(r.rows, 2);
        // The quote and the comma inside the values stand unescaped; the
        // timestamps keep their date only; NULLs are two quotes.
        const QByteArray expected
            = QByteArray("Key,Appli,Ver,ProductID,License,InstallKey,Biko,UpdateYMD,Maker,"
                         "NyuryokuKBN,AddYMD\r\n")
            + "\"PC01\",\"Access, 97\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
            + "\"PC01\",\"" + Excel + " \"2000\"\",\"9.0\",\"\",\"\",\"\",\"\",\"2006/01/02\",\""
            + Microsoft + "\",\"" + Tenyuryoku + "\",\"2005/12/10\"\r\n";
        QCOMPARE(readAll(path), expected);
    }

    void driveNumbersUnquoted_data() { TestStore::addEngineRows(); }
    void driveNumbersUnquoted()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        auto dm = openStore(store);
        insert(*dm, TableId::Drive,
               {{"Key", "PC01"},
                {"Drive", "D:"},
                {"Capa_Tani", "KB"},
                {"Used", 1048576},
                {"Used_Tani", "KB"},
                {"Free", 0},
                {"Type", "NTFS"}});
        insert(*dm, TableId::Drive, {{"Key", "PC01"}, {"Drive", "C:"}, {"Capa", 40000000}});

        const QString path = m_dir->filePath(QStringLiteral("drive.csv"));
        QVERIFY(CsvExport(*dm, TableId::Drive).writeFile(path).ok);
        const QByteArray expected
            = QByteArray("Key,Drive,Capa,Capa_Tani,Used,Used_Tani,Free,Free_Tani,Type,Biko,"
                         "UpdateYMD,NyuryokuKBN\r\n")
            + "\"PC01\",\"C:\",40000000,\"\",,\"\",,\"\",\"\",\"\",\"\",\"\"\r\n"
            + "\"PC01\",\"D:\",,\"KB\",1048576,\"KB\",0,\"\",\"NTFS\",\"\",\"\",\"\"\r\n";
        QCOMPARE(readAll(path), expected);
    }

    void pcMemoSpansTwoLines_data() { TestStore::addEngineRows(); }
    void pcMemoSpansTwoLines()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        auto dm = openStore(store);
        insert(*dm, TableId::PC, {{"Key", "PC10"}});
        insert(*dm, TableId::PC,
               {{"Key", "PC02"},
                {"Mem_All", 524288},
                {"CPU_Clock", 2400.5},
                {"user", QStringLiteral("山田")},
                {"DonyuYMD", QDate(2004, 4, 1)},
                {"Biko", QStringLiteral("一行目\r\n二行目")}});

        // Every field of a row, by the catalog's kind, with the values set.
        auto row = [](const QMap<QString, QByteArray> &set) {
            QByteArrayList fields;
            for (const ColumnDef &c : Schema::table(TableId::PC).columns) {
                const bool number = c.type == ColumnType::Integer || c.type == ColumnType::Float;
                fields << set.value(c.name, number ? QByteArray() : QByteArray("\"\""));
            }
            return fields.join(',') + "\r\n";
        };
        QByteArrayList names;
        for (const ColumnDef &c : Schema::table(TableId::PC).columns)
            names << c.name.toLatin1();
        const QByteArray expected = names.join(',') + "\r\n"
            + row({{"Key", "\"PC02\""},
                   {"Mem_All", "524288"},
                   {"CPU_Clock", "2400.5"},
                   {"user", "\"" + Yamada + "\""},
                   {"DonyuYMD", "\"2004/04/01\""},
                   {"Biko", "\"" + Line1 + "\r\n" + Line2 + "\""}})
            + row({{"Key", "\"PC10\""}});

        const QString path = m_dir->filePath(QStringLiteral("pc.csv"));
        QVERIFY(CsvExport(*dm, TableId::PC).writeFile(path).ok);
        QCOMPARE(readAll(path), expected);
    }

    // Pages of a few rows give the same file as one page, rows never twice
    // nor lost at a page's edge, also where the first key column repeats.
    void pagesFollowTheKey_data() { TestStore::addEngineRows(); }
    void pagesFollowTheKey()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        auto dm = openStore(store);
        {
            StoreTransaction t(*dm);
            for (int pc = 1; pc <= 3; ++pc)
                for (int a = 1; a <= 5; ++a)
                    insert(*dm, TableId::Appli,
                           {{"Key", QStringLiteral("PC%1").arg(pc)},
                            {"Appli", QStringLiteral("App%1").arg(6 - a)}});
            t.commit();
        }
        const QString whole = m_dir->filePath(QStringLiteral("whole.csv"));
        QVERIFY(CsvExport(*dm, TableId::Appli).writeFile(whole).ok);
        const QList<QByteArray> lines = readAll(whole).split('\n');
        QCOMPARE(lines.size(), 17); // header, 15 rows, the empty tail
        QVERIFY(lines[1].startsWith("\"PC1\",\"App1\""));
        QVERIFY(lines[15].startsWith("\"PC3\",\"App5\""));

        for (int pageRows : {1, 2, 4, 15}) {
            CsvExport exporter(*dm, TableId::Appli);
            exporter.setPageRows(pageRows);
            const QString paged = m_dir->filePath(QStringLiteral("paged.csv"));
            const CsvExport::Result r = exporter.writeFile(paged);
            QVERIFY2(r.ok, qPrintable(r.error));
            QCOMPARE(r.rows, 15);
            QCOMPARE(readAll(paged), readAll(whole));
        }
    }

    void fileErrors_data() { TestStore::addEngineRows(); }
    void fileErrors()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        auto dm = openStore(store);
        insert(*dm, TableId::Drive, {{"Key", "PC01"}, {"Drive", "C:"}});

        const QString missing = m_dir->filePath(QStringLiteral("nofolder/drive.csv"));
        CsvExport::Result r = CsvExport(*dm, TableId::Drive).writeFile(missing);
        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QStringLiteral("nofolder")), qPrintable(r.error));
        QVERIFY(!QFile::exists(missing));

        if (QFile::exists(QStringLiteral("/dev/full"))) {
            r = CsvExport(*dm, TableId::Drive).writeFile(QStringLiteral("/dev/full"));
            QVERIFY(!r.ok);
            QVERIFY(r.error.contains(QStringLiteral("/dev/full")));
        }
    }

    // A disk that fills up in the middle: the export stops with the error,
    // and the file of an earlier export keeps its contents.
    void diskFullKeepsTheEarlierFile_data() { TestStore::addEngineRows(); }
    void diskFullKeepsTheEarlierFile()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        auto dm = openStore(store);
        {
            StoreTransaction t(*dm);
            for (int i = 0; i < 200; ++i)
                insert(*dm, TableId::Drive,
                       {{"Key", QStringLiteral("PC%1").arg(i, 4, 10, QLatin1Char('0'))},
                        {"Drive", "C:"}});
            t.commit();
        }
        const QString earlier = m_dir->filePath(QStringLiteral("drive.csv"));
        QVERIFY(CsvExport(*dm, TableId::Drive).writeFile(earlier).ok);
        const QByteArray all = readAll(earlier);
        QVERIFY(all.size() > 4096);

        // Files of this process may not grow past 4 KB for a moment.
        rlimit saved {};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &saved), 0);
        rlimit small = saved;
        small.rlim_cur = 4096;
        auto *previous = std::signal(SIGXFSZ, SIG_IGN);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &small), 0);
        CsvExport exporter(*dm, TableId::Drive);
        exporter.setPageRows(10);
        const CsvExport::Result r = exporter.writeFile(earlier);
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, previous);

        QVERIFY(!r.ok);
        QVERIFY2(r.error.contains(QStringLiteral("大きすぎます")), qPrintable(r.error));
        QCOMPARE(readAll(earlier), all);
        QCOMPARE(QDir(m_dir->path()).entryList(QDir::Files), QStringList {"drive.csv"});
    }

    void notConnectedOrMissingTable()
    {
        TDMdata dm;
        CsvExport exporter(dm, TableId::PC);
        QVERIFY(!exporter.isAvailable());
        const QString path = m_dir->filePath(QStringLiteral("pc.csv"));
        QVERIFY(!exporter.writeFile(path).ok);
        QVERIFY(!QFile::exists(path));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_GUILESS_MAIN(TstCsvExport)
#include "tst_csvexport.moc"
