#include "ImportTestSupport.h"
#include "TestStores.h"
#include "import/DetailMerge.h"
#include "import/ImportError.h"
#include "import/ImportFile.h"
#include "import/PcRules.h"

#include <QTest>
#include <optional>

namespace {

const QString Header = QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday");

// Imports one file the way the run does: in a transaction that is
// committed also when the file fails. The error, if any.
std::optional<ImportError> importFile(TDMdata &dm, CollectorImporter &importer,
                                      const QStringList &lines)
{
    std::optional<ImportError> error;
    dm.startTransaction();
    try {
        importer.ImportFile(lines);
    } catch (const ImportError &e) {
        error = e;
    }
    dm.commit();
    return error;
}

void insert(TDMdata &dm, const QString &table, const QVariantMap &values)
{
    QStringList cols, params;
    QVariantMap bound;
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        cols << it.key();
        params << ":p" + QString::number(params.size());
        bound.insert(params.last(), it.value());
    }
    dm.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, cols.join(", "), params.join(", ")),
            bound);
}

QString text(const QVariantMap &row, const char *column)
{
    return row.value(QString::fromLatin1(column).toLower()).toString();
}

bool isNull(const QVariantMap &row, const char *column)
{
    return row.value(QString::fromLatin1(column).toLower()).isNull();
}

} // namespace

// Opens a fresh, checked store of the row's engine, or skips.
#define OPEN_STORE()                                                                               \
    QFETCH(int, engine);                                                                           \
    TestStore store(engine);                                                                       \
    ORVANE_REQUIRE_STORE(store);                                                                   \
    TDMdata dm;                                                                                    \
    openStore(dm, store.settings());                                                               \
    CollectorImporter importer(dm);                                                                \
    importer.setClock([] { return QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5)); })

class TstImportFile : public QObject
{
    Q_OBJECT

private slots:
    void ruleTableIsComplete()
    {
        const QVector<PcRule> &rules = PcRuleTable();
        QCOMPARE(rules.size(), 80);
        const TableDef &pc = Schema::table(TableId::PC);
        for (int i = 0; i < rules.size(); ++i) {
            QCOMPARE(rules.at(i).number, i + 1);
            QVERIFY2(pc.column(rules.at(i).field), qPrintable(rules.at(i).field));
            if (!rules.at(i).unitField.isEmpty())
                QVERIFY(pc.column(rules.at(i).unitField));
        }
        QCOMPARE(rules.at(44).field, QStringLiteral("CPU_3DNowEx"));
    }

    void mergeStatementsAsWritten()
    {
        const QStringList all = DetailMerge::statements(true);
        QCOMPARE(all.size(), 12);
        QCOMPARE(
            all.first(),
            QStringLiteral("DELETE FROM APPLI\nWHERE KEY = :KEY\nAND   NyuryokuKBN = 'Invaro'"));
        QCOMPARE(all.at(1),
                 QStringLiteral("UPDATE APPLI SET NyuryokuKBN = 'Invaro'\nWHERE KEY = "
                                ":KEY\nAND   NyuryokuKBN = 'new'"));
        QCOMPARE(all.last(),
                 QStringLiteral("UPDATE DRIVE SET NyuryokuKBN = 'Invaro'\nWHERE KEY = "
                                ":KEY\nAND   NyuryokuKBN = 'new'"));
        QCOMPARE(
            all.at(8),
            QStringLiteral("DELETE FROM PRINTER\nWHERE KEY = :KEY\nAND   NyuryokuKBN = 'Invaro'"));
        const QStringList withoutAppliDel = DetailMerge::statements(false);
        QCOMPARE(withoutAppliDel, all.mid(1));
    }

