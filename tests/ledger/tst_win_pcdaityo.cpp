// The PC ledger window as a user drives it: field rules, detail rows
// through the dialogs, and what OK and Cancel leave in the store.

#include "TestStores.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "ledger/windows/PcRirekiTab.h"
#include "ledger/windows/UpcDaityo.h"
#include "ledger/windows/Uprinter.h"
#include "ledger/windows/Ushare.h"
#include "store/HistoryRecorder.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

void insertRow(TDMdata &dm, TableId table, const QVariantMap &values)
{
    RecordCursor cursor(dm, table);
    cursor.open();
    cursor.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        cursor.setValue(it.key(), it.value());
    cursor.post();
}

QVariant stored(TDMdata &dm, const QString &sql)
{
    QSqlQuery q = dm.exec(sql);
    const QVariant v = q.next() ? q.value(0) : QVariant(u"(no row)"_s);
    q.finish();
    return v;
}

void typeAndLeave(QLineEdit *edit, const QString &text)
{
    edit->setFocus();
    QApplication::processEvents();
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    // As an input method commits it, Japanese or not.
    QInputMethodEvent typed;
    typed.setCommitString(text);
    QApplication::sendEvent(edit, &typed);
    QTest::keyClick(edit, Qt::Key_Tab);
    QApplication::processEvents();
}

QLineEdit *editOf(QWidget *window, const QString &name)
{
    QWidget *w = window->findChild<QWidget *>(name);
    if (auto *combo = qobject_cast<QComboBox *>(w))
        return combo->lineEdit();
    return qobject_cast<QLineEdit *>(w);
}

