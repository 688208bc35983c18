// The store connection window: its controls, the failures that keep the
// main window's settings, and a switch that succeeds.

#include "TestStores.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "shell/UDBSetting.h"
#include "store/StoreConnection.h"
#include "store/UDMdata.h"

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

namespace {

// The fixed text, and the reason on a second line.
const QString ConnectFailed = QStringLiteral("データベースへの接続に失敗しました\n"
                                             "サーバー 127.0.0.1（ポート 1）が応答しません。");

} // namespace

class TestDBSetting : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void opensWithMainSettings_data();
    void opensWithMainSettings();
    void radioButtonsSwitchEnabling();
    void badPortLeavesStoreClosed();
    void unreachableServerReopensPreviousStore();
    void localSwitchChangesMainSettings();
    void cancelChangesNothing();
    void failedSwitchDoesNotAskAgainForTheStoreLeft();
    void loginWithoutRightsKeepsThePreviousStore();

private:
    template <typename T> T *child(TFDBSetting &window, const char *name)
    {
        T *widget = window.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    ProgramPaths paths() const
    {
        return ProgramPaths(m_dir->filePath(QStringLiteral("Orvane")), m_dir->path());
    }
    void chooseServer(TFDBSetting &window, const QString &port);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TDMdata> m_dm;
    DbSettings m_main;
    QString m_folderA;
};

void TestDBSetting::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    m_folderA = m_dir->filePath(QStringLiteral("a"));
    QVERIFY(QDir().mkdir(m_folderA));
    m_main = DbSettings();
    m_main.folder = m_folderA;
    m_main.ip = QStringLiteral("192.168.0.9");
    m_main.name = QStringLiteral("ledger");
    m_dm = std::make_unique<TDMdata>();
    m_dm->setSettings(StoreConnection::toStoreSettings(m_main));
    m_dm->open();
    QVERIFY(m_dm->isConnected());
}

void TestDBSetting::cleanup()
{
    m_dm.reset();
    m_dir.reset();
}

void TestDBSetting::chooseServer(TFDBSetting &window, const QString &port)
{
    child<QRadioButton>(window, "ServerRB")->setChecked(true);
    child<QLineEdit>(window, "IPEDT")->setText(QStringLiteral("127.0.0.1"));
    child<QLineEdit>(window, "PortEDT")->setText(port);
    child<QLineEdit>(window, "DBNameEDT")->setText(QStringLiteral("ledger"));
    child<QLineEdit>(window, "UserEDT")->setText(QStringLiteral("admin"));
    child<QLineEdit>(window, "PassEDT")->setText(QStringLiteral("pw"));
}

void TestDBSetting::opensWithMainSettings_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<bool>("local");
    QTest::newRow("local") << QStringLiteral("local") << true;
    QTest::newRow("remote") << QStringLiteral("remote") << false;
    QTest::newRow("any other type") << QStringLiteral("x") << false;
}

void TestDBSetting::opensWithMainSettings()
{
    QFETCH(QString, type);
    QFETCH(bool, local);
    m_main.type = type;
    m_main.port = 5433;
    m_main.user = QStringLiteral("admin");
    m_main.pass = QStringLiteral("pw");
    TFDBSetting window(*m_dm, m_main, paths());
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("データベース接続"));
    QCOMPARE(child<QRadioButton>(window, "LocalRB")->isChecked(), local);
    QCOMPARE(child<QRadioButton>(window, "ServerRB")->isChecked(), !local);
    QCOMPARE(child<QLineEdit>(window, "FolderEDT")->text(), m_folderA);
    QCOMPARE(child<QLineEdit>(window, "IPEDT")->text(), QStringLiteral("192.168.0.9"));
    QCOMPARE(child<QLineEdit>(window, "PortEDT")->text(), QStringLiteral("5433"));
    QCOMPARE(child<QLineEdit>(window, "DBNameEDT")->text(), QStringLiteral("ledger"));
    QCOMPARE(child<QLineEdit>(window, "UserEDT")->text(), QStringLiteral("admin"));
    QCOMPARE(child<QLineEdit>(window, "PassEDT")->text(), QStringLiteral("pw"));
    QCOMPARE(child<QLineEdit>(window, "PassEDT")->displayText(), QStringLiteral("**"));
    QCOMPARE(child<QLineEdit>(window, "FolderEDT")->isEnabled(), local);
    QCOMPARE(child<QLineEdit>(window, "PortEDT")->isEnabled(), !local);
}

