// The report frame with the PC management sheet, offscreen: paging through
// the preview while the rest is produced, the empty report, page ranges
// and printing to PDF, and the three ways the main window starts it.

#include "PdfText.h"
#include "SheetRows.h"
#include "TestStores.h"
#include "app/PcListPage.h"
#include "app/Umain.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "layout/LRPrvSpl.h"
#include "reports/LRPreviewThread.h"
#include "reports/MasterQuery.h"
#include "reports/PcSheetReport.h"
#include "reports/windows/PrintMsgU.h"
#include "reports/windows/ReportPrinters.h"
#include "reports/windows/UpcSheetLR.h"
#include "views/PcListModel.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

// Runs check on the report window once the main window has shown it
// modally, then closes it.
void whenSheetShown(const std::function<void(TLRPCsheet &)> &check, bool *ran)
{
    auto *timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, timer, [timer, check, ran] {
        auto *window = qobject_cast<TLRPCsheet *>(QApplication::activeModalWidget());
        if (!window)
            return;
        timer->stop();
        timer->deleteLater();
        *ran = true;
        check(*window);
        window->reject();
    });
    timer->start();
}

QStringList previewKeys(const TLRPCsheet &window)
{
    return window.previewSheet() ? window.previewSheet()->Qpc().keys() : QStringList();
}

} // namespace

class TstWinPcSheet : public QObject
{
    Q_OBJECT

private slots:
    // Pages are produced in the background; moving only shows them. The
    // buttons follow the enable rules; a page number typed into a range
    // box goes to that page.
    void previewPagesThrough_data() { TestStore::addEngineRows(); }
    void previewPagesThrough()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        SheetRows::addPc(dm, QStringLiteral("A"), 60);
        SheetRows::addPc(dm, QStringLiteral("B"), 0);
        MessageBoxes::ScopedRecorder boxes;

        TLRPCsheet window(dm, PcSheetReport::allPcs());
        window.show();
        QTRY_VERIFY(!window.counterText().isEmpty());
        QCOMPARE(window.windowTitle(), QStringLiteral("パソコン管理シート"));
        QVERIFY(!window.ActPriorPage->isEnabled());
        QVERIFY(!window.ActFirstPage->isEnabled());
        QVERIFY(window.ActNextPage->isEnabled());
        QTRY_VERIFY(!window.previewThread().isRunning());
        QVERIFY(!window.ActPause->isEnabled());
        QCOMPARE(window.counterText(), QStringLiteral("1/3"));
        QVERIFY(window.ActNextPage->isEnabled()); // images not yet shown

        window.ActNextPage->trigger();
        QCOMPARE(window.counterText(), QStringLiteral("2/3"));
        QVERIFY(window.ActPriorPage->isEnabled());
        window.ActLastPage->trigger();
        QCOMPARE(window.counterText(), QStringLiteral("3/3"));
        QVERIFY(!window.ActNextPage->isEnabled());
        QVERIFY(!window.ActLastPage->isEnabled());
        window.ActFirstPage->trigger();
        QCOMPARE(window.counterText(), QStringLiteral("1/3"));