// Clicks a button that opens a modal dialog and lets drive() work on it;
// the dialog is closed in any case.
template <typename Dialog>
void withModal(QPushButton *button, const std::function<void(Dialog *)> &drive)
{
    bool driven = false;
    QTimer::singleShot(0, button, [&] {
        auto *dialog = qobject_cast<Dialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        driven = true;
        drive(dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    button->click();
    QVERIFY(driven);
}

} // namespace

class TestWinPcDaityo : public QObject
{
    Q_OBJECT

private slots:
    void okKeepsAllCancelNothing_data();
    void okKeepsAllCancelNothing();
    void newPcIsCheckedAtOk();
    void typedTextIsWhatCp932Holds_data();
    void typedTextIsWhatCp932Holds();
    void newPcListsShowRowsBeforeTheKey();
    void storeGoneKeepsTheWorkUntilBack();
    void historyTabListsThePcsChanges();

private:
    ProgramPaths paths() const { return ProgramPaths(m_dir.filePath(u"Orvane"_s), m_dir.path()); }
    QTemporaryDir m_dir;
};

void TestWinPcDaityo::okKeepsAllCancelNothing_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<bool>("ok");
    for (const auto kind : {TestStore::Kind::SQLite, TestStore::Kind::PostgreSQL}) {
        const char *name = kind == TestStore::Kind::SQLite ? "sqlite" : "postgresql";
        QTest::addRow("%s ok", name) << int(kind) << true;
        QTest::addRow("%s cancel", name) << int(kind) << false;
    }
}

void TestWinPcDaityo::okKeepsAllCancelNothing()
{
    QFETCH(int, engine);
    QFETCH(bool, ok);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    insertRow(dm, TableId::PC,
              {{u"Key"_s, u"P"_s},
               {u"Bu"_s, u"総務"_s},
               {u"Maker"_s, u"NEC"_s},
               {u"Kisyu"_s, u"PC-98"_s}});
    insertRow(dm, TableId::PC, {{u"Key"_s, u"Q"_s}, {u"Maker"_s, u"FMV"_s}, {u"Kisyu"_s, u"F1"_s}});
    insertRow(dm, TableId::Printer, {{u"Key"_s, u"P"_s}, {u"Printer"_s, u"LP1"_s}});
    insertRow(dm, TableId::Share, {{u"Key"_s, u"P"_s}, {u"SharedName"_s, u"S1"_s}});

    MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Yes);
    TFpcDaityo window(dm, paths());
    QVERIFY(window.beginEdit(u"P"_s));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.findChild<QLabel *>(u"ModeLBL"_s)->text(), u"修正"_s);
    QVERIFY(window.findChild<QLineEdit *>(u"KeyEDT"_s)->isReadOnly());
    QCOMPARE(QApplication::focusWidget()->objectName(), u"KanriNoEdit"_s);
    QCOMPARE(window.findChild<QTabWidget *>(u"PageControl1"_s)->currentIndex(), 1);

    typeAndLeave(editOf(&window, u"BuCombo"_s), u"人事"_s);
    // Another maker: the model list offers its models, the model stays.
    typeAndLeave(editOf(&window, u"MakerCombo"_s), u"FMV"_s);
    QCOMPARE(window.ledger().pc().text(u"Maker"_s), u"FMV"_s);
    auto *kisyu = window.findChild<QComboBox *>(u"KisyuCombo"_s);
    QCOMPARE(kisyu->count(), 1);
    QCOMPARE(kisyu->itemText(0), u"F1"_s);
    QCOMPARE(kisyu->currentText(), u"PC-98"_s);
    typeAndLeave(editOf(&window, u"DonyuYMDEDT"_s), u"0905"_s);
    QCOMPARE(window.ledger().pc().value(u"DonyuYMD"_s),
             QVariant(QDate(QDate::currentDate().year(), 9, 5)));

    withModal<TFprinter>(window.findChild<QPushButton *>(u"PrinterAddBTN"_s), [](TFprinter *d) {
        QCOMPARE(d->findChild<QLabel *>(u"ModeLBL"_s)->text(), u"追加"_s);
        QCOMPARE(d->row().text(u"NyuryokuKBN"_s), u"手入力"_s);
        QTest::keyClicks(d->findChild<QLineEdit *>(u"PrinterEDT"_s), u"LP2"_s);
        d->findChild<QPushButton *>(u"OkBTN"_s)->click();
    });
    auto *shares = window.findChild<QTableView *>(u"ShareGrid"_s);
    shares->setCurrentIndex(shares->model()->index(0, 0));
    window.findChild<QPushButton *>(u"ShareDelBTN"_s)->click();
    QCOMPARE(boxes.texts(), QStringList {u"S1を削除します。よろしいですか？"_s});
    QVERIFY(!window.findChild<QPushButton *>(u"ShareEditBTN"_s)->isEnabled());
    QCOMPARE(window.findChild<QTableView *>(u"PrinterGrid"_s)->model()->rowCount(), 2);

    // Nothing is in the store before OK.
    QCOMPARE(stored(dm, u"SELECT Bu FROM PC WHERE Key = 'P'"_s).toString(), u"総務"_s);
    QCOMPARE(stored(dm, u"SELECT COUNT(*) FROM Printer"_s).toInt(), 1);

    window.findChild<QPushButton *>(ok ? u"OkBTN"_s : u"CanBTN"_s)->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), ok ? int(QDialog::Accepted) : int(QDialog::Rejected));
    QCOMPARE(stored(dm, u"SELECT Bu FROM PC WHERE Key = 'P'"_s).toString(),
             ok ? u"人事"_s : u"総務"_s);
    QCOMPARE(stored(dm, u"SELECT Maker FROM PC WHERE Key = 'P'"_s).toString(),
             ok ? u"FMV"_s : u"NEC"_s);
    QCOMPARE(stored(dm, u"SELECT COUNT(*) FROM Printer WHERE Key = 'P'"_s).toInt(), ok ? 2 : 1);
    QCOMPARE(stored(dm, u"SELECT NyuryokuKBN FROM Printer WHERE Printer = 'LP2'"_s).toString(),
             ok ? u"手入力"_s : u"(no row)"_s);
    QCOMPARE(stored(dm, u"SELECT COUNT(*) FROM Share"_s).toInt(), ok ? 0 : 1);
    RecordCursor pc(dm, TableId::PC);
    pc.open();
    QVERIFY(pc.locate({u"P"_s}));
    QCOMPARE(pc.value(u"UpdateYMD"_s), ok ? QVariant(QDate::currentDate()) : QVariant());
}