    // Each case imports its records into a PC of its own (preset with some
    // values) and checks the PC fields afterwards.
    void pcRules_data() { TestStore::addEngineRows(); }
    void pcRules()
    {
        OPEN_STORE();
        struct Case
        {
            const char *name;
            QList<QStringList> records; // Group, Item, SubItem, Contents, Unit
            QVariantMap preset;
            QVariantMap expected; // a null value: no value
        };
        const QVariant none;
        const QString longVersion = QString(60, 'A') + " (x SP1)";
        const QList<Case> cases {
            {"version with service pack",
             {{"Soft", "Windows", "Version", "Microsoft Windows XP Professional (5.1.2600 SP2)",
               ""}},
             {},
             {{"Win_Ver", "Microsoft Windows XP Professional (5.1.2600 SP2)"},
              {"Win_Type", "Microsoft Windows XP Professional "},
              {"SP", "2)"}}},
            {"version without parenthesis or SP",
             {{"Soft", "Windows", "Version", "Windows 10 Pro", ""}},
             {{"Win_Type", "old"}, {"SP", "3"}},
             {{"Win_Ver", "Windows 10 Pro"}, {"Win_Type", "old"}, {"SP", "3"}}},
            {"service pack beyond the stored width",
             {{"Soft", "Windows", "Version", longVersion, ""}},
             {{"SP", "9"}},
             {{"Win_Ver", longVersion.left(64)},
              {"Win_Type", QString(60, 'A') + " "},
              {"SP", "9"}}},
            {"service pack text trimmed",
             {{"Soft", "Windows", "Version", "W (5.0 SP 4 )", ""}},
             {},
             {{"SP", "4 )"}}},
            {"service pack is five characters",
             {{"Soft", "Windows", "Version", "W (5.0 SP4abcdef)", ""}},
             {},
             {{"SP", "4abcd"}}},
            {"memory in MB",
             {{"Hard", "メモリ", "全容量", "512", "MB"}},
             {},
             {{"Mem_All", 524288}, {"Mem_All_Tani", "KB"}}},
            {"memory in KB",
             {{"Hard", "メモリ", "使用量", "524288", "KB"}},
             {},
             {{"Mem_Use", 524288}, {"Mem_Use_Tani", "KB"}}},
            {"memory in GB",
             {{"Hard", "メモリ", "空容量", "2", "GB"}},
             {},
             {{"Mem_Free", 2}, {"Mem_Free_Tani", "KB"}}},
            {"memory unreadable",
             {{"Hard", "メモリ", "全容量", "lots", "MB"}},
             {{"Mem_All", 5}, {"Mem_All_Tani", "MB"}},
             {{"Mem_All", 5}, {"Mem_All_Tani", "KB"}}},
            {"memory too big in KB",
             {{"Hard", "メモリ", "全容量", "4194304", "MB"}},
             {{"Mem_All", 7}},
             {{"Mem_All", 7}, {"Mem_All_Tani", "KB"}}},
            {"integer too big",
             {{"Hard", "CPU", "Type", "2147483648", ""}},
             {{"CPU_Type", 3}},
             {{"CPU_Type", 3}}},
            {"integer at the limit",
             {{"Hard", "CPU", "Model", "2147483647", ""}},
             {},
             {{"CPU_Model", 2147483647}}},
            {"family may be negative",
             {{"Hard", "CPU", "Family", "-1", ""}},
             {},
             {{"CPU_Family", -1}}},
            {"flag one", {{"Hard", "CPU", "FPU", "1", ""}}, {}, {{"CPU_FPU", 1}}},
            {"flag minus one ignored",
             {{"Hard", "CPU", "SSE2", "-1", ""}},
             {{"CPU_SSE2", 0}},
             {{"CPU_SSE2", 0}}},
            {"flag word ignored",
             {{"Hard", "CPU", "3DNowEx", "yes", ""}},
             {{"CPU_3DNowEx", 0}},
             {{"CPU_3DNowEx", 0}}},
            {"flag empty ignored",
             {{"Hard", "CPU", "MMX", "", ""}},
             {{"CPU_MMX", 1}},
             {{"CPU_MMX", 1}}},
            {"flag too big ignored",
             {{"Hard", "CPU", "TM", "99999999999", ""}},
             {{"CPU_TM", 1}},
             {{"CPU_TM", 1}}},
            {"clock with unit",
             {{"Hard", "CPU", "Clock", "2992.5", "MHz"}},
             {},
             {{"CPU_Clock", 2992.5}, {"CPU_Clock_Tani", "MHz"}}},
            {"clock unreadable keeps value, copies unit",
             {{"Hard", "CPU", "Clock", "fast", "GHz"}},
             {{"CPU_Clock", 100.0}},
             {{"CPU_Clock", 100.0}, {"CPU_Clock_Tani", "GHz"}}},
            {"cache, both spellings",
             {{"Hard", "CPU", "L1Detaキャッシュ", "8", "KB"},
              {"Hard", "CPU", "L2キャッシュ", "512", "KB"},
              {"Hard", "CPU", "L1トレースキャッシュ", "12", "KuOps"}},
             {},
             {{"CPU_L1Data", 8},
              {"CPU_L1Data_Tani", "KB"},
              {"CPU_L2", 512},
              {"CPU_L1Trace_Tani", "KuOps"}}},
            {"cache, other spelling",
             {{"Hard", "CPU", "L1Dataキャッシュ", "16", "KB"}},
             {},
             {{"CPU_L1Data", 16}}},
            {"user overwritten",
             {{"LAN", "LAN", "ユーザー名", "taro", ""}},
             {{"user", "hand"}},
             {{"user", "taro"}}},
            {"user kept without its record",
             {{"LAN", "LAN", "コンピュータ名", "PC-9", ""}},
             {{"user", "hand"}, {"Bu", "総務部"}},
             {{"user", "hand"}, {"PC_Name", "PC-9"}, {"Bu", "総務部"}}},
            {"address and IP16",
             {{"LAN", "LAN", "IPアドレス", "192.168.1.5", ""}},
             {},
             {{"IP", "192.168.1.5"}, {"IP16", "C0A80105"}}},
            {"invalid address",
             {{"LAN", "LAN", "IPアドレス", "192.168.1.300", ""}},
             {{"IP16", "00000000"}},
             {{"IP16", none}}},
            {"address with a trailing blank",
             {{"LAN", "LAN", "IPアドレス", "10.0.0.1 ", ""}},
             {},
             {{"IP", "10.0.0.1 "}, {"IP16", none}}},
            {"later network record wins",
             {{"LAN", "LAN", "IPアドレス", "10.0.0.1", ""},
              {"LAN", "Adapter", "IPアドレス", "10.0.0.2", ""}},
             {},
             {{"IP", "10.0.0.2"}, {"IP16", "0A000002"}}},
            {"WINS only from Adapter",
             {{"LAN", "LAN", "PrimaryWINS", "1.1.1.1", ""},
              {"LAN", "Adapter", "SecondaryWINS", "2.2.2.2", ""}},
             {},
             {{"WINS1", none}, {"WINS2", "2.2.2.2"}}},
            {"DNS only from LAN",
             {{"LAN", "Adapter", "PrimaryDNS", "1.1.1.1", ""},
              {"LAN", "LAN", "SecondaryDNS", "2.2.2.2", ""}},
             {},
             {{"DNS1", none}, {"DNS2", "2.2.2.2"}}},
            {"Adapter2 feeds no PC field",
             {{"LAN", "Adapter2", "IPアドレス", "10.9.9.9", ""}},
             {},
             {{"IP", none}}},
            {"free text, any SubItem",
             {{"Free", "Free", "whatever", "note", ""}},
             {},
             {{"FREE", "note"}}},
            {"WMI texts",
             {{"WMI", "BIOS", "ReleaseDate", "20040102", ""},
              {"WMI", "PhysicalMemory", "Slot", "4", ""}},
             {},
             {{"BIOS_ReleaseDate", "20040102"}, {"Memory_Slot", "4"}}},
            {"text cut to the width in CP932 bytes",
             {{"Hard", "画面", "解像度", QString(40, 'x'), ""},
              {"LAN", "LAN", "ユーザー名", "山田太郎山田太郎山田太郎山田太郎山田太郎", ""}},
             {},
             {{"Display", QString(32, 'x')}, {"user", "山田太郎山田太郎山田太郎山田太郎"}}},
            {"empty contents clears a text field",
             {{"Hard", "画面", "解像度", "", ""}},
             {{"Display", "1024x768"}},
             {{"Display", none}}},
            {"case matters",
             {{"hard", "CPU", "Name", "x", ""}, {"Hard", "cpu", "Name", "y", ""}},
             {{"CPU_Name", "z"}},
             {{"CPU_Name", "z"}}},
        };
        for (int i = 0; i < cases.size(); ++i) {
            const Case &c = cases.at(i);
            const QString key = QStringLiteral("PC%1").arg(i);
            if (!c.preset.isEmpty()) {
                QVariantMap values = c.preset;
                values.insert("KEY", key);
                insert(dm, "PC", values);
            }
            SampleFile file(key);
            for (const QStringList &r : c.records)
                file.add(r.at(0), r.at(1), r.at(2), r.at(3), r.at(4));
            const auto error = importFile(dm, importer, file.lines());
            QVERIFY2(!error, c.name);
            const QVariantMap pc = row(dm, "PC", key);
            for (auto it = c.expected.cbegin(); it != c.expected.cend(); ++it) {
                const QVariant actual = pc.value(it.key().toLower());
                const QString context
                    = QStringLiteral("%1: %2 = '%3'")
                          .arg(QLatin1String(c.name), it.key(), actual.toString());
                if (it.value().isNull())
                    QVERIFY2(actual.isNull(), qPrintable(context));
                else
                    QVERIFY2(!actual.isNull() && actual.toString() == it.value().toString(),
                             qPrintable(context));
            }
        }
    }

