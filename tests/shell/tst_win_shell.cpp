// The window-free parts of the shell (store connection settings, title,
// default data folder), the message-box recorder, and the small windows:
// read-me, version and help.

#include "base/Cp932.h"
#include "base/OrvaneVersion.h"
#include "base/ProgramPaths.h"
#include "kit/HelpViewer.h"
#include "kit/MessageBoxes.h"
#include "shell/UreadMe.h"
#include "shell/VersionDialog.h"
#include "store/StoreConnection.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

// Receives what the desktop would be asked to open.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};

class TestShell : public QObject
{
    Q_OBJECT

private slots:
    void storeSettingsFromDb_data();
    void storeSettingsFromDb();
    void dbFromStoreSettingsRoundTrip();
    void title_data();
    void title();
    void defaultDataFolder();
    void defaultDataFolderFailures_data();
    void defaultDataFolderFailures();

    void recorderAnswersAndRestores();
    void qtOwnTextsInJapanese();

    void readMeShowsCp932Text();
    void readMeMissingFileOpensEmpty();
    void versionText();
    void helpPrefersCompiledHelp();
    void helpOpensContentsOrReports();
};

static DbSettings db(const QString &type)
{
    DbSettings s;
    s.type = type;
    s.folder = QStringLiteral("/data/PCDB");
    s.ip = QStringLiteral("10.0.0.5");
    s.port = 5432;
    s.name = QStringLiteral("ledger");
    s.user = QStringLiteral("admin");
    s.pass = QStringLiteral("secret");
    return s;
}

void TestShell::storeSettingsFromDb_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("local");
    QTest::newRow("local") << QStringLiteral("local") << true;
    QTest::newRow("remote") << QStringLiteral("remote") << false;
    QTest::newRow("other type is a server") << QStringLiteral("server") << false;
    QTest::newRow("case matters") << QStringLiteral("Local") << false;
    QTest::newRow("empty") << QString() << false;
}

void TestShell::storeSettingsFromDb()
{
    QFETCH(QString, type);
    QFETCH(bool, local);
    const StoreSettings store = StoreConnection::toStoreSettings(db(type));
    QCOMPARE(store.mode, local ? StoreSettings::Mode::Local : StoreSettings::Mode::Remote);
    QCOMPARE(store.folder, QStringLiteral("/data/PCDB"));
    QCOMPARE(store.host, QStringLiteral("10.0.0.5"));
    QCOMPARE(store.port, 5432);
    QCOMPARE(store.database, QStringLiteral("ledger"));
    QCOMPARE(store.user, QStringLiteral("admin"));
    QCOMPARE(store.password, QStringLiteral("secret"));
}

void TestShell::dbFromStoreSettingsRoundTrip()
{
    // A server named by any type comes back as "remote".
    const DbSettings back = StoreConnection::fromStoreSettings(
        StoreConnection::toStoreSettings(db(QStringLiteral("server"))));
    QCOMPARE(back.type, QStringLiteral("remote"));
    QCOMPARE(back.folder, QStringLiteral("/data/PCDB"));
    QCOMPARE(back.ip, QStringLiteral("10.0.0.5"));
    QCOMPARE(back.port, 5432);
    QCOMPARE(back.name, QStringLiteral("ledger"));
    QCOMPARE(back.user, QStringLiteral("admin"));
    QCOMPARE(back.pass, QStringLiteral("secret"));
    QCOMPARE(StoreConnection::fromStoreSettings(
                 StoreConnection::toStoreSettings(db(QStringLiteral("local"))))
                 .type,
             QStringLiteral("local"));
}

void TestShell::title_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("title");
    QTest::newRow("local") << QStringLiteral("local") << QStringLiteral("Orvane - /data/PCDB");
    QTest::newRow("remote") << QStringLiteral("remote")
                            << QStringLiteral("Orvane - 10.0.0.5:ledger");
    QTest::newRow("other type titles the folder")
        << QStringLiteral("server") << QStringLiteral("Orvane - /data/PCDB");
}

void TestShell::title()
{
    QFETCH(QString, type);
    QFETCH(QString, title);
    QCOMPARE(StoreConnection::mainWindowTitle(db(type)), title);
}

void TestShell::defaultDataFolder()
{
    QTemporaryDir dir;
    const QString home = dir.path() + u'/';
    QCOMPARE(StoreConnection::ensureDefaultDataFolder(home), QString());
    QVERIFY(QFileInfo(home + QStringLiteral("PCDB")).isDir());
    // A second start finds it.
    QCOMPARE(StoreConnection::ensureDefaultDataFolder(home), QString());
}

void TestShell::defaultDataFolderFailures_data()
{
    QTest::addColumn<QString>("home");
    QTest::addColumn<bool>("blockWithFile");
    QTest::newRow("a file named PCDB") << QString() << true;
    QTest::newRow("missing parent: one level only") << QStringLiteral("missing/") << false;
}

void TestShell::defaultDataFolderFailures()
{
    QFETCH(QString, home);
    QFETCH(bool, blockWithFile);
    QTemporaryDir dir;
    home = dir.path() + u'/' + home;
    if (blockWithFile) {
        QFile file(home + QStringLiteral("PCDB"));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }
    QCOMPARE(StoreConnection::ensureDefaultDataFolder(home),
             QStringLiteral("Cannot create ") + home + QStringLiteral("PCDB"));
    QVERIFY(!QFileInfo(home + QStringLiteral("PCDB")).isDir());
}