        window.Edit1->setText(QStringLiteral("2"));
        window.Edit1->setModified(true);
        QEvent focusOut(QEvent::FocusOut);
        QApplication::sendEvent(window.Edit1, &focusOut);
        QCOMPARE(window.counterText(), QStringLiteral("2/3"));
        QVERIFY(boxes.entries().isEmpty());
    }

    void emptyReport()
    {
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        MessageBoxes::ScopedRecorder boxes;
        TLRPCsheet window(dm, PcSheetReport::allPcs());
        window.show();
        QTRY_COMPARE(boxes.texts(), QStringList {QStringLiteral("印刷対象データがありません．")});
        QCOMPARE(window.LRPreviewControl1().ImageCount(), 0);
        QVERIFY(!window.ActNextPage->isEnabled());
    }

    // The range boxes decide what reaches the PDF file; an inverted range
    // is refused when printing starts, and leaves the file of the print
    // before (from page 5) as it was.
    void printRange_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QStringList>("keys");
        QTest::addColumn<QString>("message");
        QTest::newRow("all") << ""
                             << "" << QStringList {"A", "A", "B", "C", "D"} << "";
        QTest::newRow("to 3") << ""
                              << "3" << QStringList {"A", "A", "B"} << "";
        QTest::newRow("2 to 2") << "2"
                                << "2" << QStringList {"A"} << "";
        QTest::newRow("from 4") << "4"
                                << "" << QStringList {"C", "D"} << "";
        QTest::newRow("inverted") << "5"
                                  << "3" << QStringList {"D"}
                                  << "印刷ページ範囲が正しくありません．";
    }
    void printRange()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(QString, from);
        QFETCH(QString, to);
        QFETCH(QStringList, keys);
        QFETCH(QString, message);
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        SheetRows::addPc(dm, QStringLiteral("A"), 60);
        for (const char *key : {"B", "C", "D"})
            SheetRows::addPc(dm, QLatin1String(key), 0);
        QTemporaryDir dir;
        MessageBoxes::ScopedRecorder boxes;

        TLRPCsheet window(dm, PcSheetReport::allPcs());
        window.printers().choose(ReportPrinters::pdfCaption());
        QString offered;
        window.printers().setSaveDialog(
            [&](QWidget *, const QString &, const QString &name, const QString &) {
                offered = name;
                return dir.filePath(QStringLiteral("sheets"));
            });
        window.show();
        QTRY_VERIFY(!window.counterText().isEmpty());
        for (auto [box, text] : {std::pair {window.Edit1, from}, std::pair {window.Edit2, to}}) {
            box->setText(text);
            box->setModified(true);
            box->setFocus();
            window.ActPrint->trigger();
        }
        const QString file = dir.filePath(QStringLiteral("sheets.pdf"));
        QCOMPARE(boxes.texts().join(u'|'), message);
        QVERIFY(QFile::exists(file));
        QTRY_VERIFY(window.findChildren<TPrintMsg *>().isEmpty());
        // Each print starts again from the first PC; the second one was
        // offered the first one's file.
        QCOMPARE(offered, file);
        QStringList printed;
        for (const QString &page : PdfText::pages(file)) {
            const qsizetype at = page.indexOf(QStringLiteral("KEY:"));
            printed << page.mid(at + 4, 1);
        }
        QCOMPARE(printed, keys);
    }

    // A letter in a range box beeps, says so and keeps the focus there;
    // Enter moves on without being typed.
    void pageBoxRefusesLetters()
    {
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        SheetRows::addPc(dm, QStringLiteral("A"), 0);
        MessageBoxes::ScopedRecorder boxes;
        TLRPCsheet window(dm, PcSheetReport::allPcs());
        window.show();
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTRY_VERIFY(!window.counterText().isEmpty());

        window.Edit1->setFocus();
        QTest::keyClicks(window.Edit1, QStringLiteral("1"));
        QTest::keyClick(window.Edit1, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), window.Edit2);
        QCOMPARE(window.Edit1->text(), QStringLiteral("1"));
        QTest::keyClicks(window.Edit2, QStringLiteral("x"));
        window.Edit1->setFocus();
        QCOMPARE(boxes.texts(), QStringList {QStringLiteral("'x' は有効な整数値ではありません")});
        QTRY_COMPARE(window.Edit2->selectedText(), QStringLiteral("x"));
        QCOMPARE(QApplication::focusWidget(), window.Edit2);
    }

    // "パソコン管理シート" prints all PCs; "管理シート印刷" and the pop-up
    // print the selected PCs in key order, or the current one; the list
    // keeps its current row.
    void startedFromTheMainWindow()
    {
        QTemporaryDir dir;
        const ProgramPaths paths(dir.filePath(QStringLiteral("Orvane")), dir.path());
        {
            QVERIFY(QDir().mkpath(paths.defaultDataDir()));
            StoreSettings settings;
            settings.folder = paths.defaultDataDir();
            TDMdata dm;
            openCheckedStore(dm, settings);
            for (const char *key : {"A", "B", "C", "D"})
                SheetRows::addPc(dm, QLatin1String(key), 0);
        }
        MessageBoxes::ScopedRecorder boxes;
        TFmain main(paths);
        main.show();
        QTRY_VERIFY(main.isStartupDone());
        main.finishReading();
        PcListPage *list = main.findChild<PcListPage *>();

        bool ran = false;
        whenSheetShown(
            [](TLRPCsheet &window) {
                QTRY_COMPARE(window.counterText(), QStringLiteral("1/4"));
                QCOMPARE(window.masterStatement().lines, PcSheetReport::allPcs().lines);
                QTRY_COMPARE(previewKeys(window), QStringList({"A", "B", "C", "D"}));
            },
            &ran);
        main.findChild<QPushButton *>(QStringLiteral("PcSheetBTN"))->click();
        QVERIFY(ran);

        // Three rows selected from the bottom up; the current row is D.
        QItemSelectionModel *selection = list->grid()->selectionModel();
        for (int row : {3, 1, 0})
            selection->setCurrentIndex(list->grid()->model()->index(row, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
        selection->setCurrentIndex(list->grid()->model()->index(3, 0),
                                   QItemSelectionModel::NoUpdate);
        ran = false;
        whenSheetShown(
            [](TLRPCsheet &window) {
                QTRY_COMPARE(previewKeys(window), QStringList({"A", "B", "D"}));
            },
            &ran);
        list->findChild<QPushButton *>(QStringLiteral("PrintBTN"))->click();
        QVERIFY(ran);
        QCOMPARE(list->currentKey(), QStringLiteral("D"));

        selection->clearSelection();
        list->goToKey(QStringLiteral("C"));
        ran = false;
        whenSheetShown(
            [](TLRPCsheet &window) { QTRY_COMPARE(previewKeys(window), QStringList({"C"})); },
            &ran);
        list->grid()->findChild<QAction *>(QStringLiteral("PrintMI"))->trigger();
        QVERIFY(ran);
        QCOMPARE(list->currentKey(), QStringLiteral("C"));
        QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
    }
};

QTEST_MAIN(TstWinPcSheet)
#include "tst_win_pcsheet.moc"
