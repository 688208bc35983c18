// The main window: start-up in a fresh program folder, the store named by
// the settings, the menus, the store connection command and the shutdown.

#include "app/MainMenu.h"
#include "app/OverallStatusPage.h"
#include "app/PcListPage.h"
#include "app/Umain.h"
#include "base/IniFile.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "store/Schema.h"
#include "store/UDMdata.h"
#include "views/PcListModel.h"
#include "views/StatisticsModel.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// The fixed text, and the reason on a second line.
const QString ConnectFailed = QStringLiteral("データベースへの接続に失敗しました\n"
                                             "サーバー 127.0.0.1（ポート 1）が応答しません。");

// The captions of a menu, "-" for a separator, a submenu as "caption>" then
// its items.
QStringList captions(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions) {
        if (action->isSeparator()) {
            result.append(QStringLiteral("-"));
        } else if (action->menu()) {
            result.append(action->text() + u'>');
            for (const QString &sub : captions(action->menu()->actions()))
                result.append(u' ' + sub);
        } else {
            result.append(action->text());
        }
    }
    return result;
}

} // namespace

class TestMain : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void firstStartCreatesStoreAndWritesSettingsAtClose();
    void defaultFolderCreatedWhenSettingsNameAnother();
    void unreachableServer();
    void otherTypeIsAServerTitledLikeLocal();
    void defaultFolderCannotBeCreated();
    void menuBarAndTabs();
    void escapeDoesNotClose();
    void dbSettingSwitchesStore();
    void failedReconnectEmptiesTheViews();

private:
    ProgramPaths paths() const
    {
        return ProgramPaths(m_dir->filePath(QStringLiteral("Orvane")), m_dir->path());
    }
    QString home() const { return m_dir->path() + u'/'; }
    void writeDb(const QMap<QString, QString> &keys);
    static void start(TFmain &window);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestMain::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestMain::cleanup()
{
    m_dir.reset();
}

void TestMain::writeDb(const QMap<QString, QString> &keys)
{
    IniFile ini(paths().iniPath());
    for (auto it = keys.cbegin(); it != keys.cend(); ++it)
        ini.writeString(QStringLiteral("DB"), it.key(), it.value());
    QVERIFY(ini.updateFile());
}

void TestMain::start(TFmain &window)
{
    window.show();
    QTRY_VERIFY(window.isStartupDone());
    window.finishReading();
}

void TestMain::firstStartCreatesStoreAndWritesSettingsAtClose()
{
    MessageBoxes::ScopedRecorder boxes;
    const QString pcdb = home() + QStringLiteral("PCDB");
    {
        TFmain window(paths());
        start(window);
        QVERIFY(QFileInfo(pcdb).isDir());
        QVERIFY(QFileInfo::exists(TDMdata::localDatabaseFile(pcdb)));
        TDMdata *dm = window.dataModule();
        QVERIFY(dm && dm->isConnected());
        for (const TableDef &table : Schema::tables())
            QVERIFY2(dm->tableExists(table.name), qPrintable(table.name));
        QCOMPARE(window.windowTitle(), QStringLiteral("Orvane - ") + pcdb);
        QCOMPARE(window.tabs()->currentIndex(), 0);
        QCOMPARE(window.statusText(), QString());
        QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
        window.close();
        QVERIFY(!window.isVisible());
    }
    const IniFile ini(paths().iniPath());
    QCOMPARE(ini.readString(QStringLiteral("DB"), QStringLiteral("type"), QString()),
             QStringLiteral("local"));
    QCOMPARE(ini.readString(QStringLiteral("DB"), QStringLiteral("folder"), QString()), pcdb);
    QCOMPARE(ini.readInteger(QStringLiteral("DB"), QStringLiteral("port"), 0), 12005);
    QVERIFY(ini.valueExists(QStringLiteral("DB"), QStringLiteral("pass")));
    QCOMPARE(ini.readFloat(QStringLiteral("Orvane"), QStringLiteral("Ver"), 0), 1.34);
    QCOMPARE(ini.readString(QStringLiteral("Fmain"), QStringLiteral("WindowState"), QString()),
             QStringLiteral("wsNormal"));
    QVERIFY(ini.readInteger(QStringLiteral("Fmain"), QStringLiteral("Width"), 0) > 0);
    QVERIFY(ini.readInteger(QStringLiteral("Fmain"), QStringLiteral("Height"), 0) > 0);
}

void TestMain::defaultFolderCreatedWhenSettingsNameAnother()
{
    const QString other = home() + QStringLiteral("other");
    QVERIFY(QDir().mkdir(other));
    writeDb({{QStringLiteral("type"), QStringLiteral("local")}, {QStringLiteral("folder"), other}});
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    QVERIFY(QFileInfo(home() + QStringLiteral("PCDB")).isDir());
    QVERIFY(QFileInfo::exists(TDMdata::localDatabaseFile(other)));
    QVERIFY(!QFileInfo::exists(TDMdata::localDatabaseFile(home() + QStringLiteral("PCDB"))));
    QCOMPARE(window.windowTitle(), QStringLiteral("Orvane - ") + other);
    QVERIFY(boxes.entries().isEmpty());
}