void TestDBSetting::radioButtonsSwitchEnabling()
{
    TFDBSetting window(*m_dm, m_main, paths());
    window.show();
    const char *serverBoxes[] = {"IPEDT", "PortEDT", "DBNameEDT", "UserEDT", "PassEDT"};
    child<QRadioButton>(window, "ServerRB")->setChecked(true);
    QVERIFY(!child<QLineEdit>(window, "FolderEDT")->isEnabled());
    for (const char *name : serverBoxes)
        QVERIFY2(child<QLineEdit>(window, name)->isEnabled(), name);
    QVERIFY(child<QPushButton>(window, "FolderBTN")->isEnabled());
    child<QRadioButton>(window, "LocalRB")->setChecked(true);
    QVERIFY(child<QLineEdit>(window, "FolderEDT")->isEnabled());
    for (const char *name : serverBoxes)
        QVERIFY2(!child<QLineEdit>(window, name)->isEnabled(), name);
    QVERIFY(child<QPushButton>(window, "FolderBTN")->isEnabled());
}

void TestDBSetting::badPortLeavesStoreClosed()
{
    const DbSettings before = m_main;
    MessageBoxes::ScopedRecorder boxes;
    TFDBSetting window(*m_dm, m_main, paths());
    window.show();
    chooseServer(window, QStringLiteral("abc"));
    child<QPushButton>(window, "ConnectBTN")->click();
    QCOMPARE(boxes.texts(), QStringList {QStringLiteral("'abc' は整数ではありません")});
    QVERIFY(!m_dm->isConnected());
    QVERIFY(window.isVisible());
    QCOMPARE(m_main.type, before.type);
    QCOMPARE(m_main.folder, before.folder);

    // Choosing the local folder again connects.
    child<QRadioButton>(window, "LocalRB")->setChecked(true);
    child<QPushButton>(window, "ConnectBTN")->click();
    QVERIFY(m_dm->isConnected());
    QCOMPARE(window.result(), int(QDialog::Accepted));
}

void TestDBSetting::unreachableServerReopensPreviousStore()
{
    MessageBoxes::ScopedRecorder boxes;
    TFDBSetting window(*m_dm, m_main, paths());
    window.show();
    chooseServer(window, QStringLiteral("1"));
    child<QPushButton>(window, "ConnectBTN")->click();
    QCOMPARE(boxes.texts(), QStringList {ConnectFailed});
    QVERIFY(window.isVisible());
    QVERIFY(m_dm->isConnected());
    QCOMPARE(m_dm->settings().mode, StoreSettings::Mode::Local);
    QCOMPARE(m_dm->settings().folder, m_folderA);
    QCOMPARE(m_main.type, QStringLiteral("local"));
    QCOMPARE(m_main.ip, QStringLiteral("192.168.0.9"));
    QCOMPARE(m_main.port, 12005);

    // Cancel then leaves the old store in use.
    child<QPushButton>(window, "CancelBTN")->click();
    QVERIFY(!window.isVisible());
    QVERIFY(m_dm->isConnected());
    QCOMPARE(m_dm->settings().folder, m_folderA);
}

void TestDBSetting::localSwitchChangesMainSettings()
{
    const QString folderB = m_dir->filePath(QStringLiteral("b"));
    QVERIFY(QDir().mkdir(folderB));
    m_main.type = QStringLiteral("remote");
    MessageBoxes::ScopedRecorder boxes;
    TFDBSetting window(*m_dm, m_main, paths());
    window.show();
    child<QRadioButton>(window, "LocalRB")->setChecked(true);
    child<QLineEdit>(window, "FolderEDT")->setText(folderB);
    child<QPushButton>(window, "ConnectBTN")->click();
    QVERIFY(boxes.entries().isEmpty());
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(m_main.type, QStringLiteral("local"));
    QCOMPARE(m_main.folder, folderB);
    // The server fields keep what the window showed.
    QCOMPARE(m_main.ip, QStringLiteral("192.168.0.9"));
    QVERIFY(m_dm->isConnected());
    QVERIFY(QFileInfo::exists(TDMdata::localDatabaseFile(folderB)));
}

