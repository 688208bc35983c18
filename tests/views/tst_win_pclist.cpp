// The PC list tab in the main window, offscreen: the list, deletion through
// the button, title clicks, the display settings dialog, refreshing and the
// column settings kept across starts.

#include "app/PcListPage.h"
#include "app/Umain.h"
#include "base/IniFile.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "tst_pclist_support.h"
#include "views/PcListModel.h"
#include "views/windows/PcGridColumns.h"
#include "views/windows/UhyojiJyun.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString Delete1 = "に関する情報をすべて削除します。\n\rよろしいですか？";

QStringList keysOf(const PcListPage *page)
{
    QStringList keys;
    for (int r = 0; r < page->model()->rowCount(); ++r)
        keys << page->model()->key(r);
    return keys;
}

void clickTitle(PcListPage *page, const QString &field)
{
    QHeaderView *header = page->grid()->horizontalHeader();
    const int logical = PcListFields::indexOfName(field);
    const QPoint at(header->sectionViewportPosition(logical) + header->sectionSize(logical) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    page->finishReading();
}

} // namespace

class TstWinPcList : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listShowsPcsAndDeletesWithTheButton();
    void failedDeletionDeletesNothing();
    void titleClickSortsAscendingThenDescending();
    void displaySettingsRefusesLettersAndCancelChangesNothing();
    void displaySettingsUncheckingAllHidesAllColumns();
    void displaySettingsOkApplies();
    void refreshKeepsTheCurrentRow();
    void copyReadsTheWholeList();
    void columnSettingsKeptAcrossStarts();

private:
    ProgramPaths paths() const { return ProgramPaths(m_dir->filePath("Orvane"), m_dir->path()); }
    StoreSettings storeSettings() const
    {
        StoreSettings s;
        s.folder = m_dir->filePath("PCDB");
        return s;
    }
    // A store in the default data folder with these PCs (Bu, Host, removal
    // date) before the window starts.
    void prepareStore(const QList<QVariantMap> &pcs);
    static void start(TFmain &window)
    {
        window.show();
        QTRY_VERIFY(window.isStartupDone());
        window.finishReading();
    }
    static PcListPage *page(TFmain &window) { return window.findChild<PcListPage *>(); }
    // Opens the display settings and runs drive() on the dialog.
    static void withDisplaySettings(PcListPage *page,
                                    const std::function<void(TFhyojiJyun *)> &drive);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TstWinPcList::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TstWinPcList::cleanup()
{
    m_dir.reset();
}

void TstWinPcList::prepareStore(const QList<QVariantMap> &pcs)
{
    QVERIFY(QDir().mkpath(m_dir->filePath("PCDB")));
    TDMdata dm;
    openCheckedStore(dm, storeSettings());
    for (const QVariantMap &values : pcs) {
        QVariantMap rest = values;
        insertPc(dm, rest.take("Key").toString(), rest);
        insertRow(dm, TableId::Drive, {{"Key", values.value("Key")}, {"Drive", "C:"}});
    }
    dm.close();
}

void TstWinPcList::withDisplaySettings(PcListPage *page,
                                       const std::function<void(TFhyojiJyun *)> &drive)
{
    bool driven = false;
    QTimer::singleShot(0, page, [&] {
        auto *dialog = qobject_cast<TFhyojiJyun *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        driven = true;
        drive(dialog);
        // Whatever happened, the dialog must not stay open.
        if (dialog->isVisible())
            dialog->reject();
    });
    page->findChild<QPushButton *>("HyojiBTN")->click();
    page->finishReading();
    QVERIFY(driven);
}