void TestMain::unreachableServer()
{
    writeDb({{QStringLiteral("type"), QStringLiteral("remote")},
             {QStringLiteral("ip"), QStringLiteral("127.0.0.1")},
             {QStringLiteral("port"), QStringLiteral("1")},
             {QStringLiteral("name"), QStringLiteral("ledger")},
             {QStringLiteral("user"), QStringLiteral("admin")}});
    MessageBoxes::ScopedRecorder boxes;
    {
        TFmain window(paths());
        start(window);
        QCOMPARE(boxes.count(ConnectFailed), 1);
        QCOMPARE(boxes.entries().size(), 1);
        QCOMPARE(boxes.entries().at(0).kind, MessageBoxes::Kind::Error);
        QCOMPARE(window.windowTitle(), QStringLiteral("Orvane - 127.0.0.1:ledger"));
        QVERIFY(!window.dataModule()->isConnected());
        // The default data folder is there even in server mode.
        QVERIFY(QFileInfo(home() + QStringLiteral("PCDB")).isDir());
        window.close();
    }
    const IniFile ini(paths().iniPath());
    QCOMPARE(ini.readString(QStringLiteral("DB"), QStringLiteral("type"), QString()),
             QStringLiteral("remote"));
    QCOMPARE(ini.readString(QStringLiteral("DB"), QStringLiteral("ip"), QString()),
             QStringLiteral("127.0.0.1"));
    QCOMPARE(ini.readInteger(QStringLiteral("DB"), QStringLiteral("port"), 0), 1);
    QVERIFY(ini.sectionExists(QStringLiteral("Fmain")));
    QVERIFY(ini.sectionExists(QStringLiteral("Sort")));
}

void TestMain::otherTypeIsAServerTitledLikeLocal()
{
    const QString folder = home() + QStringLiteral("somewhere");
    writeDb({{QStringLiteral("type"), QStringLiteral("server")},
             {QStringLiteral("folder"), folder},
             {QStringLiteral("ip"), QStringLiteral("127.0.0.1")},
             {QStringLiteral("port"), QStringLiteral("1")},
             {QStringLiteral("name"), QStringLiteral("ledger")},
             {QStringLiteral("user"), QStringLiteral("admin")}});
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    QCOMPARE(window.windowTitle(), QStringLiteral("Orvane - ") + folder);
    QCOMPARE(window.dataModule()->settings().mode, StoreSettings::Mode::Remote);
    QCOMPARE(boxes.count(ConnectFailed), 1);
}

