// The overall status tab inside the main window: start-up, the radio
// buttons, the refresh button, the grid's copy and a failing statement.
//
// With ORVANE_GRAB_DIR set, the tab is saved there as PNG files.

#include "app/OverallStatusPage.h"
#include "app/Umain.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "store/UDMdata.h"
#include "views/StatisticsModel.h"
#include "views/windows/ClockBarView.h"
#include "views/windows/Pie3DWidget.h"
#include "views/windows/StatusChart.h"

#include <QAction>
#include <QApplication>
#include <QBarSet>
#include <QClipboard>
#include <QDate>
#include <QDir>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

using Statistics::Grouping;

namespace {

void insertPc(TDMdata &dm, const QString &key, const QString &os, const QString &bu, double clock,
              bool removed = false)
{
    QSqlQuery q = dm.exec(
        QStringLiteral("INSERT INTO PC (Key, Win_Type, Bu, Maker, Keijyo, CPU_Clock, TekkyoYMD)\n"
                       "VALUES (:KEY, :OS, :BU, :MAKER, :KEIJYO, :CLOCK, :TEKKYO)"),
        {{QStringLiteral(":KEY"), key},
         {QStringLiteral(":OS"), os.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : os},
         {QStringLiteral(":BU"), bu},
         {QStringLiteral(":MAKER"), QStringLiteral("富士通")},
         {QStringLiteral(":KEIJYO"), QStringLiteral("ﾉｰﾄ")},
         {QStringLiteral(":CLOCK"), clock},
         {QStringLiteral(":TEKKYO"),
          removed ? QVariant(QDate(2021, 3, 31)) : QVariant(QMetaType(QMetaType::QDate))}});
    q.finish();
}

QStringList column(const StatisticsModel *model, int c)
{
    QStringList out;
    for (int r = 0; r < model->rowCount(); ++r)
        out << model->index(r, c).data().toString();
    return out;
}

void grab(QWidget &widget, const char *name)
{
    const QString dir = qEnvironmentVariable("ORVANE_GRAB_DIR");
    if (!dir.isEmpty())
        QVERIFY(widget.grab().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png")));
}

} // namespace

class TstStatusPage : public QObject
{
    Q_OBJECT

private slots:
    void tabInTheMainWindow();
    void failingStatementShowsTheStoreText();
};

void TstStatusPage::tabInTheMainWindow()
{
    MessageBoxes::ScopedRecorder boxes;
    QTemporaryDir dir;
    TFmain window(ProgramPaths(dir.filePath("Orvane"), dir.path()));
    window.resize(1000, 700);
    window.show();
    QTRY_VERIFY(window.isStartupDone());
    window.finishReading();
    QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));

    auto *page = window.findChild<OverallStatusPage *>();
    QVERIFY(page);
    QCOMPARE(window.tabs()->tabText(window.tabs()->indexOf(page)), QStringLiteral("全体状況"));
    // An empty store: empty table and chart, "全台数： 台".
    QCOMPARE(page->grouping(), Grouping::OS);
    QVERIFY(page->radioButton(Grouping::OS)->isChecked());
    QCOMPARE(page->totalLabel()->text(), QStringLiteral("全台数： 台"));
    QCOMPARE(page->model()->rowCount(), 0);
    QVERIFY(page->chart()->pie()->layoutSlices().isEmpty());

    QStringList captions;
    for (Grouping g :
         {Grouping::OS, Grouping::Bu, Grouping::Maker, Grouping::Keijyo, Grouping::Clock})
        captions << page->radioButton(g)->text();
    QCOMPARE(captions, QStringList({"OS", "部", "ﾒｰｶｰ", "形状", "ｸﾛｯｸ"}));
    QCOMPARE(page->refreshButton()->text(), QStringLiteral("最新の状態に更新"));

    TDMdata &dm = *window.dataModule();
    insertPc(dm, "PC-A", "Windows 11 Pro", "総務部", 2400);
    insertPc(dm, "PC-B", "Windows 11 Pro", "経理部", 3200.5);
    insertPc(dm, "PC-C", "", "総務部", 2.5);
    insertPc(dm, "PC-X", "Windows XP", "倉庫", 9999, true);
    window.RefreshStatistics();
    window.finishReading();
    QCOMPARE(page->totalLabel()->text(), QStringLiteral("全台数：3 台"));
    QCOMPARE(column(page->model(), 0), QStringList({"Windows 11 Pro", ""}));
    QCOMPARE(column(page->model(), 1), QStringList({"2", "1"}));
    QCOMPARE(page->chart()->pie()->slices().size(), 2);

    // The grid's copy: caption line and rows, every line ending in CR.
    auto *copy = page->grid()->findChild<QAction *>(QStringLiteral("Copy1"));
    QVERIFY(copy);
    QCOMPARE(copy->text(), QStringLiteral("ｺﾋﾟｰ"));
    QCOMPARE(page->grid()->contextMenuPolicy(), Qt::ActionsContextMenu);
    copy->trigger();
    QCOMPARE(QApplication::clipboard()->text(),
             QStringLiteral("ＯＳ種別\t台数\rWindows 11 Pro\t2\r\t1\r"));

    // A radio button refreshes with its grouping.
    page->radioButton(Grouping::Bu)->click();
    window.finishReading();
    QCOMPARE(page->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("部"));
    QCOMPARE(column(page->model(), 0), QStringList({"総務部", "経理部"}));
    grab(*page, "page_bu");

    page->radioButton(Grouping::Clock)->click();

    window.finishReading();
    QCOMPARE(page->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("キー"));
    QCOMPARE(page->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("クロック"));
    QCOMPARE(column(page->model(), 0), QStringList({"PC-B", "PC-A", "PC-C"}));
    QCOMPARE(column(page->model(), 1), QStringList({"3200.5", "2400", "2.5"}));
    QVERIFY(page->chart()->isBarView());
    QVERIFY(page->chart()->isHintShown());
    QCOMPARE(page->chart()->bars()->labels(), QStringList({"PC-C", "PC-A", "PC-B"}));
    QBarSet *set = page->chart()->bars()->series()->barSets().constFirst();
    QCOMPARE(QList<qreal>({set->at(0), set->at(1), set->at(2)}), QList<qreal>({2, 2400, 3200}));
    grab(*page, "page_clock");

    page->radioButton(Grouping::OS)->click();

    window.finishReading();
    QVERIFY(!page->chart()->isBarView());
    QVERIFY(!page->chart()->isHintShown());
    QCOMPARE(page->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("ＯＳ種別"));

    // "最新の状態に更新" on this tab refreshes the statistics too.
    insertPc(dm, "PC-D", "Windows 11 Pro", "営業部", 1600);
    QCOMPARE(page->totalLabel()->text(), QStringLiteral("全台数：3 台"));
    page->refreshButton()->click();
    window.finishReading();
    QCOMPARE(page->totalLabel()->text(), QStringLiteral("全台数：4 台"));
    QCOMPARE(column(page->model(), 1), QStringList({"3", "1"}));
    grab(*page, "page_os");

    // Without a store the tab shows nothing of the old one.
    dm.close();
    page->radioButton(Grouping::Maker)->click();
    window.finishReading();
    QCOMPARE(page->model()->rowCount(), 0);
    QCOMPARE(page->totalLabel()->text(), QString());
    QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
}

