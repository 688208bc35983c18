// The options window: its controls, the update button that works at once on
// the edited networks, and what "O K" and "ｷｬﾝｾﾙ" do to the main window's
// settings.

#include "TestStores.h"
#include "app/MainMenu.h"
#include "app/Umain.h"
#include "base/IniFile.h"
#include "base/ProgramPaths.h"
#include "import/windows/Uoption.h"
#include "kit/MessageBoxes.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

const QString NotConnected = QStringLiteral("データベースに接続していません");

NetSettings someNetworks()
{
    NetSettings net;
    net.ipAddr = QStringLiteral("192.168.0.11");
    net.subNetMask = QStringLiteral("255.255.255.0");
    net.ipAddr2 = QStringLiteral("10.1.0.0");
    net.subNetMask2 = QStringLiteral("255.255.0.0");
    return net;
}

template <typename T> T *child(QWidget &window, const char *name)
{
    T *widget = window.findChild<T *>(QLatin1String(name));
    if (!widget)
        qFatal("no control %s", name);
    return widget;
}

void setNetworks(QWidget &window, const NetSettings &net)
{
    child<QLineEdit>(window, "IPaddrEDT")->setText(net.ipAddr);
    child<QLineEdit>(window, "SubNetMaskEDT")->setText(net.subNetMask);
    child<QLineEdit>(window, "IPaddr2EDT")->setText(net.ipAddr2);
    child<QLineEdit>(window, "SubNetMask2EDT")->setText(net.subNetMask2);
}

bool sameNetworks(const NetSettings &a, const NetSettings &b)
{
    return a.ipAddr == b.ipAddr && a.subNetMask == b.subNetMask && a.ipAddr2 == b.ipAddr2
        && a.subNetMask2 == b.subNetMask2;
}

} // namespace

class TestOption : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void escapeRejects();
    void updateWithoutStore();
    void updateShowsStoreError();
    void updateUsesEditedNetworksAndCancelKeepsSettings();
    void okChangesSettingsButNeverWritesAppliDel();

private:
    ProgramPaths paths() const
    {
        return ProgramPaths(m_dir->filePath(QStringLiteral("Orvane")), m_dir->path());
    }
    void openStore(TDMdata &dm);
    // Shows the options window from the main window's menu and lets drive
    // work on it while it is open.
    static void runOptions(TFmain &main, const std::function<void(QWidget &)> &drive);
    static QString pcIp(TDMdata &dm, const QString &key);
    static void addPcWithAdapters(TDMdata &dm);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestOption::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestOption::cleanup()
{
    m_dir.reset();
}

void TestOption::openStore(TDMdata &dm)
{
    StoreSettings settings;
    settings.folder = m_dir->path();
    openCheckedStore(dm, settings);
}

void TestOption::runOptions(TFmain &main, const std::function<void(QWidget &)> &drive)
{
    bool driven = false;
    QTimer::singleShot(0, &main, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        QCOMPARE(modal->windowTitle(), QStringLiteral("オプション"));
        drive(*modal);
        driven = true;
        // Whatever drive did, the window must not stay open.
        if (modal->isVisible())
            qobject_cast<QDialog *>(modal)->reject();
    });
    main.mainMenu()->option->trigger();
    QVERIFY(driven);
}

QString TestOption::pcIp(TDMdata &dm, const QString &key)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT IP FROM PC WHERE KEY = :KEY"),
                          {{QStringLiteral(":KEY"), key}});
    return q.next() ? q.value(0).toString() : QStringLiteral("<no row>");
}

// A PC showing its first adapter, with a second one in another network.
void TestOption::addPcWithAdapters(TDMdata &dm)
{
    dm.exec(QStringLiteral("INSERT INTO PC (KEY, IP) VALUES (:KEY, :IP)"),
            {{QStringLiteral(":KEY"), QStringLiteral("pc1")},
             {QStringLiteral(":IP"), QStringLiteral("192.168.1.5")}});
    const QList<QPair<QString, QString>> adapters = {
        {QStringLiteral("192.168.1.5"), QStringLiteral("C0A80105")},
        {QStringLiteral("10.0.0.7"), QStringLiteral("0A000007")},
    };
    int seq = 0;
    for (const auto &[ip, ip16] : adapters) {
        dm.exec(
            QStringLiteral("INSERT INTO LAN (KEY, SEQ, IP, IP16) VALUES (:KEY, :SEQ, :IP, :IP16)"),
            {{QStringLiteral(":KEY"), QStringLiteral("pc1")},
             {QStringLiteral(":SEQ"), ++seq},
             {QStringLiteral(":IP"), ip},
             {QStringLiteral(":IP16"), ip16}});
    }
}

void TestOption::controls_data()
{
    QTest::addColumn<bool>("appliDel");
    QTest::newRow("AppliDel on") << true;
    QTest::newRow("AppliDel off") << false;
}