void TstWinPcList::listShowsPcsAndDeletesWithTheButton()
{
    prepareStore({{{"Key", "A"}, {"Host", "h2"}},
                  {{"Key", "B"}, {"Host", "h3"}, {"TekkyoYMD", QDate(2006, 3, 31)}},
                  {{"Key", "C"}, {"Host", "h1"}}});
    MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::No);
    TFmain window(paths());
    start(window);
    PcListPage *list = page(window);
    QVERIFY(boxes.entries().isEmpty());

    QCOMPARE(keysOf(list), (QStringList {"A", "B", "C"}));
    QCOMPARE(list->findChild<QLabel *>("KeyLBL")->text(), QString("A"));
    QCOMPARE(list->grid()->toolTip(),
             QString("右ﾎﾞﾀﾝ→ﾎﾟｯﾌﾟﾒﾆｭｰ,項目名ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟ→表示順入れ替え"));
    QStringList menu;
    for (const QAction *action : list->grid()->actions())
        menu << (action->isSeparator() ? "-" : action->text());
    QCOMPARE(menu,
             (QStringList {"修正", "削除", "管理ｼｰﾄ印刷", "-", "全項目ｺﾋﾟｰ", "表示項目のみｺﾋﾟｰ"}));
    QStringList buttons;
    for (const QPushButton *b : list->findChildren<QPushButton *>())
        buttons << b->text();
    QCOMPARE(buttons,
             (QStringList {"最新の状態に更新", "追　加", "修　正", "削　除", "表示設定...",
                           "管理シート印刷"}));
    // The removed PC is grey.
    QCOMPARE(list->model()->data(list->model()->index(1, 3), Qt::BackgroundRole).value<QColor>(),
             QColor(224, 224, 224));

    // Only clicks select: a Ctrl+click picks the row clicked and no other.
    QVERIFY(list->grid()->selectionModel()->selectedRows().isEmpty());
    QTest::mouseClick(list->grid()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                      list->grid()->visualRect(list->grid()->model()->index(2, 0)).center());
    QCOMPARE(list->actionKeys(), QStringList {"C"});
    list->grid()->clearSelection();

    // No: nothing is deleted.
    list->goToKey("B");
    QCOMPARE(list->actionKeys(), QStringList {"B"});
    list->findChild<QPushButton *>("PCdelBTN")->click();
    list->finishReading();
    QCOMPARE(boxes.entries().size(), 1);
    QCOMPARE(boxes.entries().at(0).kind, MessageBoxes::Kind::YesNo);
    QCOMPARE(boxes.entries().at(0).text, "B" + Delete1);
    QCOMPARE(keysOf(list), (QStringList {"A", "B", "C"}));

    // Yes: the PC and its rows go; the list is read again at its first row.
    boxes.clear();
    boxes.setReply(MessageBoxes::Reply::Yes);
    list->findChild<QPushButton *>("PCdelBTN")->click();
    list->finishReading();
    QCOMPARE(boxes.texts(), QStringList {"B" + Delete1});
    QCOMPARE(keysOf(list), (QStringList {"A", "C"}));
    QCOMPARE(list->currentKey(), QString("A"));
    QCOMPARE(list->actionKeys(), QStringList {"A"}); // nothing selected
    TDMdata *dm = window.dataModule();
    QCOMPARE(countRows(*dm, "PC", "Key", "B"), 0);
    QCOMPARE(countRows(*dm, "Drive", "Key", "B"), 0);
    QCOMPARE(countRows(*dm, "Drive", "Key", "A"), 1);

    // Several selected rows: the question names the first and the count.
    boxes.clear();
    list->grid()->selectAll();
    QCOMPARE(list->actionKeys(), (QStringList {"A", "C"}));
    list->findChild<QPushButton *>("PCdelBTN")->click();
    list->finishReading();
    QCOMPARE(boxes.texts(), QStringList {"A、\n\r他1台" + Delete1});
    QCOMPARE(list->model()->rowCount(), 0);
    QCOMPARE(countRows(*dm, "PC", "Key", "C"), 0);
}

void TstWinPcList::failedDeletionDeletesNothing()
{
    prepareStore({{{"Key", "A"}}, {{"Key", "B"}}});
    MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Yes);
    TFmain window(paths());
    start(window);
    PcListPage *list = page(window);
    TDMdata *dm = window.dataModule();
    QSqlQuery trigger(dm->database());
    QVERIFY(trigger.exec("CREATE TRIGGER keep_pc BEFORE DELETE ON PC WHEN OLD.Key = 'B' "
                         "BEGIN SELECT RAISE(ABORT, 'locked'); END"));

    list->grid()->selectAll();
    list->grid()->findChild<QAction *>("DelMI")->trigger();
    list->finishReading();
    QCOMPARE(boxes.texts(), (QStringList {"A、\n\r他1台" + Delete1, "削除に失敗しました"}));
    QCOMPARE(boxes.entries().at(1).kind, MessageBoxes::Kind::Error);
    QCOMPARE(countRows(*dm, "PC", "Key", "A"), 1);
    QCOMPARE(countRows(*dm, "Drive", "Key", "A"), 1);
    QCOMPARE(keysOf(list), (QStringList {"A", "B"}));
}