void TestDBSetting::cancelChangesNothing()
{
    TFDBSetting window(*m_dm, m_main, paths());
    window.show();
    child<QLineEdit>(window, "FolderEDT")->setText(QStringLiteral("/elsewhere"));
    child<QPushButton>(window, "CancelBTN")->click();
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QCOMPARE(m_main.folder, m_folderA);
    QVERIFY(m_dm->isConnected());
}

void TestDBSetting::failedSwitchDoesNotAskAgainForTheStoreLeft()
{
    TestStore store(int(TestStore::Kind::PostgreSQL));
    ORVANE_REQUIRE_STORE(store);
    // A server store whose user was given at a login prompt.
    StoreSettings server = store.settings();
    const QString user = server.user;
    server.user.clear();
    QStringList askedFor;
    m_dm->setLoginPrompt([&](QString &name, QString &) {
        askedFor << QString::number(m_dm->settings().port);
        name = user;
        return true;
    });
    m_dm->setSettings(server);
    m_dm->open();
    m_main = StoreConnection::fromStoreSettings(server);

    MessageBoxes::ScopedRecorder boxes;
    TFDBSetting window(*m_dm, m_main, paths());
    window.show();
    chooseServer(window, QStringLiteral("1"));
    child<QLineEdit>(window, "UserEDT")->clear();
    child<QPushButton>(window, "ConnectBTN")->click();
    // Asked for the new store only; the store left opens with its login.
    QCOMPARE(askedFor, (QStringList {QString::number(server.port), QStringLiteral("1")}));
    QCOMPARE(boxes.texts(), QStringList {ConnectFailed});
    QVERIFY(m_dm->isConnected());
    QCOMPARE(m_dm->settings().port, server.port);
}

void TestDBSetting::loginWithoutRightsKeepsThePreviousStore()
{
    TestStore store(int(TestStore::Kind::PostgreSQL));
    ORVANE_REQUIRE_STORE(store);
    TDMdata owner;
    openCheckedStore(owner, store.settings());
    const QString role
        = QStringLiteral("orvane_r_") + QUuid::createUuid().toString(QUuid::Id128).left(12);
    owner.exec(QStringLiteral("CREATE ROLE %1 LOGIN").arg(role));
    const auto dropRole = qScopeGuard([&] {
        owner.close();
        TDMdata server;
        server.setSettings(TestStore::postgresServer(QStringLiteral("postgres")));
        server.open();
        server.exec(QStringLiteral("DROP ROLE %1").arg(role));
    });

    const DbSettings before = m_main;
    MessageBoxes::ScopedRecorder boxes;
    {
        TFDBSetting window(*m_dm, m_main, paths());
        window.show();
        child<QRadioButton>(window, "ServerRB")->setChecked(true);
        child<QLineEdit>(window, "IPEDT")->setText(store.settings().host);
        child<QLineEdit>(window, "PortEDT")->setText(QString::number(store.settings().port));
        child<QLineEdit>(window, "DBNameEDT")->setText(store.settings().database);
        child<QLineEdit>(window, "UserEDT")->setText(role);
        child<QPushButton>(window, "ConnectBTN")->click();
        QVERIFY(window.isVisible());
    }
    QCOMPARE(boxes.texts().size(), 1);
    QVERIFY2(
        boxes.texts().at(0).startsWith(
            QStringLiteral("データベースへの接続に失敗しました\nユーザー %1 には、データベース %2 "
                           "のテーブルを読み書きする権限がありません（PC、")
                .arg(role, store.settings().database)),
        qPrintable(boxes.texts().at(0)));
    QCOMPARE(m_main.type, before.type);
    QCOMPARE(m_dm->settings().mode, StoreSettings::Mode::Local);
    QVERIFY(m_dm->isConnected());
}

QTEST_MAIN(TestDBSetting)
#include "tst_win_dbsetting.moc"
