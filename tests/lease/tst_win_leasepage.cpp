// The lease tab in the main window, offscreen: the list with what is due,
// adding through the lease window, deleting with its question, and the
// creation from the PC ledger run twice.

#include "LeaseTestSupport.h"
#include "app/LeasePage.h"
#include "app/Umain.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "lease/LeaseListModel.h"
#include "lease/windows/UleaseDaityo.h"
#include "lease/windows/UleaseDataCRT.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

namespace {

// The list's rows: key, end date and the three figures.
QStringList listed(const LeasePage *page)
{
    const LeaseListModel *m = page->model();
    QStringList rows;
    for (int r = 0; r < m->rowCount(); ++r) {
        QStringList cells;
        for (int c : {0, 1, 5, 17, 18, 19})
            cells << m->data(m->index(r, c)).toString();
        rows << cells.join(u'|');
    }
    return rows;
}

// Clicks a button of the tab and runs drive() on the modal window it opens.
template <typename Window>
void withWindow(LeasePage *page, const char *button, const std::function<void(Window *)> &drive)
{
    bool driven = false;
    QTimer::singleShot(0, page, [&] {
        auto *window = qobject_cast<Window *>(QApplication::activeModalWidget());
        QVERIFY(window);
        driven = true;
        drive(window);
        if (window->isVisible())
            window->reject();
    });
    page->findChild<QPushButton *>(QLatin1String(button))->click();
    QVERIFY(driven);
}

} // namespace

class TstWinLeasePage : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void listShowsWhatIsDueAndAddsThroughTheWindow();
    void deleteAsksFirstAndDeletesAll();
    void creationFromPcsRunTwice();

private:
    ProgramPaths paths() const { return ProgramPaths(m_dir->filePath("Orvane"), m_dir->path()); }
    // The main window on a store in the default data folder, made first by
    // prepare(), started, with the lease tab.
    LeasePage *start(const std::function<void(TDMdata &)> &prepare);

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TFmain> m_window;
};

void TstWinLeasePage::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
}

void TstWinLeasePage::cleanup()
{
    m_window.reset();
    m_dir.reset();
}

LeasePage *TstWinLeasePage::start(const std::function<void(TDMdata &)> &prepare)
{
    StoreSettings settings;
    settings.folder = m_dir->filePath("PCDB");
    QDir().mkpath(settings.folder);
    {
        TDMdata dm;
        openCheckedStore(dm, settings);
        prepare(dm);
    }
    m_window = std::make_unique<TFmain>(paths());
    m_window->show();
    if (!QTest::qWaitFor([this] { return m_window->isStartupDone(); }))
        return nullptr;
    return m_window->findChild<LeasePage *>();
}

void TstWinLeasePage::listShowsWhatIsDueAndAddsThroughTheWindow()
{
    const QDate today = QDate::currentDate();
    LeasePage *page = start([&](TDMdata &dm) {
        insertContract(dm, {u"B"_s, u"1"_s}, {{u"kikan_end"_s, today.addDays(10)}},
                       {{today, 100, 8, QVariant()}, {today.addDays(-1), 50, 0, 0}});
    });
    QVERIFY(page);
    MessageBoxes::ScopedRecorder boxes;
    QCOMPARE(page->model()->headerData(19, Qt::Horizontal).toString(), u"期限"_s);
    QCOMPARE(listed(page),
             QStringList {u"B|1|"_s + today.addDays(10).toString(u"yyyy/MM/dd"_s)
                          + u"|1|108|期限間近"_s});

    withWindow<TFleaseDaityo>(page, "LeaseAddBTN", [](TFleaseDaityo *w) {
        w->findChild<QComboBox *>(u"LeaseCB"_s)->setEditText(u"A"_s);
        w->findChild<QLineEdit *>(u"Lease_NoEDT"_s)->setText(u"2"_s);
        w->findChild<QPushButton *>(u"OkBTN"_s)->click();
    });
    QCOMPARE(boxes.texts(), QStringList());
    const QStringList rows = listed(page);
    QCOMPARE(rows.size(), 2);
    QCOMPARE(rows[0], u"A|2||0|0|"_s);
    QVERIFY(rows[1].startsWith(u"B|1|"_s));
}

void TstWinLeasePage::deleteAsksFirstAndDeletesAll()
{
    LeasePage *page = start([](TDMdata &dm) {
        insertContract(dm, {u"A"_s, u"1"_s}, {}, {{QDate(2004, 1, 31), 1, 1, 1}}, {u"PC1"_s});
        insertContract(dm, {u"A"_s, u"2"_s}, {}, {{QDate(2004, 1, 31), 1, 1, 1}}, {u"PC1"_s});
    });
    QVERIFY(page);
    MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::No);
    const QString question = u"A(1)\n\rに関する情報をすべて削除します。\n\rよろしいですか？"_s;
    page->findChild<QPushButton *>(u"LeaseDelBTN"_s)->click();
    QCOMPARE(boxes.texts(), QStringList {question});
    QCOMPARE(page->model()->rowCount(), 2);

    boxes.clear();
    boxes.setReply(MessageBoxes::Reply::Yes);
    page->findChild<QPushButton *>(u"LeaseDelBTN"_s)->click();
    QCOMPARE(boxes.texts(), QStringList {question});
    QCOMPARE(listed(page), QStringList {u"A|2||0|0|"_s});
    QCOMPARE(page->grid()->currentIndex().row(), 0);
    QCOMPARE(rowsOf(*m_window->dataModule(),
                    u"SELECT lease_No FROM LeaseMesai UNION ALL "
                    "SELECT lease_No FROM LeasePC"_s),
             (QStringList {u"2"_s, u"2"_s}));
}

void TstWinLeasePage::creationFromPcsRunTwice()
{
    LeasePage *page = start([](TDMdata &dm) {
        for (const char *key : {"PC1", "PC2"})
            insertRow(dm, TableId::PC,
                      {{u"Key"_s, QString::fromLatin1(key)},
                       {u"lease"_s, u"L社"_s},
                       {u"lease_No"_s, u"5"_s}});
    });
    QVERIFY(page);
    MessageBoxes::ScopedRecorder boxes;
    for (int run = 0; run < 2; ++run) {
        withWindow<TFleaseDataCRT>(page, "BitBtn2", [](TFleaseDataCRT *w) {
            w->findChild<QPushButton *>(u"StartBTN"_s)->click();
            QVERIFY(!w->isVisible());
        });
        QCOMPARE(listed(page), QStringList {u"L社|5||0|0|"_s});
    }
    QCOMPARE(boxes.texts(), QStringList());
    QCOMPARE(rowsOf(*m_window->dataModule(), u"SELECT PCKey FROM LeasePC ORDER BY PCKey"_s),
             (QStringList {u"PC1"_s, u"PC2"_s}));
}

QTEST_MAIN(TstWinLeasePage)
#include "tst_win_leasepage.moc"
