// The lease ledger window, offscreen: the key check, the date boxes, the
// schedule with its totals, loading an existing contract, and a failed save
// that keeps the window open and the store unchanged.

#include "LeaseTestSupport.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "lease/CoveredPcModel.h"
#include "lease/ScheduleModel.h"
#include "lease/windows/UleaseDaityo.h"
#include "ledger/windows/Ucalendar.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

using namespace Qt::StringLiterals;

namespace {

template <typename T> T *control(QWidget *window, const QString &name)
{
    T *c = window->findChild<T *>(name);
    if (!c)
        qFatal("no control %s", qPrintable(name));
    return c;
}

QString text(QWidget *window, const QString &name)
{
    return control<QLineEdit>(window, name)->text();
}

void click(QWidget *window, const QString &button)
{
    control<QPushButton>(window, button)->click();
}

// The totals line: count, amount, tax, fee, grand total.
QString totals(QWidget *window)
{
    QStringList labels;
    for (const char *name : {"KaisuLBL", "KingakuLBL", "ZeiLBL", "HosyuryoLBL", "GokeiLBL"})
        labels << control<QLabel>(window, QLatin1String(name))->text();
    return labels.join(u'|');
}

} // namespace

class TstWinLeaseDaityo : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void keyCheckOnLeavingTheKeyGroup_data() { TestStore::addEngineRows(); }
    void keyCheckOnLeavingTheKeyGroup();
    void dateBoxes_data();
    void dateBoxes();
    void scheduleInDateOrderWithTotals();
    void scheduleCellTakesEveryKey_data();
    void scheduleCellTakesEveryKey();
    void updLoadsTheContractOrSaysItIsGone_data() { TestStore::addEngineRows(); }
    void updLoadsTheContractOrSaysItIsGone();
    void failedSaveKeepsTheWindowOpen_data() { TestStore::addEngineRows(); }
    void failedSaveKeepsTheWindowOpen();

private:
    // The window over the test's store, shown (and, unless it closes at
    // once, active).
    void open(const QString &mode, const LeaseKey &key = {}, bool closesAtOnce = false);
    bool openStore(int engine);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<TDMdata> m_dm;
    std::unique_ptr<TFleaseDaityo> m_window;
};

void TstWinLeaseDaityo::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TstWinLeaseDaityo::cleanup()
{
    m_window.reset();
    m_dm.reset();
    m_store.reset();
    m_dir.reset();
}

bool TstWinLeaseDaityo::openStore(int engine)
{
    m_store = std::make_unique<TestStore>(engine);
    if (!m_store->isValid())
        return false;
    m_dm = std::make_unique<TDMdata>();
    openCheckedStore(*m_dm, m_store->settings());
    return true;
}

void TstWinLeaseDaityo::open(const QString &mode, const LeaseKey &key, bool closesAtOnce)
{
    m_window = std::make_unique<TFleaseDaityo>(
        *m_dm, ProgramPaths(m_dir->filePath(u"Orvane"_s), m_dir->path()));
    m_window->Mode = mode;
    m_window->LeaseKey = key.lease;
    m_window->LeaseNoKey = key.leaseNo;
    m_window->show();
    if (!closesAtOnce)
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
}

void TstWinLeaseDaityo::keyCheckOnLeavingTheKeyGroup()
{
    QFETCH(int, engine);
    if (!openStore(engine))
        ORVANE_REQUIRE_STORE(*m_store);
    insertContract(*m_dm, {u"A'社"_s, u"1"_s});
    MessageBoxes::ScopedRecorder boxes;
    open(u"add"_s);
    auto *leaseCB = control<QComboBox>(m_window.get(), u"LeaseCB"_s);
    QCOMPARE(leaseCB->count(), 1); // the companies of the store
    QCOMPARE(leaseCB->currentText(), QString());
    auto *number = control<QLineEdit>(m_window.get(), u"Lease_NoEDT"_s);
    auto *outside = control<QLineEdit>(m_window.get(), u"KeiyakuYMDEDT"_s);

    leaseCB->setEditText(u"A'社"_s);
    number->setText(u"2"_s);
    number->setFocus();
    outside->setFocus();
    QTest::qWait(10);
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(QApplication::focusWidget(), outside);

    number->setText(u"1"_s);
    number->setFocus();
    outside->setFocus();
    QTRY_COMPARE(boxes.texts(), QStringList {u"既に登録済みです"_s});
    QCOMPARE(QApplication::focusWidget(), leaseCB);
}

