// The PC ledger opened from the PC list: the chosen PC, the list read again
// after OK, and a PC that another copy deleted meanwhile.

#include "TestStores.h"
#include "app/PcListPage.h"
#include "app/Umain.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "ledger/PcLedger.h"
#include "ledger/windows/UpcDaityo.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"
#include "views/PcDeletion.h"
#include "views/PcListFields.h"
#include "views/PcListModel.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace Qt::StringLiterals;

class TestWinPcListLedger : public QObject
{
    Q_OBJECT

private slots:
    void editFromTheList();
};

void TestWinPcListLedger::editFromTheList()
{
    QTemporaryDir dir;
    const ProgramPaths paths(dir.filePath(u"Orvane"_s), dir.path());
    StoreSettings local;
    local.folder = dir.filePath(u"PCDB"_s);
    QVERIFY(QDir().mkpath(local.folder));
    {
        TDMdata dm;
        openCheckedStore(dm, local);
        for (const char *key : {"A", "B", "C"}) {
            RecordCursor pc(dm, TableId::PC);
            pc.open();
            pc.append();
            pc.setValue(u"Key"_s, QLatin1String(key));
            pc.post();
        }
    }
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths);
    window.show();
    QTRY_VERIFY(window.isStartupDone());
    window.finishReading();
    auto *list = window.findChild<PcListPage *>();
    list->goToKey(u"B"_s);

    // The popup's "修正" opens the current PC; OK reads the list again and
    // stays on its row.
    QString opened;
    QTimer::singleShot(0, &window, [&] {
        auto *ledger = qobject_cast<TFpcDaityo *>(QApplication::activeModalWidget());
        if (!ledger)
            return;
        opened = ledger->ledger().key();
        ledger->ledger().pc().setValue(u"Bu"_s, u"人事"_s);
        ledger->findChild<QPushButton *>(u"OkBTN"_s)->click();
    });
    list->grid()->findChild<QAction *>(u"UpdMI"_s)->trigger();
    window.finishReading();
    QCOMPARE(opened, u"B"_s);
    QCOMPARE(list->currentKey(), u"B"_s);
    QCOMPARE(list->model()->plainText(1, PcListFields::indexOfName(u"Bu"_s)), u"人事"_s);

    // Another copy deletes B: the edit says so and opens nothing.
    TDMdata other;
    openCheckedStore(other, local);
    PcDeletion::deletePcs(other, {u"B"_s});
    list->grid()->findChild<QAction *>(u"UpdMI"_s)->trigger();
    window.finishReading();
    QCOMPARE(boxes.texts(), QStringList {PcLedger::deletedText(u"B"_s)});
}

QTEST_MAIN(TestWinPcListLedger)
#include "tst_win_pclist_ledger.moc"