void TestShell::recorderAnswersAndRestores()
{
    MessageBoxes::ScopedRecorder outer(MessageBoxes::Reply::Yes);
    QVERIFY(MessageBoxes::yesNo(nullptr, QStringLiteral("q1")));
    {
        MessageBoxes::ScopedRecorder inner(MessageBoxes::Reply::Cancel);
        QVERIFY(!MessageBoxes::okCancel(nullptr, QStringLiteral("q2")));
        MessageBoxes::error(nullptr, QStringLiteral("e"), QStringLiteral("Caption"));
        QCOMPARE(inner.entries().size(), 2);
        QCOMPARE(inner.entries().at(1).kind, MessageBoxes::Kind::Error);
        QCOMPARE(inner.entries().at(1).caption, QStringLiteral("Caption"));
    }
    // The inner recorder is gone: the outer one records again.
    MessageBoxes::warning(nullptr, QStringLiteral("w"));
    QCOMPARE(outer.texts(), (QStringList {QStringLiteral("q1"), QStringLiteral("w")}));
    QCOMPARE(outer.entries().at(1).caption, QStringLiteral("Orvane"));
    QCOMPARE(outer.entries().at(1).kind, MessageBoxes::Kind::Warning);
}

void TestShell::readMeShowsCp932Text()
{
    QTemporaryDir dir;
    const QString text = QStringLiteral("お読みください\r\nＰＣＤＢ と Orvane.INI ｶﾀｶﾅ\r\n");
    QFile file(dir.filePath(QStringLiteral("readme.txt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Cp932::encode(text));
    file.close();

    MessageBoxes::ScopedRecorder boxes;
    TFreadMe window(ProgramPaths(dir.filePath(QStringLiteral("Orvane")), dir.path()));
    QVERIFY(boxes.entries().isEmpty());
    QCOMPARE(window.windowTitle(), QStringLiteral("お読みください"));
    QVERIFY(window.text().contains(QStringLiteral("ＰＣＤＢ と Orvane.INI ｶﾀｶﾅ")));
    auto *memo = window.findChild<QPlainTextEdit *>();
    QVERIFY(memo && memo->isReadOnly());
    QCOMPARE(memo->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QCOMPARE(memo->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
}

void TestShell::readMeMissingFileOpensEmpty()
{
    QTemporaryDir dir;
    MessageBoxes::ScopedRecorder boxes;
    TFreadMe window(ProgramPaths(dir.filePath(QStringLiteral("Orvane")), dir.path()));
    QCOMPARE(boxes.entries().size(), 1);
    QCOMPARE(boxes.entries().at(0).kind, MessageBoxes::Kind::Error);
    QVERIFY(boxes.entries().at(0).text.contains(QStringLiteral("readme.txt")));
    QVERIFY(window.text().isEmpty());
}

void TestShell::versionText()
{
    QCOMPARE(VersionDialog::versionText(), QStringLiteral("Version " ORVANE_VERSION));
    VersionDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("バージョン情報"));
    QStringList labels;
    for (const QLabel *label : dialog.findChildren<QLabel *>())
        labels.append(label->text());
    QVERIFY(labels.contains(QStringLiteral("Orvane")));
    QVERIFY(labels.contains(QStringLiteral("Version " ORVANE_VERSION)));
}

void TestShell::helpPrefersCompiledHelp()
{
    QTemporaryDir dir;
    const ProgramPaths paths(dir.filePath(QStringLiteral("Orvane")), dir.path());
    QCOMPARE(HelpViewer::contentsFile(paths), dir.filePath(QStringLiteral("help/index.html")));
    QFile chm(dir.filePath(QStringLiteral("ORVANE.chm")));
    QVERIFY(chm.open(QIODevice::WriteOnly));
    chm.close();
    QCOMPARE(HelpViewer::contentsFile(paths), dir.filePath(QStringLiteral("ORVANE.chm")));
}

void TestShell::helpOpensContentsOrReports()
{
    QTemporaryDir dir;
    const ProgramPaths paths(dir.filePath(QStringLiteral("Orvane")), dir.path());
    UrlCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &catcher, "open");
    MessageBoxes::ScopedRecorder boxes;

    // No help at all: an error box with the application title.
    HelpViewer::showContents(nullptr, paths);
    QCOMPARE(boxes.entries().size(), 1);
    QCOMPARE(boxes.entries().at(0).caption, QStringLiteral("Orvane"));
    QVERIFY(catcher.urls.isEmpty());

    QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("help")));
    QFile index(dir.filePath(QStringLiteral("help/index.html")));
    QVERIFY(index.open(QIODevice::WriteOnly));
    index.close();
    HelpViewer::showContents(nullptr, paths);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    QCOMPARE(boxes.entries().size(), 1);
    QCOMPARE(catcher.urls,
             QList<QUrl> {QUrl::fromLocalFile(dir.filePath(QStringLiteral("help/index.html")))});
}

// Yes/No and the file dialogs come from Qt's own translation.
void TestShell::qtOwnTextsInJapanese()
{
    QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("はい(&Y)"));
    QCOMPARE(QCoreApplication::translate("QFileDialog", "File &name:"),
             QStringLiteral("ファイル名(&N):"));
}

QTEST_MAIN(TestShell)
#include "tst_win_shell.moc"
