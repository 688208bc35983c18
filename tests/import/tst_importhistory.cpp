// The import's history and its preview: what a file changes is recorded
// with it, an unchanged file records nothing, the preview writes nothing and
// counts what the import then records, and an import killed half-way leaves
// each file's rows and its lines both in the store or neither.

#include "HistoryLines.h"
#include "ImportTestSupport.h"
#include "SampleGenerator.h"
#include "TestStores.h"
#include "import/ImportPreview.h"
#include "import/ImportRun.h"
#include "store/HistoryRecorder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

class Silent : public ImportObserver
{
public:
    void progress(const QString &) override { }
    void fileMessage(const QString &text) override { messages << text; }
    void fatal(const QString &text) override { messages << text; }
    QStringList messages;
};

ImportOptions options()
{
    ImportOptions o;
    o.network1 = {u"127.0.0.1"_s, u"0.0.0.0"_s};
    o.network2 = o.network1;
    return o;
}

// Every table of the store, each as its rows' texts, sorted.
QMap<QString, QStringList> contents(TDMdata &dm)
{
    QMap<QString, QStringList> out;
    for (const QString &table : dm.database().tables(QSql::Tables)) {
        QStringList texts;
        for (const QVariantMap &r : rows(dm, u"SELECT * FROM "_s + table)) {
            QStringList cells;
            for (auto it = r.cbegin(); it != r.cend(); ++it)
                cells << it.key() + u'=' + it.value().toString();
            texts << cells.join(u'|');
        }
        texts.sort();
        out.insert(table.toLower(), texts);
    }
    return out;
}

SampleFile pcFile(const QString &key, const QString &memoryKb, const QStringList &apps,
                  const QString &user = u"yamada"_s)
{
    SampleFile f(key);
    f.add(u"Hard"_s, u"メモリ"_s, u"全容量"_s, memoryKb, u"KB"_s)
        .add(u"LAN"_s, u"LAN"_s, u"ユーザー名"_s, user);
    for (const QString &app : apps)
        f.add(u"Soft"_s, u"Application"_s, app, u"11.0"_s);
    return f;
}

void importFolder(TDMdata &dm, const QString &folder)
{
    Silent silent;
    const ImportSummary s = ImportRun(dm, silent).run(folder, options());
    QVERIFY2(s.failed == 0 && !s.stopped, qPrintable(silent.messages.join(u'\n')));
}

// The test program run as a second process that imports a folder until it
// is killed.
int importUntilKilled(const QString &where, const QString &folder)
{
    StoreSettings settings = TestStore::postgresServer(where);
    if (where.startsWith(u'/')) {
        settings = StoreSettings();
        settings.folder = where;
    }
    TDMdata dm;
    dm.setSettings(settings);
    dm.open();
    Silent silent;
    ImportRun(dm, silent).run(folder, options());
    return 0;
}

} // namespace

class TstImportHistory : public QObject
{
    Q_OBJECT

private slots:
    void changesAreRecorded_data() { TestStore::addEngineRows(); }
    void changesAreRecorded()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openStore(dm, store.settings());
        QTemporaryDir folder;
        const QString file = folder.filePath(u"A.csv"_s);

        // A new PC is one line, without its detail rows.
        pcFile(u"A"_s, u"8388608"_s, {u"Word"_s, u"Excel"_s}).write(file);
        importFolder(dm, folder.path());
        QCOMPARE(historyLines(dm), QStringList {u"取込|A|PC||||追加"_s});

        // The same file again changes nothing and records nothing.
        importFolder(dm, folder.path());
        QCOMPARE(historyLines(dm).size(), 1);