void TstWinPcList::titleClickSortsAscendingThenDescending()
{
    prepareStore({{{"Key", "A"}, {"Host", "h2"}},
                  {{"Key", "B"}, {"Host", "h3"}},
                  {{"Key", "C"}, {"Host", "h1"}}});
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    PcListPage *list = page(window);
    window.tabs()->setCurrentWidget(list);
    QTRY_VERIFY(list->grid()->horizontalHeader()->isVisible());

    clickTitle(list, "Host");
    QCOMPARE(window.settings().pcGrid.sort.komoku[0], QString("ﾎｽﾄ名"));
    QCOMPARE(window.settings().pcGrid.sort.jyun[0], QString("昇順"));
    QCOMPARE(keysOf(list), (QStringList {"C", "A", "B"}));
    clickTitle(list, "Host");
    QCOMPARE(window.settings().pcGrid.sort.jyun[0], QString("降順"));
    QCOMPARE(keysOf(list), (QStringList {"B", "A", "C"}));
    // Another title keeps the direction.
    clickTitle(list, "Key");
    QCOMPARE(window.settings().pcGrid.sort.komoku[0], QString("Key"));
    QCOMPARE(keysOf(list), (QStringList {"C", "B", "A"}));
    QVERIFY(boxes.entries().isEmpty());
}

void TstWinPcList::displaySettingsRefusesLettersAndCancelChangesNothing()
{
    prepareStore({{{"Key", "A"}}});
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    PcListPage *list = page(window);
    const int size = list->fontSize();
    const QStringList order = list->columns().order();

    withDisplaySettings(list, [&](TFhyojiJyun *dialog) {
        QCOMPARE(dialog->windowTitle(), QString("パソコン一覧表示設定"));
        QCOMPARE(dialog->internalName(), QString("FhyojiJyun"));
        auto *columns = dialog->findChild<QListWidget *>("KomokuLB");
        QCOMPARE(columns->count(), 38);
        QCOMPARE(columns->item(21)->text(), QString("更新日")); // the designed order
        QCOMPARE(columns->item(22)->text(), QString("撤去日"));
        auto *key1 = dialog->findChild<QComboBox *>("Key1Combo");
        QCOMPARE(key1->count(), 39);
        QCOMPARE(key1->itemText(0), QString("（なし）"));
        QCOMPARE(key1->currentText(), QString("（なし）"));
        QVERIFY(dialog->findChild<QRadioButton *>("Asc1RB")->isChecked());
        auto *font = dialog->findChild<QComboBox *>("FontSizeCombo");
        QCOMPARE(font->count(), 9);
        QCOMPARE(font->currentText(), QString::number(size));

        columns->item(0)->setCheckState(Qt::Unchecked);
        for (const char *typed : {"1a", "", "１２"}) {
            font->setEditText(QString::fromUtf8(typed));
            dialog->findChild<QPushButton *>("OkBTN")->click();
            QVERIFY(dialog->isVisible());
        }
        QCOMPARE(boxes.count("フォントサイズには数字を入力してください"), 3);
        dialog->findChild<QCheckBox *>("TekkyoCB")->setChecked(true);
        key1->setEditText("部");
        dialog->findChild<QPushButton *>("CancelBTN")->click();
        QVERIFY(!dialog->isVisible());
    });
    QVERIFY(list->columns().isShown("Key"));
    QCOMPARE(list->columns().order(), order);
    QCOMPARE(list->fontSize(), size);
    QVERIFY(!window.settings().tekkyoHiHyoji);
    QCOMPARE(window.settings().pcGrid.sort.komoku[0], QString("（なし）"));
}

void TstWinPcList::displaySettingsUncheckingAllHidesAllColumns()
{
    prepareStore({{{"Key", "A"}, {"Bu", "b"}}, {{"Key", "B"}, {"Bu", "a"}}});
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    PcListPage *list = page(window);

    withDisplaySettings(list, [&](TFhyojiJyun *dialog) {
        auto *columns = dialog->findChild<QListWidget *>("KomokuLB");
        for (int i = 0; i < columns->count(); ++i)
            columns->item(i)->setCheckState(Qt::Unchecked);
        dialog->findChild<QComboBox *>("Key1Combo")->setEditText("部");
        dialog->findChild<QPushButton *>("OkBTN")->click();
    });
    for (int c = 0; c < 38; ++c)
        QVERIFY(list->grid()->isColumnHidden(c));
    // Still queried and sorted.
    QCOMPARE(keysOf(list), (QStringList {"B", "A"}));
    QCOMPARE(list->grid()->shownColumnsText(), QString("\r\r\r"));
    QVERIFY(boxes.entries().isEmpty());
}