    void fileDates_data() { TestStore::addEngineRows(); }
    void fileDates()
    {
        OPEN_STORE();
        // The Create record's SubItem is the date; UpdateYMD never goes back.
        auto file = [](const QString &date) {
            return QStringList {Header, "PC,Create,DateTime," + date + ",,,1999/9/9",
                                "PC,Hard,CPU,Name,x,,2001/1/1"};
        };
        QVERIFY(!importFile(dm, importer, file("2024/05/06")));
        QVariantMap pc = row(dm, "PC", "PC");
        QCOMPARE(asDate(pc.value("updateymd")), QDate(2024, 5, 6));
        QCOMPARE(asDate(pc.value("invaroymd")), QDate(2024, 5, 6));
        QVERIFY(!importFile(dm, importer, file("2023/01/02"))); // an older file
        pc = row(dm, "PC", "PC");
        QCOMPARE(asDate(pc.value("updateymd")), QDate(2024, 5, 6));
        QCOMPARE(asDate(pc.value("invaroymd")), QDate(2023, 1, 2));
        QVERIFY(!importFile(dm, importer, file("not a date")));
        pc = row(dm, "PC", "PC");
        QCOMPARE(asDate(pc.value("updateymd")), QDate(2024, 5, 6));
        QCOMPARE(asDate(pc.value("invaroymd")), QDate(1899, 12, 30));

        // Otherwise the first record's Renewalday; a new PC gets only its key,
        // the fields the file feeds and the dates.
        QVERIFY(!importFile(
            dm, importer, SampleFile("NEW", "2022/2/3").add("Hard", "CPU", "Name", "P4").lines()));
        pc = row(dm, "PC", "NEW");
        QCOMPARE(asDate(pc.value("updateymd")), QDate(2022, 2, 3));
        QCOMPARE(asDate(pc.value("invaroymd")), QDate(2022, 2, 3));
        int filled = 0;
        for (auto it = pc.cbegin(); it != pc.cend(); ++it)
            filled += it.value().isNull() ? 0 : 1;
        QCOMPARE(filled, 4); // key, CPU_Name, UpdateYMD, InvaroYMD
    }

