// The PC ledger window as a user drives it: field rules, detail rows
// through the dialogs, and what OK and Cancel leave in the store.

#include "TestStores.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "ledger/windows/PcRirekiTab.h"
#include "ledger/windows/UpcDaityo.h"
#include "ledger/windows/Uprinter.h"
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
    void storeGoneClosesWithoutSaving();
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

void TestWinPcDaityo::storeGoneClosesWithoutSaving()
{
    TestStore store(int(TestStore::Kind::PostgreSQL));
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm, admin;
    openCheckedStore(dm, store.settings());
    openCheckedStore(admin, store.settings());
    insertRow(dm, TableId::PC, {{u"Key"_s, u"P"_s}, {u"Bu"_s, u"総務"_s}});

    MessageBoxes::ScopedRecorder boxes;
    TFpcDaityo window(dm, paths());
    QVERIFY(window.beginEdit(u"P"_s));
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    typeAndLeave(editOf(&window, u"BuCombo"_s), u"人事"_s);
    // The server drops the window's connection.
    const int pid = stored(dm, u"SELECT pg_backend_pid()"_s).toInt();
    admin.exec(u"SELECT pg_terminate_backend(:pid)"_s, {{u":pid"_s, pid}});
    window.findChild<QPushButton *>(u"OkBTN"_s)->click();
    QCOMPARE(boxes.texts().size(), 1);
    QVERIFY(boxes.texts().value(0).startsWith(TFpcDaityo::storeGoneText() + u'\n'));
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QCOMPARE(stored(admin, u"SELECT Bu FROM PC WHERE Key = 'P'"_s).toString(), u"総務"_s);
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