void TstWinPcList::displaySettingsOkApplies()
{
    prepareStore({{{"Key", "A"}, {"Bu", "b"}, {"Ka", "1"}},
                  {{"Key", "B"}, {"Bu", "a"}, {"TekkyoYMD", QDate(2006, 3, 31)}},
                  {{"Key", "C"}, {"Bu", "b"}, {"Ka", "2"}}});
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    PcListPage *list = page(window);
    list->columns().setShown("Mac", false);

    withDisplaySettings(list, [&](TFhyojiJyun *dialog) {
        auto *columns = dialog->findChild<QListWidget *>("KomokuLB");
        QCOMPARE(columns->item(10)->checkState(), Qt::Unchecked); // Mac
        columns->item(10)->setCheckState(Qt::Checked);
        columns->item(1)->setCheckState(Qt::Unchecked); // 管理№
        dialog->findChild<QComboBox *>("Key1Combo")->setEditText("部");
        dialog->findChild<QRadioButton *>("Desc1RB")->setChecked(true);
        dialog->findChild<QComboBox *>("Key2Combo")->setCurrentIndex(14); // 課
        dialog->findChild<QComboBox *>("Key3Combo")->setEditText("部署");
        dialog->findChild<QRadioButton *>("Desc3RB")->setChecked(true);
        dialog->findChild<QComboBox *>("FontSizeCombo")->setEditText("13");
        dialog->findChild<QCheckBox *>("TekkyoCB")->setChecked(true);
        dialog->findChild<QPushButton *>("OkBTN")->click();
    });
    QVERIFY(list->columns().isShown("Mac"));
    QVERIFY(!list->columns().isShown("KanriNo"));
    QCOMPARE(list->fontSize(), 13);
    const AppSettings &settings = window.settings();
    QVERIFY(settings.tekkyoHiHyoji);
    QCOMPARE(settings.pcGrid.sort.komoku[0], QString("部"));
    QCOMPARE(settings.pcGrid.sort.jyun[0], QString("降順"));
    QCOMPARE(settings.pcGrid.sort.komoku[1], QString("課"));
    QCOMPARE(settings.pcGrid.sort.jyun[1], QString("昇順"));
    // The unknown caption became "（なし）" when the list was read.
    QCOMPARE(settings.pcGrid.sort.komoku[2], QString("（なし）"));
    QCOMPARE(keysOf(list), (QStringList {"A", "C"}));
    QVERIFY(boxes.entries().isEmpty());

    window.close();
    const IniFile ini(paths().iniPath());
    QCOMPARE(ini.readBool("Tekkyo", "HiHyoji", false), true);
    QCOMPARE(ini.readString("Sort", "Komoku1", QString()), QString("部"));
    QCOMPARE(ini.readString("Sort", "Jyun1", QString()), QString("降順"));
    QCOMPARE(ini.readInteger("PCGrid", "FontSize", 0), 13);
}

void TstWinPcList::refreshKeepsTheCurrentRow()
{
    prepareStore({{{"Key", "A"}}, {{"Key", "C"}}});
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    PcListPage *list = page(window);
    auto *refresh = list->findChild<QPushButton *>("RefreshBTN");
    QVERIFY(!refresh->isEnabled());
    list->findChild<QCheckBox *>("JidoKosinCB")->setChecked(false);
    QVERIFY(refresh->isEnabled());
    QVERIFY(!window.settings().jidoKosin);

    list->grid()->selectAll();
    list->goToKey("C");
    QCOMPARE(list->actionKeys(), QStringList {"C"}); // moving drops the selection
    TDMdata other;
    openCheckedStore(other, storeSettings());
    insertPc(other, "B");
    refresh->click();
    window.finishReading();
    QCOMPARE(keysOf(list), (QStringList {"A", "B", "C"}));
    QCOMPARE(list->currentKey(), QString("C"));
    QCOMPARE(list->findChild<QLabel *>("KeyLBL")->text(), QString("C"));

    // The remembered PC is gone: the first row.
    other.exec("DELETE FROM PC WHERE Key = :K", {{":K", "C"}});
    refresh->click();
    window.finishReading();
    QCOMPARE(keysOf(list), (QStringList {"A", "B"}));
    QCOMPARE(list->currentKey(), QString("A"));
}