    void failures_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QStringList>("records");
        QTest::addColumn<int>("line");
        const QList<std::pair<const char *, int>> engines {{"sqlite", 0}, {"postgresql", 1}};
        for (auto [engineName, e] : engines) {
            auto row = [&](const char *name, const QStringList &records, int line) {
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(engineName, name)))
                    << e << records << line;
            };
            row("header only", {}, 2);
            row("blank first record", {""}, 2);
            row("blank line between records",
                {"PC,Hard,CPU,Name,x,,2024/1/1", "", "PC,Hard,CPU,ID,y,,2024/1/1"}, 3);
            row("blank last line", {"PC,Hard,CPU,Name,x,,2024/1/1", ""}, 3);
            row("key only", {"PC,Hard,CPU,Name,x,,2024/1/1", "PC"}, 3);
            row("text rule without contents", {"PC,Hard,CPU,Name,x,,2024/1/1", "PC,Hard,CPU,Name"},
                3);
            row("cache without unit",
                {"PC,Hard,CPU,Name,x,,2024/1/1", "PC,Hard,CPU,L2キャッシュ,512"}, 3);
            row("application without Renewalday (final comma)",
                {"PC,Hard,CPU,Name,x,,2024/1/1", "PC,Soft,Application,Word,11.0,,"}, 3);
            row("first record without Renewalday", {"PC,Hard,CPU,Name,x,"}, 2);
            row("application with an empty key",
                {"PC,Hard,CPU,Name,x,,2024/1/1", ",Soft,Application,Word,11,,2024/1/1"}, 3);
            row("printer without a name",
                {"PC,Hard,CPU,Name,x,,2024/1/1", "PC,Hard,Printer,,LPT1:,,2024/1/1"}, 3);
            row("group without item", {"PC,Hard,CPU,Name,x,,2024/1/1", "PC,Soft"}, 3);
        }
    }
    void failures()
    {
        OPEN_STORE();
        QFETCH(QStringList, records);
        QFETCH(int, line);
        const auto error = importFile(dm, importer, QStringList {Header} + records);
        QVERIFY(error);
        QCOMPARE(error->line(), line);
        QVERIFY(!dm.inTransaction());
        // The PC row of a failed file is not saved.
        QCOMPARE(count(dm, "PC", "PC"), 0);
    }

    void tolerated_data() { TestStore::addEngineRows(); }
    void tolerated()
    {
        OPEN_STORE();
        // Records no rule reads past their end, conversions without a value,
        // unknown groups and items: the file imports.
        const QStringList lines {Header,
                                 "PC,Hard,CPU,Name,x,,2024/1/1",
                                 "PC,Unknown",
                                 "PC,Hard,CPU,Type",
                                 "PC,Hard,CPU,FPU",
                                 "PC,Hard,メモリ,全容量",
                                 "PC,Hard,CPU,Unknown,1,,2024/1/1",
                                 "PC,Create,DateTime,2024/1/1,,,"};
        const auto error = importFile(dm, importer, lines);
        QVERIFY2(!error, error ? qPrintable(error->text()) : "");
        const QVariantMap pc = row(dm, "PC", "PC");
        QCOMPARE(text(pc, "CPU_Name"), QString("x"));
        QCOMPARE(text(pc, "Mem_All_Tani"), QString("KB"));
        QVERIFY(isNull(pc, "Mem_All"));
    }

    // A file that fails half-way leaves the detail rows of the records
    // before the failure marked "new"; the next import settles them.
    void failedFileIsSettledByTheNextImport_data() { TestStore::addEngineRows(); }
    void failedFileIsSettledByTheNextImport()
    {
        OPEN_STORE();
        QVERIFY(!importFile(dm, importer,
                            SampleFile("PC", "2024/01/01")
                                .add("Soft", "Application", "Old", "1")
                                .add("Hard", "CPU", "Name", "before")
                                .lines()));
        const QStringList broken = SampleFile("PC", "2024/02/01")
                                       .add("Hard", "CPU", "Name", "after")
                                       .add("Soft", "Application", "Kept", "1")
                                       .add("Soft", "Application", "Dropped", "1")
                                       .line("")
                                       .add("Soft", "Application", "Never", "1")
                                       .lines();
        const auto error = importFile(dm, importer, broken);
        QVERIFY(error);
        QCOMPARE(error->line(), 5);
        QCOMPARE(text(row(dm, "Appli", "PC", "APPLI", "Kept"), "NyuryokuKBN"), QString("new"));
        QCOMPARE(text(row(dm, "Appli", "PC", "APPLI", "Dropped"), "NyuryokuKBN"), QString("new"));
        QCOMPARE(text(row(dm, "Appli", "PC", "APPLI", "Old"), "NyuryokuKBN"), QString("Invaro"));
        QVERIFY(row(dm, "Appli", "PC", "APPLI", "Never").isEmpty());
        // The PC row is as the last complete file left it.
        QVariantMap pc = row(dm, "PC", "PC");
        QCOMPARE(text(pc, "CPU_Name"), QString("before"));
        QCOMPARE(asDate(pc.value("invaroymd")), QDate(2024, 1, 1));

        // Next file reports Kept only: Old (Invaro) goes, Kept and Dropped
        // ("new") become Invaro; the one after removes Dropped.
        const QStringList next
            = SampleFile("PC", "2024/03/01").add("Soft", "Application", "Kept", "2").lines();
        QVERIFY(!importFile(dm, importer, next));
        QVERIFY(row(dm, "Appli", "PC", "APPLI", "Old").isEmpty());
        QCOMPARE(text(row(dm, "Appli", "PC", "APPLI", "Kept"), "NyuryokuKBN"), QString("Invaro"));
        QCOMPARE(text(row(dm, "Appli", "PC", "APPLI", "Dropped"), "NyuryokuKBN"),
                 QString("Invaro"));
        QVERIFY(!importFile(dm, importer, next));
        QVERIFY(row(dm, "Appli", "PC", "APPLI", "Dropped").isEmpty());
        QCOMPARE(count(dm, "Appli", "PC"), 1);
    }

    // The input kind of a row across one import, for every starting kind,
    // reported or not, with AppliDel on and off.
    void inputKindLifeCycle_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<bool>("appliDel");
        for (auto [name, e] : {std::pair {"sqlite", 0}, {"postgresql", 1}}) {
            QTest::newRow(qPrintable(QStringLiteral("%1 AppliDel on").arg(name))) << e << true;
            QTest::newRow(qPrintable(QStringLiteral("%1 AppliDel off").arg(name))) << e << false;
        }
    }
    void inputKindLifeCycle()
    {
        OPEN_STORE();
        QFETCH(bool, appliDel);
        importer.setAppliDel(appliDel);
        const QVariant none(QMetaType(QMetaType::QString));
        const QList<std::pair<const char *, QVariant>> kinds {
            {"Invaro", "Invaro"}, {"Hand", "手入力"}, {"Empty", none}, {"New", "new"}};
        SampleFile file("PC");
        for (const auto &[name, kind] : kinds) {
            for (const char *reported : {"Rep", "Not"}) {
                const QString id = QString(name) + reported;
                insert(dm, "Appli",
                       {{"KEY", "PC"}, {"APPLI", id}, {"NYURYOKUKBN", kind}, {"BIKO", "memo"}});
                insert(dm, "Drive",
                       {{"KEY", "PC"}, {"DRIVE", id}, {"NYURYOKUKBN", kind}, {"BIKO", "memo"}});
                if (QLatin1String(reported) == QLatin1String("Rep")) {
                    file.add("Soft", "Application", id, "2.0");
                    file.add("Hard", id, "タイプ", "NTFS");
                }
            }
        }
        QVERIFY(!importFile(dm, importer, file.lines()));
        const QMap<QString, QString> expected {{"InvaroRep", "Invaro"}, {"InvaroNot", "deleted"},
                                               {"HandRep", "Invaro"},   {"HandNot", "手入力"},
                                               {"EmptyRep", "Invaro"},  {"EmptyNot", ""},
                                               {"NewRep", "Invaro"},    {"NewNot", "Invaro"}};
        for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
            for (const char *table : {"Appli", "Drive"}) {
                const QVariantMap r = row(dm, table, "PC", table, it.key());
                QString want = it.value();
                if (want == "deleted" && QLatin1String(table) == QLatin1String("Appli")
                    && !appliDel)
                    want = "Invaro";
                const QString context = QString("%1 %2").arg(table, it.key());
                if (want == "deleted") {
                    QVERIFY2(r.isEmpty(), qPrintable(context));
                    continue;
                }
                QVERIFY2(!r.isEmpty(), qPrintable(context));
                QVERIFY2(text(r, "NyuryokuKBN") == want,
                         qPrintable(context + " " + text(r, "NyuryokuKBN")));
                QCOMPARE(text(r, "Biko"), QString("memo")); // hand-kept columns stay
            }
        }
    }

    void applications_data() { TestStore::addEngineRows(); }
    void applications()
    {
        OPEN_STORE();
        QVERIFY(!importFile(
            dm, importer,
            SampleFile("PC", "2024/01/05")
                .add("Soft", "Application", "Word", "10.0")
                .add("Soft", "Application", "Word ", "11.0") // trimmed: same row
                .record({"PC", "Soft", "Application", "", "x", "Alcohol 120%", "2024/1/5"})
                .record({"PC", "Soft", "Application", "  ", "y", "other", "2024/1/5"})
                .record({"PC", "Soft", "Application", "", "z", "", "2024/1/5"})
                .lines()));
        QCOMPARE(count(dm, "Appli", "PC"), 3);
        QVariantMap word = row(dm, "Appli", "PC", "APPLI", "Word");
        QCOMPARE(text(word, "Ver"), QString("11.0"));
        QCOMPARE(text(word, "NyuryokuKBN"), QString("Invaro"));
        QCOMPARE(asDateTime(word.value("addymd")), QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5)));
        QCOMPARE(asDateTime(word.value("updateymd")), QDate(2024, 1, 5).startOfDay());
        QCOMPARE(text(row(dm, "Appli", "PC", "APPLI", "Alcohol"), "Ver"), QString("x"));
        QCOMPARE(text(row(dm, "Appli", "PC", "APPLI", "?"), "Ver"), QString("z"));

        // Columns the import does not own survive; AddYMD stays; UpdateYMD
        // only moves forward.
        dm.exec("UPDATE APPLI SET LICENSE = 'L-1', MAKER = 'MS' WHERE APPLI = 'Word'");
        importer.setClock([] { return QDateTime(QDate(2031, 1, 1), QTime(0, 0)); });
        QVERIFY(!importFile(
            dm, importer,
            SampleFile("PC", "2023/12/31").add("Soft", "Application", "Word", "12").lines()));
        word = row(dm, "Appli", "PC", "APPLI", "Word");
        QCOMPARE(text(word, "License"), QString("L-1"));
        QCOMPARE(text(word, "Maker"), QString("MS"));
        QCOMPARE(text(word, "Ver"), QString("12"));
        QCOMPARE(asDateTime(word.value("addymd")), QDateTime(QDate(2030, 1, 2), QTime(3, 4, 5)));
        QCOMPARE(asDateTime(word.value("updateymd")), QDate(2024, 1, 5).startOfDay());
        QCOMPARE(count(dm, "Appli", "PC"), 1); // the others were not reported
    }

    void printerFormerName_data() { TestStore::addEngineRows(); }
    void printerFormerName()
    {
        OPEN_STORE();
        // A row under "name. port" takes the plain name.
        insert(
            dm, "Printer",
            {{"KEY", "A"}, {"PRINTER", "LBP. LPT1:"}, {"NYURYOKUKBN", "Invaro"}, {"BIKO", "2F"}});
        QVERIFY(!importFile(dm, importer,
                            SampleFile("A").add("Hard", "Printer", "LBP", "LPT1:").lines()));
        QCOMPARE(count(dm, "Printer", "A"), 1);
        QVariantMap p = row(dm, "Printer", "A", "PRINTER", "LBP");
        QCOMPARE(text(p, "Biko"), QString("2F"));
        QCOMPARE(text(p, "Port"), QString("LPT1:"));
        QCOMPARE(text(p, "NyuryokuKBN"), QString("Invaro"));

        // When the plain name exists too, the old row stays and, being
        // Invaro, the merge deletes it; a hand-entered old row survives.
        insert(dm, "Printer", {{"KEY", "B"}, {"PRINTER", "LBP. LPT1:"}, {"NYURYOKUKBN", "Invaro"}});
        insert(dm, "Printer",
               {{"KEY", "B"}, {"PRINTER", "LBP"}, {"NYURYOKUKBN", "Invaro"}, {"BIKO", "plain"}});
        insert(dm, "Printer", {{"KEY", "C"}, {"PRINTER", "LBP. LPT1:"}, {"NYURYOKUKBN", "手入力"}});
        insert(dm, "Printer", {{"KEY", "C"}, {"PRINTER", "LBP"}, {"NYURYOKUKBN", "手入力"}});
        QVERIFY(!importFile(dm, importer,
                            SampleFile("B").add("Hard", "Printer", "LBP", "LPT1:").lines()));
        QVERIFY(!importFile(dm, importer,
                            SampleFile("C").add("Hard", "Printer", "LBP", "LPT1:").lines()));
        QCOMPARE(count(dm, "Printer", "B"), 1);
        QCOMPARE(text(row(dm, "Printer", "B", "PRINTER", "LBP"), "Biko"), QString("plain"));
        QCOMPARE(count(dm, "Printer", "C"), 2);
        QCOMPARE(text(row(dm, "Printer", "C", "PRINTER", "LBP. LPT1:"), "NyuryokuKBN"),
                 QString("手入力"));
        QCOMPARE(text(row(dm, "Printer", "C", "PRINTER", "LBP"), "NyuryokuKBN"), QString("Invaro"));
    }

    void drives_data() { TestStore::addEngineRows(); }
    void drives()
    {
        OPEN_STORE();
        const QStringList first = SampleFile("PC")
                                      .add("Hard", "C:", "空容量", "100", "KB")
                                      .add("Hard", "D:", "全容量", "1.5", "GB")
                                      .add("Hard", "E:", "全容量", "200.7", "MB")
                                      .add("Hard", "F:", "全容量", "big", "MB")
                                      .add("Hard", "G:", "全容量", "3000", "GB")
                                      .add("Hard", "H:", "全容量", "1.5", "KB")
                                      .add("Hard", "C:", "タイプ", "NTFS")
                                      .add("Hard", "ページファイル", "全容量", "1", "MB")
                                      .add("Hard", "SystemHDD", "全容量", "1", "MB")
                                      .add("Hard", "メモリ", "全容量", "1", "MB")
                                      .lines();
        // The first file stops after the free-space record of C: (its
        // Renewalday is missing), so C: shows the intermediate state.
        QStringList partial = first.mid(0, 2);
        partial << "PC,Hard,X:,全容量,1,KB";
        QVERIFY(importFile(dm, importer, partial));
        QVariantMap c = row(dm, "Drive", "PC", "DRIVE", "C:");
        QCOMPARE(c.value("capa").toInt(), 0);
        QCOMPARE(c.value("free").toInt(), 100);
        QCOMPARE(c.value("used").toInt(), -100);
        QCOMPARE(text(c, "Free_Tani"), QString("KB"));
        QCOMPARE(text(c, "Used_Tani"), QString("KB"));
        QVERIFY(isNull(c, "Capa_Tani"));
        QCOMPARE(text(c, "NyuryokuKBN"), QString("new"));

        QVERIFY(
            !importFile(dm, importer, QStringList(first) << "PC,Hard,C:,全容量,300,KB,2024/03/01"));
        c = row(dm, "Drive", "PC", "DRIVE", "C:");
        QCOMPARE(c.value("capa").toInt(), 300);
        QCOMPARE(c.value("used").toInt(), 200);
        QCOMPARE(text(c, "Type"), QString("NTFS"));
        QCOMPARE(text(c, "Capa_Tani"), QString("KB"));
        QCOMPARE(row(dm, "Drive", "PC", "DRIVE", "D:").value("capa").toInt(), 1572864);
        QCOMPARE(row(dm, "Drive", "PC", "DRIVE", "E:").value("capa").toInt(), 205516);
        QCOMPARE(row(dm, "Drive", "PC", "DRIVE", "F:").value("capa").toInt(), 0);
        QCOMPARE(row(dm, "Drive", "PC", "DRIVE", "G:").value("capa").toInt(), 0); // beyond 32 bits
        QCOMPARE(row(dm, "Drive", "PC", "DRIVE", "H:").value("capa").toInt(), 0); // not an integer
        const QVariantMap d = row(dm, "Drive", "PC", "DRIVE", "D:");
        QVERIFY(!isNull(d, "Free")); // set to 0, not left empty
        QCOMPARE(d.value("free").toInt(), 0);
        QCOMPARE(d.value("used").toInt(), 1572864);
        QCOMPARE(count(dm, "Drive", "PC"), 6);
        QVERIFY(row(dm, "Drive", "PC", "DRIVE", "ページファイル").isEmpty());
    }

    void handEnteredDrives_data() { TestStore::addEngineRows(); }
    void handEnteredDrives()
    {
        OPEN_STORE();
        insert(dm, "Drive",
               {{"KEY", "PC"},
                {"DRIVE", "C:"},
                {"NYURYOKUKBN", "手入力"},
                {"CAPA", 5},
                {"BIKO", "system"}});
        insert(dm, "Drive",
               {{"KEY", "PC"}, {"DRIVE", "NAS"}, {"NYURYOKUKBN", "手入力"}, {"CAPA", 7}});
        const QStringList file = SampleFile("PC").add("Hard", "C:", "全容量", "40", "KB").lines();
        for (int i = 0; i < 2; ++i) {
            QVERIFY(!importFile(dm, importer, file));
            const QVariantMap c = row(dm, "Drive", "PC", "DRIVE", "C:");
            QCOMPARE(text(c, "NyuryokuKBN"), QString("Invaro"));
            QCOMPARE(c.value("capa").toInt(), 40);
            QCOMPARE(text(c, "Biko"), QString("system"));
            const QVariantMap nas = row(dm, "Drive", "PC", "DRIVE", "NAS");
            QCOMPARE(text(nas, "NyuryokuKBN"), QString("手入力"));
            QCOMPARE(nas.value("capa").toInt(), 7);
        }
    }

    void adaptersAndModules_data() { TestStore::addEngineRows(); }
    void adaptersAndModules()
    {
        OPEN_STORE();
        insert(dm, "PC", {{"KEY", "PC"}, {"IP", "1.1.1.1"}});
        insert(dm, "LAN",
               {{"KEY", "PC"}, {"SEQ", 2}, {"DNS1", "8.8.8.8"}, {"NYURYOKUKBN", "Invaro"}});
        insert(dm, "LAN", {{"KEY", "PC"}, {"SEQ", 5}, {"NYURYOKUKBN", "Invaro"}});
        const QStringList lines = SampleFile("PC")
                                      .add("LAN", "Adapter2", "IPアドレス", "192.168.0.11 ")
                                      .add("LAN", "Adapter2", "アダプター名", "  Intel PRO  ")
                                      .add("LAN", "Adapter2", "MACアドレス", " 00-11 ")
                                      .add("LAN", "Adapter2", "Unknown", "x")
                                      .add("LAN", "Adapter", "サブネットマスク", "255.0.0.0")
                                      .add("LAN", "Adapter10", "IPアドレス", "10.0.0.10")
                                      .add("LAN", "Adapter1", "IPアドレス", "10.0.0.1")
                                      .add("LAN", "Adapter9", "IPアドレス", "10.0.0.9")
                                      .add("WMI", "PhysicalMemory1", "Capacity", "1", "GB")
                                      .add("WMI", "PhysicalMemory2", "Capacity", "512", " MB ")
                                      .add("WMI", "PhysicalMemory3", "Capacity", "4", "KB")
                                      .add("WMI", "PhysicalMemory3", "DeviceLocator", " DIMM3 ")
                                      .add("WMI", "PhysicalMemory4", "Capacity", "many", "MB")
                                      .add("WMI", "PhysicalMemory16", "Speed", "PC3200")
                                      .add("WMI", "PhysicalMemory17", "Capacity", "1", "GB")
                                      .add("WMI", "PhysicalMemory", "Slot", "16")
                                      .lines();
        QVERIFY(!importFile(dm, importer, lines));
        const QVariantMap two = row(dm, "LAN", "PC", "SEQ", 2);
        QCOMPARE(text(two, "IP"), QString("192.168.0.11 ")); // not trimmed
        QVERIFY(isNull(two, "IP16"));
        QCOMPARE(text(two, "LAN_Adapter"), QString("Intel PRO"));
        QCOMPARE(text(two, "Mac"), QString("00-11"));
        QCOMPARE(text(two, "DNS1"), QString("8.8.8.8"));
        QCOMPARE(text(two, "NyuryokuKBN"), QString("Invaro"));
        QCOMPARE(text(row(dm, "LAN", "PC", "SEQ", 1), "SubNet"), QString("255.0.0.0"));
        QCOMPARE(text(row(dm, "LAN", "PC", "SEQ", 9), "IP16"), QString("0A000009"));
        QCOMPARE(count(dm, "LAN", "PC"), 3); // 1, 2, 9; row 5 was not reported
        QCOMPARE(text(row(dm, "PC", "PC"), "IP"), QString("1.1.1.1"));

        QCOMPARE(row(dm, "PMEMORY", "PC", "SEQ", 1).value("mb").toInt(), 1024);
        QCOMPARE(row(dm, "PMEMORY", "PC", "SEQ", 2).value("mb").toInt(), 512);
        QVERIFY(isNull(row(dm, "PMEMORY", "PC", "SEQ", 3), "MB"));
        QCOMPARE(text(row(dm, "PMEMORY", "PC", "SEQ", 3), "DeviceLocator"), QString("DIMM3"));
        QCOMPARE(row(dm, "PMEMORY", "PC", "SEQ", 4).value("mb").toInt(), 0);
        QCOMPARE(text(row(dm, "PMEMORY", "PC", "SEQ", 16), "Speed"), QString("PC3200"));
        QCOMPARE(count(dm, "PMEMORY", "PC"), 5);
        QCOMPARE(text(row(dm, "PC", "PC"), "Memory_Slot"), QString("16"));
    }

    void sharesAndLongKeys_data() { TestStore::addEngineRows(); }
    void sharesAndLongKeys()
    {
        OPEN_STORE();
        // A key longer than the column is cut, and the merge still finds
        // the rows stored under the cut key.
        const QString longKey = QString(20, QChar(0x30AD)); // 40 bytes
        const QString cut = longKey.left(16);
        insert(dm, "Share", {{"KEY", cut}, {"SHAREDNAME", "OLD"}, {"NYURYOKUKBN", "Invaro"}});
        QVERIFY(
            !importFile(dm, importer,
                        SampleFile(longKey).add("Shared", "Resource", "DOCS", "C:\\docs").lines()));
        QCOMPARE(count(dm, "PC", cut), 1);
        QCOMPARE(count(dm, "Share", cut), 1);
        const QVariantMap docs = row(dm, "Share", cut, "SHAREDNAME", "DOCS");
        QCOMPARE(text(docs, "SharedPath"), QString("C:\\docs"));
        QCOMPARE(text(docs, "NyuryokuKBN"), QString("Invaro"));
        QVERIFY(!docs.value("addymd").isNull());
    }

    // Detail rows go under their record's key; the merge runs for the key
    // of the last record only.
    void recordsOfOtherKeys_data() { TestStore::addEngineRows(); }
    void recordsOfOtherKeys()
    {
        OPEN_STORE();
        const QStringList lines {Header, "A,Soft,Application,Word,1,,2024/1/1",
                                 "B,Soft,Application,Excel,1,,2024/1/1",
                                 "C,Soft,Application,Calc,1,,2024/1/1"};
        QVERIFY(!importFile(dm, importer, lines));
        QCOMPARE(count(dm, "PC", "A"), 1);
        QCOMPARE(count(dm, "PC", "B") + count(dm, "PC", "C"), 0);
        QCOMPARE(text(row(dm, "Appli", "B", "APPLI", "Excel"), "NyuryokuKBN"), QString("new"));
        QCOMPARE(text(row(dm, "Appli", "C", "APPLI", "Calc"), "NyuryokuKBN"), QString("Invaro"));
    }

    // A new detail row keeps an empty stamp unless its date is later than
    // the zero date.
    void detailStampOfNewRows_data() { TestStore::addEngineRows(); }
    void detailStampOfNewRows()
    {
        OPEN_STORE();
        const QStringList dates {"0002/1/1", "1899/12/29", "1899/12/30", "x", "1899/12/31"};
        SampleFile file("PC");
        for (const QString &date : dates)
            file.dated(date).add("Hard", "Printer", date, "LPT1:");
        QVERIFY(!importFile(dm, importer, file.lines()));
        for (const QString &date : dates) {
            const QVariant stamp = row(dm, "Printer", "PC", "Printer", date).value("updateymd");
            if (date == "1899/12/31")
                QCOMPARE(asDate(stamp), QDate(1899, 12, 31));
            else
                QVERIFY2(stamp.isNull(), qPrintable(date));
        }
    }

    // A statement the store refuses in the middle of a file undoes its own
    // table's writes, and the tables written before it stay, on every engine.
    void storeRefusalKeepsEarlierTables_data() { TestStore::addEngineRows(); }
    void storeRefusalKeepsEarlierTables()
    {
        OPEN_STORE();
        dm.exec("CREATE UNIQUE INDEX one_port ON Printer (Port)");
        const auto error = importFile(dm, importer,
                                      SampleFile("PC")
                                          .add("Soft", "Application", "Word", "10.0")
                                          .add("Hard", "Printer", "P1", "LPT1:")
                                          .add("Hard", "Printer", "P2", "LPT1:")
                                          .lines());
        QVERIFY(error);
        QCOMPARE(count(dm, "Appli", "PC"), 1);
        QCOMPARE(count(dm, "Printer", "PC"), 0);
        QCOMPARE(count(dm, "PC", "PC"), 0);
    }
};

QTEST_GUILESS_MAIN(TstImportFile)
#include "tst_importfile.moc"