void TestOption::controls()
{
    QFETCH(bool, appliDel);
    TFoption window(nullptr, appliDel, someNetworks(), paths());
    window.show();
    QCOMPARE(window.windowTitle(), QStringLiteral("オプション"));
    QCOMPARE(window.internalName(), QStringLiteral("Foption"));
    QTabWidget *pages = window.pages();
    QCOMPARE(pages->count(), 2);
    QCOMPARE(pages->tabText(0), QStringLiteral("ﾃﾞｰﾀ読込"));
    QCOMPARE(pages->tabText(1), QStringLiteral("ネットワーク"));
    QCOMPARE(pages->currentIndex(), 1);

    QStringList importLabels;
    for (const QLabel *label : pages->widget(0)->findChildren<QLabel *>())
        importLabels << label->text();
    QCOMPARE(importLabels,
             (QStringList {QStringLiteral("Invaroﾃﾞｰﾀ読み込み時の設定です"),
                           QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝﾃﾞｰﾀ")}));
    QCOMPARE(child<QCheckBox>(window, "AppliDelCB")->text(),
             QStringLiteral("ｱﾝｲﾝｽﾄｰﾙされたｱﾌﾟﾘｹｰｼｮﾝは削除する"));
    QCOMPARE(child<QCheckBox>(window, "AppliDelCB")->isChecked(), appliDel);

    QStringList networkLabels;
    for (const QLabel *label : pages->widget(1)->findChildren<QLabel *>())
        networkLabels << label->text();
    QCOMPARE(networkLabels,
             (QStringList {QStringLiteral("パソコン一覧に表示するネットワーク情報"),
                           QStringLiteral("IP ｱﾄﾞﾚｽ(例：192.168.0.11)"),
                           QStringLiteral("ｻﾌﾞﾈｯﾄﾏｽｸ(例：255.255.255.0)")}));
    QCOMPARE(child<QLineEdit>(window, "IPaddrEDT")->text(), QStringLiteral("192.168.0.11"));
    QCOMPARE(child<QLineEdit>(window, "SubNetMaskEDT")->text(), QStringLiteral("255.255.255.0"));
    QCOMPARE(child<QLineEdit>(window, "IPaddr2EDT")->text(), QStringLiteral("10.1.0.0"));
    QCOMPARE(child<QLineEdit>(window, "SubNetMask2EDT")->text(), QStringLiteral("255.255.0.0"));
    auto *note = child<QPlainTextEdit>(window, "NoteMEMO");
    QVERIFY(note->isReadOnly());
    QCOMPARE(note->toPlainText().split(u'\n'),
             (QStringList {QStringLiteral("一台のパソコンに複数のネットワークアダプタがある"),
                           QStringLiteral("場合上記のサブネットに存在するネットワークアダプ"),
                           QStringLiteral("タの情報をパソコン一覧に表示します。")}));
    QCOMPARE(child<QPushButton>(window, "UpdateBTN")->text(),
             QStringLiteral("上記設定でパソコン一覧を更新"));
    QCOMPARE(child<QPushButton>(window, "OkBTN")->text(), QStringLiteral("O K"));
    QCOMPARE(child<QPushButton>(window, "CancelBTN")->text(), QStringLiteral("ｷｬﾝｾﾙ"));

    // The values given back are the boxes' values, checked or not.
    child<QCheckBox>(window, "AppliDelCB")->setChecked(!appliDel);
    child<QLineEdit>(window, "SubNetMask2EDT")->setText(QStringLiteral("not a mask"));
    QCOMPARE(window.appliDel(), !appliDel);
    QCOMPARE(window.networks().subNetMask2, QStringLiteral("not a mask"));
    QCOMPARE(window.networks().ipAddr, QStringLiteral("192.168.0.11"));
}

void TestOption::escapeRejects()
{
    TFoption window(nullptr, true, someNetworks(), paths());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(child<QLineEdit>(window, "IPaddrEDT"), Qt::Key_Escape);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

void TestOption::updateWithoutStore()
{
    MessageBoxes::ScopedRecorder boxes;
    TDMdata closed;
    for (TDMdata *dm : {static_cast<TDMdata *>(nullptr), &closed}) {
        TFoption window(dm, true, someNetworks(), paths());
        window.show();
        child<QPushButton>(window, "UpdateBTN")->click();
        QVERIFY(window.isVisible());
    }
    QCOMPARE(boxes.texts(), (QStringList {NotConnected, NotConnected}));
}

void TestOption::updateShowsStoreError()
{
    TDMdata dm;
    openStore(dm);
    dm.exec(QStringLiteral("DROP TABLE LAN"));
    MessageBoxes::ScopedRecorder boxes;
    TFoption window(&dm, true, someNetworks(), paths());
    window.show();
    child<QPushButton>(window, "UpdateBTN")->click();
    QCOMPARE(boxes.entries().size(), 1);
    QCOMPARE(boxes.entries().at(0).kind, MessageBoxes::Kind::Error);
    QVERIFY(!boxes.entries().at(0).text.isEmpty());
    QVERIFY(boxes.entries().at(0).text != NotConnected);
    QVERIFY(window.isVisible());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestOption::updateUsesEditedNetworksAndCancelKeepsSettings()
{
    {
        IniFile ini(paths().iniPath());
        const NetSettings net = someNetworks();
        ini.writeString(QStringLiteral("Net"), QStringLiteral("IPaddr"), net.ipAddr);
        ini.writeString(QStringLiteral("Net"), QStringLiteral("SubNetMask"), net.subNetMask);
        ini.writeString(QStringLiteral("Net"), QStringLiteral("IPaddr2"), net.ipAddr2);
        ini.writeString(QStringLiteral("Net"), QStringLiteral("SubNetMask2"), net.subNetMask2);
        QVERIFY(ini.updateFile());
    }
    MessageBoxes::ScopedRecorder boxes;
    TFmain main(paths());
    main.show();
    QTRY_VERIFY(main.isStartupDone());
    main.finishReading();
    TDMdata &dm = *main.dataModule();
    addPcWithAdapters(dm);

    runOptions(main, [&](QWidget &window) {
        NetSettings edited;
        edited.ipAddr = QStringLiteral("10.0.0.0");
        edited.subNetMask = QStringLiteral("255.0.0.0");
        edited.ipAddr2 = QStringLiteral("10.0.0.0");
        edited.subNetMask2 = QStringLiteral("255.0.0.0");
        setNetworks(window, edited);
        child<QCheckBox>(window, "AppliDelCB")->setChecked(false);
        child<QPushButton>(window, "UpdateBTN")->click();
        // The PC shows its adapter in the edited network at once.
        QCOMPARE(pcIp(dm, QStringLiteral("pc1")), QStringLiteral("10.0.0.7"));
        QVERIFY(window.isVisible());
        child<QPushButton>(window, "CancelBTN")->click();
    });
    QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
    // Cancel keeps the updated rows and changes none of the settings.
    QCOMPARE(pcIp(dm, QStringLiteral("pc1")), QStringLiteral("10.0.0.7"));
    QVERIFY(main.settings().appliDel);
    QVERIFY(sameNetworks(main.settings().net, someNetworks()));
}

void TestOption::okChangesSettingsButNeverWritesAppliDel()
{
    {
        IniFile ini(paths().iniPath());
        ini.writeString(QStringLiteral("Option"), QStringLiteral("AppliDel"), QStringLiteral("1"));
        QVERIFY(ini.updateFile());
    }
    NetSettings confirmed;
    confirmed.ipAddr = QStringLiteral("172.16.0.1");
    confirmed.subNetMask = QStringLiteral("255.255.0.0");
    confirmed.ipAddr2 = QStringLiteral("192.168.5.1");
    confirmed.subNetMask2 = QStringLiteral("255.255.255.0");

    MessageBoxes::ScopedRecorder boxes;
    {
        TFmain main(paths());
        main.show();
        QTRY_VERIFY(main.isStartupDone());
        main.finishReading();
        QVERIFY(main.settings().appliDel);
        TDMdata &dm = *main.dataModule();
        addPcWithAdapters(dm);

        runOptions(main, [&](QWidget &window) {
            setNetworks(window, confirmed);
            child<QCheckBox>(window, "AppliDelCB")->setChecked(false);
            child<QPushButton>(window, "OkBTN")->click();
            QVERIFY(!window.isVisible());
        });
        QVERIFY(!main.settings().appliDel);
        QVERIFY(sameNetworks(main.settings().net, confirmed));
        // "O K" alone runs no network selection.
        QCOMPARE(pcIp(dm, QStringLiteral("pc1")), QStringLiteral("192.168.1.5"));

        // The next opening shows the confirmed values.
        runOptions(main, [&](QWidget &window) {
            QVERIFY(!child<QCheckBox>(window, "AppliDelCB")->isChecked());
            QCOMPARE(child<QLineEdit>(window, "IPaddrEDT")->text(), confirmed.ipAddr);
            QCOMPARE(child<QLineEdit>(window, "SubNetMask2EDT")->text(), confirmed.subNetMask2);
        });
        main.close();
    }
    QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
    const IniFile ini(paths().iniPath());
    QCOMPARE(ini.readString(QStringLiteral("Option"), QStringLiteral("AppliDel"), QString()),
             QStringLiteral("1"));
    QCOMPARE(ini.readString(QStringLiteral("Net"), QStringLiteral("IPaddr"), QString()),
             confirmed.ipAddr);
    QCOMPARE(ini.readString(QStringLiteral("Net"), QStringLiteral("SubNetMask"), QString()),
             confirmed.subNetMask);
    QCOMPARE(ini.readString(QStringLiteral("Net"), QStringLiteral("IPaddr2"), QString()),
             confirmed.ipAddr2);
    QCOMPARE(ini.readString(QStringLiteral("Net"), QStringLiteral("SubNetMask2"), QString()),
             confirmed.subNetMask2);
    // The placement of the options window has its own section.
    QVERIFY(ini.sectionExists(QStringLiteral("Foption")));
}

QTEST_MAIN(TestOption)
#include "tst_win_option.moc"