void TstWinPcList::copyReadsTheWholeList()
{
    QList<QVariantMap> pcs;
    for (int i = 0; i < 150; ++i)
        pcs.append({{"Key", QString("K%1").arg(i, 3, 10, QChar('0'))}, {"Mem_All", 1000 + i}});
    prepareStore(pcs);
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    start(window);
    PcListPage *list = page(window);

    // Right after a refresh only the first screenful may be read; the copy
    // waits for the rest, the window answering meanwhile.
    QApplication::clipboard()->clear();
    list->refresh(*window.dataModule());
    list->grid()->findChild<QAction *>("CopyAllMI")->trigger();
    QTRY_VERIFY(!QApplication::clipboard()->text().isEmpty());
    const QStringList lines = QApplication::clipboard()->text().split('\r');
    QCOMPARE(lines.size(), 152); // captions, 150 rows, and after the last CR
    QVERIFY(lines.at(150).startsWith("K149\t\t\t\t\t1149\t"));

    list->columns().setShown("Key", false);
    list->refresh(*window.dataModule());
    list->grid()->findChild<QAction *>("CopyShownMI")->trigger();
    QTRY_VERIFY(QApplication::clipboard()->text().startsWith("管理№\t"));
    const QStringList shown = QApplication::clipboard()->text().split('\r');
    QCOMPARE(shown.size(), 152);
    QVERIFY(shown.at(0).startsWith("管理№\t"));
    QVERIFY(shown.at(150).startsWith("\t\t\t\t1149\t"));
}

void TstWinPcList::columnSettingsKeptAcrossStarts()
{
    prepareStore({{{"Key", "A"}}});
    MessageBoxes::ScopedRecorder boxes;
    {
        TFmain window(paths());
        start(window);
        PcListPage *list = page(window);
        // First start: designed order, all shown.
        QCOMPARE(list->columns().order(), AppSettings::pcGridFields());
        QHeaderView *header = list->grid()->horizontalHeader();
        header->moveSection(header->visualIndex(PcListFields::indexOfName("Host")), 0);
        list->columns().setShown("Mac", false);
        header->resizeSection(PcListFields::indexOfName("Bu"), 234);
        list->setFontSize(12);
        window.close();
    }
    const IniFile ini(paths().iniPath());
    QCOMPARE(ini.readInteger("HyojiColumnIndex", "Host", -1), 0);
    QCOMPARE(ini.readInteger("HyojiColumnIndex", "Key", -1), 1);
    QCOMPARE(ini.readInteger("HyojiColumnIndex", "LAN_Adapter", -1), 37);
    QCOMPARE(ini.readBool("HyojiKomoku", "Mac", true), false);
    QCOMPARE(ini.readBool("HyojiKomoku", "Bu", false), true);
    QCOMPARE(ini.readInteger("HyojiColumnWidth", "Bu", 0), 234);
    QCOMPARE(ini.readInteger("HyojiColumnWidth", "Mac", 0), 120); // kept while hidden
    QCOMPARE(ini.readInteger("PCGrid", "FontSize", 0), 12);

    TFmain again(paths());
    start(again);
    PcListPage *list = page(again);
    QStringList expected = AppSettings::pcGridFields();
    expected.move(expected.indexOf("Host"), 0);
    QCOMPARE(list->columns().order(), expected);
    QVERIFY(!list->columns().isShown("Mac"));
    QCOMPARE(list->columns().width("Bu"), 234);
    QCOMPARE(list->fontSize(), 12);
    // Shown again, the hidden column has its width back.
    list->columns().setShown("Mac", true);
    QCOMPARE(list->grid()->horizontalHeader()->sectionSize(PcListFields::indexOfName("Mac")), 120);
    QVERIFY(boxes.entries().isEmpty());
}

QTEST_MAIN(TstWinPcList)
#include "tst_win_pclist.moc"