void TstStatusPage::failingStatementShowsTheStoreText()
{
    MessageBoxes::ScopedRecorder boxes;
    QTemporaryDir dir;
    TFmain window(ProgramPaths(dir.filePath("Orvane"), dir.path()));
    window.show();
    QTRY_VERIFY(window.isStartupDone());
    window.finishReading();
    auto *page = window.findChild<OverallStatusPage *>();
    TDMdata &dm = *window.dataModule();
    insertPc(dm, "PC-A", "Windows 11 Pro", "総務部", 2400);
    window.RefreshStatistics();
    window.finishReading();
    QCOMPARE(page->model()->rowCount(), 1);

    dm.exec(QStringLiteral("ALTER TABLE PC RENAME TO PC_GONE")).finish();
    window.RefreshStatistics();
    window.finishReading();
    QCOMPARE(boxes.entries().size(), 1);
    QCOMPARE(boxes.entries().first().kind, MessageBoxes::Kind::Error);
    QVERIFY2(boxes.entries().first().text.contains("PC", Qt::CaseInsensitive),
             qPrintable(boxes.entries().first().text));
    // As far as it got: the grid was closed, the total stays.
    QCOMPARE(page->model()->rowCount(), 0);
    QCOMPARE(page->totalLabel()->text(), QStringLiteral("全台数：1 台"));
    dm.exec(QStringLiteral("ALTER TABLE PC_GONE RENAME TO PC")).finish();
}

QTEST_MAIN(TstStatusPage)
#include "tst_status_page.moc"