void TestWinPcDaityo::newPcIsCheckedAtOk()
{
    TestStore store(int(TestStore::Kind::SQLite));
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    insertRow(dm, TableId::PC, {{u"Key"_s, u"P"_s}});

    MessageBoxes::ScopedRecorder boxes;
    TFpcDaityo window(dm, paths());
    window.beginNew();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.findChild<QLabel *>(u"ModeLBL"_s)->text(), u"追加"_s);
    QCOMPARE(QApplication::focusWidget()->objectName(), u"KeyEDT"_s);
    QVERIFY(!window.findChild<QPushButton *>(u"DriveAddBTN"_s)->isEnabled());
    QVERIFY(window.findChild<QPushButton *>(u"ShareAddBTN"_s)->isEnabled());

    auto *ok = window.findChild<QPushButton *>(u"OkBTN"_s);
    ok->click();
    QCOMPARE(boxes.texts().value(0), u"項目 'Key' の値が必要です"_s);
    typeAndLeave(editOf(&window, u"KeyEDT"_s), u"P"_s);
    ok->click();
    QCOMPARE(boxes.texts().value(1), u"Duplicate key found in the index 'Key' of the table 'PC'"_s);
    QVERIFY(window.isVisible());

    // Refused texts: the message, and the field keeps no value.
    typeAndLeave(editOf(&window, u"KanriNoEdit"_s), u"x"_s);
    QTRY_COMPARE(boxes.texts().value(2), u"'x' は項目 'KanriNo' に適した整数値ではありません"_s);
    typeAndLeave(editOf(&window, u"KanriNoEdit"_s), u"12"_s);
    typeAndLeave(editOf(&window, u"TekkyoYMDEDT"_s), u"abc"_s);
    QTRY_COMPARE(boxes.texts().value(3), u"abcは日付ではありません"_s);
    typeAndLeave(editOf(&window, u"TekkyoYMDEDT"_s), QString());
    typeAndLeave(editOf(&window, u"IPEdit"_s), u"192.168.1.10"_s);

    typeAndLeave(editOf(&window, u"KeyEDT"_s), u"N'%1"_s);
    ok->click();
    QCOMPARE(boxes.texts().size(), 4);
    QVERIFY(!window.isVisible());
    QCOMPARE(stored(dm, u"SELECT KanriNo FROM PC WHERE Key = 'N''%1'"_s).toInt(), 12);
    QCOMPARE(stored(dm, u"SELECT IP16 FROM PC WHERE Key = 'N''%1'"_s).toString(), u"C0A8010A"_s);
}

void TestWinPcDaityo::typedTextIsWhatCp932Holds_data()
{
    QTest::addColumn<QString>("control");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("refusal"); // empty: stored as "stored"
    QTest::addColumn<QString>("stored");
    QTest::newRow("wave dash as its twin") << u"SettiBasyoCombo"_s << u"SettiBasyo"_s
                                           << u"2F\u301C3F"_s << QString() << u"2F\uFF5E3F"_s;
    QTest::newRow("character CP932 lacks")
        << u"SettiBasyoCombo"_s << u"SettiBasyo"_s << u"2F\U0001F600"_s
        << u"「設置場所」に Shift-JIS で表せない文字「\U0001F600」(U+1F600) があります"_s
        << QString();
    QTest::newRow("key of 43 characters")
        << u"KeyEDT"_s << u"Key"_s << u"PC-"_s + QString(40, u'x')
        << u"「Key」は半角32文字（全角16文字）までです"_s << QString();
    QTest::newRow("full-width over the width")
        << u"RiyosyaEdit"_s << u"Riyosya"_s << u"情報システム部門担当者"_s
        << u"「利用者」は半角20文字（全角10文字）までです"_s << QString();
    QTest::newRow("full-width at the width")
        << u"RiyosyaEdit"_s << u"Riyosya"_s << u"情報システム部門担当"_s << QString()
        << u"情報システム部門担当"_s;
}

void TestWinPcDaityo::typedTextIsWhatCp932Holds()
{
    QFETCH(QString, control);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(QString, refusal);
    QFETCH(QString, stored);
    TestStore store(int(TestStore::Kind::SQLite));
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    MessageBoxes::ScopedRecorder boxes;
    TFpcDaityo window(dm, paths());
    window.beginNew();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    if (field != u"Key"_s)
        typeAndLeave(editOf(&window, u"KeyEDT"_s), u"K1"_s);
    QLineEdit *edit = editOf(&window, control);
    typeAndLeave(edit, typed);
    auto *ok = window.findChild<QPushButton *>(u"OkBTN"_s);
    if (refusal.isEmpty()) {
        ok->click();
        QVERIFY(boxes.texts().isEmpty());
        QCOMPARE(::stored(dm, u"SELECT %1 FROM PC"_s.arg(field)).toString(), stored);
        return;
    }
    // Refused, never cut: the text stays to be corrected, OK saves nothing.
    QTRY_COMPARE(boxes.texts(), QStringList {refusal});
    QCOMPARE(edit->text(), typed);
    QVERIFY(window.ledger().pc().value(field).isNull());
    ok->click();
    QCOMPARE(boxes.texts(), (QStringList {refusal, refusal}));
    QVERIFY(window.isVisible());
    QCOMPARE(::stored(dm, u"SELECT COUNT(*) FROM PC"_s).toInt(), 0);
}