void TestMain::defaultFolderCannotBeCreated()
{
    QFile blocker(home() + QStringLiteral("PCDB"));
    QVERIFY(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    MessageBoxes::ScopedRecorder boxes;
    {
        TFmain window(paths());
        start(window);
        QCOMPARE(boxes.texts(),
                 QStringList {QStringLiteral("Cannot create ") + home() + QStringLiteral("PCDB")});
        QVERIFY(!window.dataModule()->isConnected());
        QCOMPARE(window.windowTitle(), QStringLiteral("Orvane"));
        window.close();
    }
    QVERIFY(IniFile(paths().iniPath()).sectionExists(QStringLiteral("DB")));
}

void TestMain::menuBarAndTabs()
{
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    const QList<QAction *> menus = window.mainMenu()->actions();
    QStringList titles;
    for (const QAction *menu : menus)
        titles.append(menu->text());
    QCOMPARE(titles,
             (QStringList {QStringLiteral("ﾌｧｲﾙ(&F)"), QStringLiteral("ﾃﾞｰﾀ(&D)"),
                           QStringLiteral("ﾂｰﾙ(&T)"), QStringLiteral("ﾍﾙﾌﾟ(&H)")}));
    QCOMPARE(captions(menus.at(0)->menu()->actions()),
             (QStringList {QStringLiteral("DB接続..."), QStringLiteral("Invaroﾃﾞｰﾀ読み込み(&R)"),
                           QStringLiteral("ｴｸｽﾎﾟｰﾄ>"), QStringLiteral(" PC情報(&P)"),
                           QStringLiteral(" ﾄﾞﾗｲﾌﾞ情報(&D)"), QStringLiteral(" ﾌﾟﾘﾝﾀ情報(&E)"),
                           QStringLiteral(" ｱﾌﾟﾘ情報(&A)"), QStringLiteral("-"),
                           QStringLiteral("終了(&X)")}));
    QCOMPARE(captions(menus.at(1)->menu()->actions()),
             (QStringList {QStringLiteral("PCﾃｰﾌﾞﾙ(&P)"), QStringLiteral("ｱﾌﾟﾘﾃﾞｰﾀ修正"),
                           QStringLiteral("変更履歴..."), QStringLiteral("重複したPC..."),
                           QStringLiteral("-"), QStringLiteral("SQLｳｨﾝﾄﾞｳ...(&Q)")}));
    QCOMPARE(captions(menus.at(2)->menu()->actions()),
             (QStringList {QStringLiteral("ｵﾌﾟｼｮﾝ(&O)..."), QStringLiteral("検索...")}));
    QCOMPARE(captions(menus.at(3)->menu()->actions()),
             (QStringList {QStringLiteral("ﾍﾙﾌﾟ(&H)"), QStringLiteral("お読みください"),
                           QStringLiteral("-"), QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報...")}));

    QStringList tabs;
    for (int i = 0; i < window.tabs()->count(); ++i)
        tabs.append(window.tabs()->tabText(i));
    QCOMPARE(tabs,
             (QStringList {QStringLiteral("全体状況"), QStringLiteral("パソコン一覧"),
                           QStringLiteral("アプリケーション"), QStringLiteral("リース管理"),
                           QStringLiteral("帳票印刷")}));
    QStringList reportButtons;
    for (const QPushButton *button : window.tabs()->widget(4)->findChildren<QPushButton *>())
        reportButtons.append(button->text());
    QCOMPARE(
        reportButtons,
        (QStringList {QStringLiteral("パソコン管理シート"), QStringLiteral("部・課別パソコン一覧"),
                      QStringLiteral("共有情報一覧")}));
    QVERIFY(window.findChild<QPushButton *>(QStringLiteral("EndBTN")));
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("EndBTN"))->text(),
             QStringLiteral("終　了"));
}

void TestMain::escapeDoesNotClose()
{
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    QTest::keyClick(&window, Qt::Key_Escape);
    QVERIFY(window.isVisible());
    // The end button closes it.
    window.findChild<QPushButton *>(QStringLiteral("EndBTN"))->click();
    QVERIFY(!window.isVisible());
}

void TestMain::dbSettingSwitchesStore()
{
    const QString second = home() + QStringLiteral("second");
    QVERIFY(QDir().mkdir(second));
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);

    bool driven = false;
    QTimer::singleShot(0, &window, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        QCOMPARE(modal->windowTitle(), QStringLiteral("データベース接続"));
        modal->findChild<QRadioButton *>(QStringLiteral("LocalRB"))->setChecked(true);
        modal->findChild<QLineEdit *>(QStringLiteral("FolderEDT"))->setText(second);
        modal->findChild<QPushButton *>(QStringLiteral("ConnectBTN"))->click();
        driven = true;
    });
    window.mainMenu()->dbSetting->trigger();
    QVERIFY(driven);

    QVERIFY(boxes.entries().isEmpty());
    QCOMPARE(window.settings().db.folder, second);
    QCOMPARE(window.windowTitle(), QStringLiteral("Orvane - ") + second);
    QVERIFY(window.dataModule()->isConnected());
    // The table check ran on the new store.
    for (const TableDef &table : Schema::tables())
        QVERIFY(window.dataModule()->tableExists(table.name));
    // The settings file keeps the old folder until the program closes.
    QCOMPARE(IniFile(paths().iniPath())
                 .readString(QStringLiteral("DB"), QStringLiteral("folder"), QString()),
             QString());
    window.close();
    QCOMPARE(IniFile(paths().iniPath())
                 .readString(QStringLiteral("DB"), QStringLiteral("folder"), QString()),
             second);
}

// A bad port and then キャンセル leave no store: the views show nothing of
// the old one, the title names the settings' store, and a command that
// needs a store says there is none.
void TestMain::failedReconnectEmptiesTheViews()
{
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    window.dataModule()->exec(QStringLiteral("INSERT INTO PC (Key, Win_Type) VALUES ('A', 'XP')"));
    window.RefreshStatistics();
    window.RefreshLists();
    window.finishReading();
    auto *list = window.findChild<PcListPage *>();
    auto *status = window.findChild<OverallStatusPage *>();
    QCOMPARE(list->model()->rowCount(), 1);
    QCOMPARE(status->model()->rowCount(), 1);
    const QString title = window.windowTitle();

    QTimer::singleShot(0, &window, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        modal->findChild<QRadioButton *>(QStringLiteral("ServerRB"))->setChecked(true);
        modal->findChild<QLineEdit *>(QStringLiteral("PortEDT"))->setText(QStringLiteral("abc"));
        modal->findChild<QPushButton *>(QStringLiteral("ConnectBTN"))->click();
        modal->findChild<QPushButton *>(QStringLiteral("CancelBTN"))->click();
    });
    window.mainMenu()->dbSetting->trigger();
    QVERIFY(!window.dataModule()->isConnected());
    QCOMPARE(window.windowTitle(), title);
    QCOMPARE(list->model()->rowCount(), 0);
    QCOMPARE(status->model()->rowCount(), 0);

    boxes.clear();
    list->findChild<QPushButton *>(QStringLiteral("PCdelBTN"))->click();
    QCOMPARE(boxes.texts(), QStringList {QStringLiteral("データベースに接続していません")});
}

QTEST_MAIN(TestMain)
#include "tst_win_main.moc"