        // A changed value, an application added and one gone.
        pcFile(u"A"_s, u"4194304"_s, {u"Word"_s, u"Access"_s}).write(file);
        importFolder(dm, folder.path());
        QCOMPARE(historyLines(dm).mid(1),
                 (QStringList {u"取込|A|PC||Mem_All|8388608|4194304"_s,
                               u"取込|A|Appli|Access|||追加"_s, u"取込|A|Appli|Excel|||削除"_s}));
        const QVariantMap line = rows(dm, u"SELECT * FROM History ORDER BY Id DESC"_s).first();
        QVERIFY(line.value(u"who"_s).toString().contains(u'@'));
        QVERIFY(asDateTime(line.value(u"at"_s)).isValid());
    }

    void previewWritesNothingAndCountsWhatIsRecorded_data() { TestStore::addEngineRows(); }
    void previewWritesNothingAndCountsWhatIsRecorded()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openStore(dm, store.settings());
        QTemporaryDir first, second;
        pcFile(u"A"_s, u"8388608"_s, {u"Word"_s, u"Excel"_s}).write(first.filePath(u"A.csv"_s));
        pcFile(u"B"_s, u"8388608"_s, {u"Word"_s}).write(first.filePath(u"B.csv"_s));
        importFolder(dm, first.path());
        // By hand: A's Word is taken over by the next import; B's user typed
        // in the ledger is overwritten by it.
        dm.exec(u"UPDATE Appli SET NyuryokuKBN = '手入力' WHERE Key = 'A' AND Appli = 'Word'"_s);
        dm.exec(u"UPDATE PC SET user = 'suzuki' WHERE Key = 'B'"_s);
        {
            HistoryRecorder hand(dm, History::manual());
            hand.valueChanged(TableId::PC, u"B"_s, {}, {u"user"_s, u"yamada"_s, u"suzuki"_s});
        }

        pcFile(u"A"_s, u"4194304"_s, {u"Word"_s, u"Access"_s}).write(second.filePath(u"A.csv"_s));
        pcFile(u"B"_s, u"8388608"_s, {u"Word"_s}, u"sato"_s).write(second.filePath(u"B.csv"_s));
        // A new PC, whose file holds a NUL byte the import would rewrite.
        QByteArray withNul = pcFile(u"C"_s, u"8388608"_s, {u"Word"_s}).bytes();
        withNul.insert(withNul.indexOf("Word") + 2, '\0');
        SampleFile::writeFile(second.filePath(u"C.csv"_s), withNul);

        const QMap<QString, QStringList> before = contents(dm);
        Silent silent;
        ImportPreview preview(dm);
        const ImportSummary s = ImportRun(dm, silent).preview(second.path(), options(), preview);
        QCOMPARE(s.imported, 3);
        QCOMPARE(contents(dm), before);
        QFile c(second.filePath(u"C.csv"_s));
        QVERIFY(c.open(QIODevice::ReadOnly));
        QCOMPARE(c.readAll(), withNul);
        c.close();

        QStringList counted;
        for (const ImportPreview::Line &l : preview.lines())
            counted << u"%1 %2 %3 +%4 ~%5 -%6 h%7"_s.arg(l.file, l.key, l.table)
                           .arg(l.added)
                           .arg(l.changed)
                           .arg(l.removed)
                           .arg(l.hand);
        QCOMPARE(counted,
                 (QStringList {u"A.csv A PC +0 ~1 -0 h0"_s, u"A.csv A Appli +1 ~1 -1 h1"_s,
                               u"B.csv B PC +0 ~1 -0 h1"_s, u"C.csv C PC +1 ~0 -0 h0"_s,
                               u"C.csv C Appli +1 ~0 -0 h0"_s}));
        QCOMPARE(preview.total().changed, 3);

        // The import records what the preview counted: per PC and table the
        // rows added, changed and removed; a PC added is one line.
        const int recorded = historyLines(dm).size();
        importFolder(dm, second.path());
        const QStringList lines = historyLines(dm).mid(recorded);
        for (const ImportPreview::Line &l : preview.lines()) {
            if (l.key == u"C"_s)
                continue;
            QSet<QString> added, changed, removed;
            for (const QString &line : lines) {
                const QStringList f = line.split(u'|');
                if (f[1] != l.key || f[2] != l.table)
                    continue;
                (f[4].isEmpty() ? (f[6] == History::addedText() ? added : removed) : changed)
                    .insert(f[3]);
            }
            QCOMPARE(added.size(), l.added);
            QCOMPARE(changed.size(), l.changed);
            QCOMPARE(removed.size(), l.removed);
        }
        QCOMPARE(lines.filter(u"|C|"_s), QStringList {u"取込|C|PC||||追加"_s});
    }

    // The import run by another process is killed with SIGKILL half-way: a
    // PC whose file made it has its lines, the others have none.
    void killedImportKeepsRowsAndLinesTogether_data() { TestStore::addEngineRows(); }
    void killedImportKeepsRowsAndLinesTogether()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openStore(dm, store.settings());
        QTemporaryDir first, second;
        const int files = 300;
        SampleGenerator::Options o;
        o.minApplications = 60;
        o.maxApplications = 120;
        QVERIFY(SampleGenerator(o).writeFolder(first.path(), 0, files) > 0);
        importFolder(dm, first.path());
        dm.exec(u"DELETE FROM History"_s);
        // Other values, and a later date, for every PC.
        o.seed = 2;
        o.date = o.date.addDays(1);
        QVERIFY(SampleGenerator(o).writeFolder(second.path(), 0, files) > 0);
        const QString newDay = TableImage::dateText(o.date);

        QProcess child;
        const StoreSettings s = store.settings();
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--import"_s, s.mode == StoreSettings::Mode::Local ? s.folder : s.database,
                     second.path()});
        QVERIFY(child.waitForStarted(10000));
        QElapsedTimer waited;
        waited.start();
        const QString done = u"SELECT COUNT(*) FROM PC WHERE InvaroYMD = :D"_s;
        while (scalar(dm, done, {{u":D"_s, newDay}}).toInt() < files / 10
               && waited.elapsed() < 60000)
            QThread::msleep(20);
        child.kill();
        QVERIFY(child.waitForFinished(10000));

        int imported = 0;
        for (const QVariantMap &pc : rows(dm, u"SELECT Key, InvaroYMD FROM PC"_s)) {
            const QString key = pc.value(u"key"_s).toString();
            const bool isNew = asDate(pc.value(u"invaroymd"_s)) == o.date;
            const int lines = count(dm, u"History"_s, key);
            QVERIFY2(isNew == (lines > 0), qPrintable(key));
            imported += isNew ? 1 : 0;
        }
        QVERIFY(imported >= files / 10);
        qInfo("%d of %d files imported when the import was killed", imported, files);
    }
};

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--import") == 0) {
        QCoreApplication app(argc, argv);
        return importUntilKilled(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    TstImportHistory test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_importhistory.moc"