void TestWinPcDaityo::newPcListsShowRowsBeforeTheKey()
{
    TestStore store(int(TestStore::Kind::SQLite));
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    MessageBoxes::ScopedRecorder boxes;
    TFpcDaityo window(dm, paths());
    window.beginNew();
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    withModal<TFshare>(window.findChild<QPushButton *>(u"ShareAddBTN"_s), [](TFshare *d) {
        QTest::keyClicks(d->findChild<QLineEdit *>(u"SharedNameEDT"_s), u"S1"_s);
        d->findChild<QPushButton *>(u"OkBTN"_s)->click();
    });
    QCOMPARE(window.findChild<QTableView *>(u"ShareGrid"_s)->model()->rowCount(), 1);
    QVERIFY(window.findChild<QPushButton *>(u"ShareEditBTN"_s)->isEnabled());
    QVERIFY(boxes.texts().isEmpty());

    // The rows follow the key once it is typed.
    typeAndLeave(editOf(&window, u"KeyEDT"_s), u"K9"_s);
    QCOMPARE(window.findChild<QTableView *>(u"ShareGrid"_s)->model()->rowCount(), 1);
    window.findChild<QPushButton *>(u"OkBTN"_s)->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(::stored(dm, u"SELECT Key || '/' || SharedName FROM Share"_s).toString(), u"K9/S1"_s);
}

void TestWinPcDaityo::storeGoneKeepsTheWorkUntilBack()
{
    TestStore store(int(TestStore::Kind::PostgreSQL));
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm, admin, server;
    openCheckedStore(dm, store.settings());
    openCheckedStore(admin, store.settings());
    server.setSettings(TestStore::postgresServer(u"postgres"_s));
    server.open();
    insertRow(dm, TableId::PC, {{u"Key"_s, u"P"_s}, {u"Bu"_s, u"総務"_s}});
    const QString database = store.settings().database;

    MessageBoxes::ScopedRecorder boxes;
    TFpcDaityo window(dm, paths());
    QVERIFY(window.beginEdit(u"P"_s));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    typeAndLeave(editOf(&window, u"BuCombo"_s), u"人事"_s);
    // The server drops the window's connection and takes no new one for
    // now.
    server.exec(u"ALTER DATABASE %1 ALLOW_CONNECTIONS false"_s.arg(database));
    const int pid = stored(dm, u"SELECT pg_backend_pid()"_s).toInt();
    admin.exec(u"SELECT pg_terminate_backend(:pid)"_s, {{u":pid"_s, pid}});
    auto *ok = window.findChild<QPushButton *>(u"OkBTN"_s);
    ok->click();
    QCOMPARE(boxes.texts(), QStringList {TFpcDaityo::storeGoneText()});
    QVERIFY(window.isVisible());
    QCOMPARE(editOf(&window, u"BuCombo"_s)->text(), u"人事"_s);
    QCOMPARE(stored(admin, u"SELECT Bu FROM PC WHERE Key = 'P'"_s).toString(), u"総務"_s);

    // Back: the next OK reconnects, takes the PC's claim again and saves.
    server.exec(u"ALTER DATABASE %1 ALLOW_CONNECTIONS true"_s.arg(database));
    ok->click();
    QCOMPARE(boxes.texts().size(), 1);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(stored(admin, u"SELECT Bu FROM PC WHERE Key = 'P'"_s).toString(), u"人事"_s);
}

void TestWinPcDaityo::historyTabListsThePcsChanges()
{
    TestStore store(int(TestStore::Kind::SQLite));
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    insertRow(dm, TableId::PC, {{u"Key"_s, u"P"_s}, {u"Bu"_s, u"総務"_s}});
    {
        HistoryRecorder imported(dm, History::importing());
        imported.rowAdded(TableId::Appli, u"P"_s, u"Word"_s);
        imported.rowAdded(TableId::Appli, u"Q"_s, u"Word"_s);
        HistoryRecorder typed(dm, History::manual());
        typed.valueChanged(TableId::PC, u"P"_s, {}, {u"Bu"_s, u"経理"_s, u"総務"_s});
    }

    TFpcDaityo window(dm, paths());
    QVERIFY(window.beginEdit(u"P"_s));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    auto *pages = window.findChild<QTabWidget *>(u"PageControl1"_s);
    QCOMPARE(pages->tabText(pages->count() - 1), u"履歴"_s);
    pages->setCurrentIndex(pages->count() - 1);
    auto *tab = window.findChild<PcRirekiTab *>();
    QAbstractItemModel *lines = tab->grid()->model();
    // The PC's lines, newest first.
    QCOMPARE(lines->rowCount(), 2);
    QCOMPARE(lines->index(0, 1).data().toString(), u"手入力"_s);
    QCOMPARE(lines->index(0, 6).data().toString(), u"経理"_s);
    QCOMPARE(lines->index(1, 4).data().toString(), u"Word"_s);
    tab->setTable(u"Appli"_s);
    QCOMPARE(lines->rowCount(), 1);
    window.findChild<QPushButton *>(u"CanBTN"_s)->click();
}

QTEST_MAIN(TestWinPcDaityo)

#include "tst_win_pcdaityo.moc"