void TstWinLeaseDaityo::dateBoxes_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("status");
    QTest::newRow("eight digits") << u"20040131"_s << u"2004/01/31"_s << QString();
    QTest::newRow("slashes") << u"2004/1/5"_s << u"2004/01/05"_s << QString();
    QTest::newRow("empty") << u" "_s << QString() << QString();
    QTest::newRow("not a date") << u"abc"_s << u"abc"_s << u"abcは日付ではありません"_s;
}

void TstWinLeaseDaityo::dateBoxes()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, status);
    QVERIFY(openStore(int(TestStore::Kind::SQLite)));
    MessageBoxes::ScopedRecorder boxes;
    open(u"add"_s);
    auto *end = control<QLineEdit>(m_window.get(), u"kikan_endEDT"_s);
    end->setFocus();
    end->setText(typed);
    control<QLineEdit>(m_window.get(), u"BukkenmeiEDT"_s)->setFocus();
    QTest::qWait(10);
    QCOMPARE(end->text(), shown);
    QCOMPARE(m_window->statusText(), status);
    // A text that is no date keeps the focus; no box is shown.
    QCOMPARE(QApplication::focusWidget() == end, !status.isEmpty());
    QVERIFY(boxes.texts().isEmpty());
    if (!status.isEmpty())
        return;

    // The calendar opens on the box's date, and its date goes back.
    end->setText(u"2004/1/5"_s);
    QTimer::singleShot(0, m_window.get(), [] {
        auto *picker = qobject_cast<TFcalendar *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        picker->findChild<QToolButton *>(u"NenUpBTN"_s)->click();
        picker->findChild<QPushButton *>(u"OkBTN"_s)->click();
    });
    control<QToolButton>(m_window.get(), u"SpeedButton3"_s)->click();
    QCOMPARE(end->text(), u"2005/01/05"_s);
}

void TstWinLeaseDaityo::scheduleInDateOrderWithTotals()
{
    QVERIFY(openStore(int(TestStore::Kind::SQLite)));
    MessageBoxes::ScopedRecorder boxes;
    open(u"add"_s);
    ScheduleModel *schedule = m_window->schedule();
    const auto type = [&](int row, int column, const QString &value) {
        schedule->setData(schedule->index(row, column), value);
        QTest::qWait(0);
    };
    const auto dates = [&] {
        QStringList d;
        for (const ScheduleRow &r : schedule->rows())
            d << r.date.toString(Qt::ISODate);
        return d;
    };
    QCOMPARE(totals(m_window.get()), u"回数|0|0|0|0"_s);

    click(m_window.get(), u"LeaseAddBTN"_s);
    type(0, ScheduleModel::SiharaiYMD, u"20040229"_s);
    QCOMPARE(totals(m_window.get()), u"1 回||||0"_s);
    type(0, ScheduleModel::Kingaku, u"100"_s);
    QCOMPARE(totals(m_window.get()), u"1 回|100|||100"_s);

    // A new row with amounts waits for its date; it is then placed by date.
    click(m_window.get(), u"LeaseAddBTN"_s);
    type(1, ScheduleModel::Kingaku, u"50"_s);
    type(1, ScheduleModel::Zei, u"5"_s);
    QCOMPARE(totals(m_window.get()), u"1 回|100|||100"_s);
    click(m_window.get(), u"LeaseAddBTN"_s);
    QTRY_COMPARE(boxes.texts(), QStringList {u"項目 '支払日' の値が必要です"_s});
    type(1, ScheduleModel::SiharaiYMD, u"2004/1/31"_s);
    QCOMPARE(dates(), (QStringList {u"2004-01-31"_s, u"2004-02-29"_s}));
    QCOMPARE(totals(m_window.get()), u"2 回|150|5||155"_s);
    QCOMPARE(schedule->data(schedule->index(0, ScheduleModel::Gokei)).toString(), u"55"_s);

    // Refused values leave the fields as they were.
    boxes.clear();
    type(1, ScheduleModel::SiharaiYMD, u"2004/01/31"_s);
    type(1, ScheduleModel::Zei, u"1,000"_s);
    type(1, ScheduleModel::SiharaiYMD, u""_s);
    QTRY_COMPARE(boxes.texts(),
                 (QStringList {u"支払日 2004/01/31 は既に入力されています"_s,
                               u"'1,000' は項目 '消費税' に適した整数値ではありません"_s,
                               u"項目 '支払日' の値が必要です"_s}));
    QCOMPARE(dates(), (QStringList {u"2004-01-31"_s, u"2004-02-29"_s}));

    // Deleting down to no row.
    m_window->findChild<QTableView *>(u"MesaiDBG"_s)->setCurrentIndex(schedule->index(0, 0));
    click(m_window.get(), u"LeaseDelBTN"_s);
    QCOMPARE(totals(m_window.get()), u"1 回|100|||100"_s);
    click(m_window.get(), u"LeaseDelBTN"_s);
    QCOMPARE(totals(m_window.get()), u"0 回||||0"_s);
    QCOMPARE(schedule->rowCount(), 0);
}

void TstWinLeaseDaityo::scheduleCellTakesEveryKey_data()
{
    // How the user gets into the amount cell, how long after clicking the
    // first key comes, the keys typed, and what the cell holds after Enter.
    QTest::addColumn<QString>("way");
    QTest::addColumn<int>("delay");
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QString>("stored");
    for (int delay : {0, 150, 250, 350, 600})
        QTest::addRow("typed %d ms after a click", delay)
            << u"click"_s << delay << u"15000"_s << u"15000"_s;
    QTest::newRow("F2 edits in place") << u"F2"_s << 0 << u"5"_s << u"200005"_s;
    QTest::newRow("double click edits in place") << u"double click"_s << 0 << u"5"_s << u"200005"_s;
}

void TstWinLeaseDaityo::scheduleCellTakesEveryKey()
{
    QFETCH(QString, way);
    QFETCH(int, delay);
    QFETCH(QString, keys);
    QFETCH(QString, stored);
    QVERIFY(openStore(int(TestStore::Kind::SQLite)));
    MessageBoxes::ScopedRecorder boxes;
    open(u"add"_s);
    ScheduleModel *schedule = m_window->schedule();
    click(m_window.get(), u"LeaseAddBTN"_s);
    schedule->setData(schedule->index(0, ScheduleModel::SiharaiYMD), u"2004/1/31"_s);
    const QModelIndex amount = schedule->index(0, ScheduleModel::Kingaku);
    schedule->setData(amount, u"20000"_s);

    auto *grid = control<QTableView>(m_window.get(), u"MesaiDBG"_s);
    grid->setFocus();
    grid->setCurrentIndex(amount);
    const QPoint at = grid->visualRect(amount).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    if (way == u"double click"_s) {
        // The second press of a double click comes as the double click.
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, {}, at);
    }
    QTest::qWait(delay);
    if (way == u"F2"_s)
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_F2);
    // Each key goes where the keyboard's would: to the focused widget.
    for (QChar key : keys) {
        QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
        QTest::qWait(20);
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::qWait(600); // past any delayed edit
    QCOMPARE(schedule->data(amount).toString(), stored);
    QCOMPARE(grid->indexWidget(amount), nullptr); // no editor left open
    QVERIFY(boxes.texts().isEmpty());
}

void TstWinLeaseDaityo::updLoadsTheContractOrSaysItIsGone()
{
    QFETCH(int, engine);
    if (!openStore(engine))
        ORVANE_REQUIRE_STORE(*m_store);
    const LeaseKey key {u"B社"_s, u"No.7"_s};
    insertContract(*m_dm, key,
                   {{u"kikan_end"_s, QDate(2009, 3, 31)},
                    {u"kikan_tuki"_s, 60},
                    {u"keiyaku_bu"_s, u"総務部"_s}},
                   {{QDate(2004, 2, 29), 100, QVariant(), 1}, {QDate(2004, 1, 31), 100, 5, 1}},
                   {u"PC1"_s, u"GONE"_s});
    insertRow(*m_dm, TableId::PC, {{u"Key"_s, u"PC1"_s}, {u"PC_Name"_s, u"SOUMU01"_s}});
    MessageBoxes::ScopedRecorder boxes;
    open(u"upd"_s, key);
    QWidget *w = m_window.get();
    QCOMPARE(control<QComboBox>(w, u"LeaseCB"_s)->currentText(), key.lease);
    QVERIFY(!control<QComboBox>(w, u"LeaseCB"_s)->isEnabled());
    QCOMPARE(text(w, u"kikan_endEDT"_s), u"2009/03/31"_s);
    QCOMPARE(text(w, u"nengakuEDT"_s), QString());
    QCOMPARE(control<QComboBox>(w, u"keiyaku_buCB"_s)->currentText(), u"総務部"_s);
    QCOMPARE(totals(w), u"2 回|200|5|2|207"_s);
    CoveredPcModel *pcs = m_window->coveredPcs();
    QCOMPARE(pcs->data(pcs->index(0, CoveredPcModel::PcName)).toString(),
             CoveredPcModel::unknownPcText());
    QCOMPARE(pcs->data(pcs->index(1, CoveredPcModel::PcName)).toString(), u"SOUMU01"_s);

    // OK rewrites the contract: the amount without value comes back as 0.
    click(w, u"OkBTN"_s);
    QCOMPARE(m_window->result(), int(QDialog::Accepted));
    QCOMPARE(rowsOf(*m_dm, u"SELECT SiharaiYMD, zei FROM LeaseMesai ORDER BY SiharaiYMD"_s),
             (QStringList {u"2004-01-31|5"_s, u"2004-02-29|0"_s}));
    QCOMPARE(rowsOf(*m_dm, u"SELECT nengaku FROM Lease"_s), QStringList {u"0"_s});
    QVERIFY(boxes.texts().isEmpty());

    open(u"upd"_s, {u"B社"_s, u"No.8"_s}, true);
    QTRY_VERIFY(!m_window->isVisible());
    QCOMPARE(m_window->result(), int(QDialog::Rejected));
    QCOMPARE(boxes.texts(), QStringList {u"修正対象データが見つかりません"_s});
}

void TstWinLeaseDaityo::failedSaveKeepsTheWindowOpen()
{
    QFETCH(int, engine);
    if (!openStore(engine))
        ORVANE_REQUIRE_STORE(*m_store);
    MessageBoxes::ScopedRecorder boxes;
    open(u"add"_s);
    QWidget *w = m_window.get();
    control<QComboBox>(w, u"LeaseCB"_s)->setEditText(u"C社"_s);
    control<QLineEdit>(w, u"Lease_NoEDT"_s)->setText(u"9"_s);
    control<QLineEdit>(w, u"BukkenmeiEDT"_s)->setText(u"ノートPC"_s);
    click(w, u"LeaseAddBTN"_s);
    m_window->schedule()->setData(m_window->schedule()->index(0, 0), u"2004/1/31"_s);
    click(w, u"PCaddBTN"_s);
    m_window->coveredPcs()->setData(m_window->coveredPcs()->index(0, 0), u"PC1"_s);

    // The covered PCs cannot be written: nothing is, and all stays entered.
    m_dm->exec(u"DROP TABLE LeasePC"_s);
    click(w, u"OkBTN"_s);
    QCOMPARE(boxes.texts().size(), 1);
    QVERIFY(m_window->isVisible());
    QCOMPARE(rowsOf(*m_dm, u"SELECT lease FROM Lease UNION ALL SELECT lease FROM LeaseMesai"_s),
             QStringList());
    QCOMPARE(text(w, u"BukkenmeiEDT"_s), u"ノートPC"_s);
    QCOMPARE(m_window->schedule()->rows().size(), 1);
    QCOMPARE(m_window->coveredPcs()->keys(), QStringList {u"PC1"_s});

    // Once the cause is gone, OK again saves it all.
    SilentTableCheck check;
    m_dm->checkTables(check);
    click(w, u"OkBTN"_s);
    QCOMPARE(m_window->result(), int(QDialog::Accepted));
    QCOMPARE(rowsOf(*m_dm, u"SELECT Bukkenmei FROM Lease UNION ALL SELECT PCKey FROM LeasePC"_s),
             (QStringList {u"ノートPC"_s, u"PC1"_s}));
}

QTEST_MAIN(TstWinLeaseDaityo)
#include "tst_win_leasedaityo.moc"
