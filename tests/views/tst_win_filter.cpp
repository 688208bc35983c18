// The filter box of the PC list, offscreen on both engines: typing shows
// the matching PCs in the list's order with the count beside the box,
// keeps the current row when it stays and the hidden removed PCs hidden;
// Esc shows the whole list again.

#include "app/PcListPage.h"
#include "base/AppSettings.h"
#include "base/ProgramPaths.h"
#include "kit/FilterBox.h"
#include "kit/TDBGridEx.h"
#include "tst_pclist_support.h"
#include "views/PcListFields.h"
#include "views/PcListModel.h"
#include "views/windows/Ukensaku.h"

#include <QDate>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

using namespace Qt::StringLiterals;

class TstWinFilter : public QObject
{
    Q_OBJECT

private slots:
    void filterKeepsOrderCurrentRowAndRemovedSetting_data() { TestStore::addEngineRows(); }
    void filterKeepsOrderCurrentRowAndRemovedSetting();
    void searchWindowReadsTheLedgerInTheBackground_data() { TestStore::addEngineRows(); }
    void searchWindowReadsTheLedgerInTheBackground();
};

void TstWinFilter::filterKeepsOrderCurrentRowAndRemovedSetting()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    insertPc(dm, u"PC1"_s, {{u"Bu"_s, u"総務部"_s}, {u"Riyosya"_s, u"ヤマダ"_s}});
    insertPc(dm, u"PC2"_s, {{u"Bu"_s, u"経理部"_s}, {u"Riyosya"_s, u"ｽｽﾞｷ"_s}});
    insertPc(dm, u"PC3"_s, {{u"Bu"_s, u"総務部"_s}, {u"Riyosya"_s, u"やまだ"_s}});
    insertPc(
        dm, u"PC4"_s,
        {{u"Bu"_s, u"総務部"_s}, {u"Riyosya"_s, u"ﾔﾏﾀﾞ"_s}, {u"TekkyoYMD"_s, QDate(2020, 1, 1)}});

    QTemporaryDir dir;
    AppSettings settings(dir.path());
    settings.tekkyoHiHyoji = true; // removed PCs hidden
    settings.pcGrid.sort.komoku[0] = u"Key"_s;
    settings.pcGrid.sort.jyun[0] = u"降順"_s;
    const ProgramPaths paths(dir.filePath(u"Orvane"_s), dir.path());
    PcListPage page;
    page.attach(settings, paths);
    page.show();
    page.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&page));
    page.refresh(dm);
    page.finishReading();
    page.goToKey(u"PC3"_s);
    QLineEdit *edit = page.filterBox()->edit();
    const auto shownKeys = [&] {
        QStringList keys;
        QAbstractItemModel *rows = page.grid()->model();
        for (int r = 0; r < rows->rowCount(); ++r)
            keys << rows->index(r, 0).data().toString();
        return keys;
    };

    // Typed as the other PCs' names are stored: half-width kana.
    for (QChar c : u"ﾔﾏﾀﾞ"_s) // typed one character after another
        edit->insert(c);
    QCOMPARE(shownKeys(), (QStringList {u"PC3"_s, u"PC1"_s})); // Key descending
    QCOMPARE(page.currentKey(), u"PC3"_s);
    QCOMPARE(page.filterBox()->countText(), u"3 台中 2 台"_s);
    QCOMPARE(page.actionKeys(), QStringList {u"PC3"_s});

    // Esc: the whole list, still on PC3.
    QTest::keyClick(edit, Qt::Key_Escape);
    QCOMPARE(edit->text(), QString());
    QCOMPARE(shownKeys(), (QStringList {u"PC3"_s, u"PC2"_s, u"PC1"_s}));
    QCOMPARE(page.currentKey(), u"PC3"_s);

    // Two words in two columns; a word found in a hidden column only does
    // not count.
    edit->insert(u"総務 ヤマダ"_s);
    QCOMPARE(shownKeys(), (QStringList {u"PC3"_s, u"PC1"_s}));
    page.grid()->setColumnHidden(PcListFields::indexOfName(u"Bu"_s), true);
    edit->setText(u"総務"_s);
    QCOMPARE(shownKeys(), QStringList());
    QCOMPARE(page.currentKey(), QString());
}

// 検索 asked for before the ledger's read has ended shows its matches when
// the read comes; a search after it answers at once.
void TstWinFilter::searchWindowReadsTheLedgerInTheBackground()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    insertPc(dm, u"PC1"_s, {{u"Riyosya"_s, u"ヤマダ"_s}});
    insertPc(dm, u"PC2"_s, {{u"Riyosya"_s, u"ｽｽﾞｷ"_s}});
    insertPc(dm, u"PC3"_s, {{u"Riyosya"_s, u"やまだ"_s}});
    QTemporaryDir dir;
    const ProgramPaths paths(dir.filePath(u"Orvane"_s), dir.path());
    TFkensaku window(dm, paths);
    const auto matchedKeys = [&] {
        QStringList keys;
        for (int g = 0; g < window.results()->topLevelItemCount(); ++g) {
            const QTreeWidgetItem *group = window.results()->topLevelItem(g);
            for (int i = 0; i < group->childCount(); ++i)
                keys << group->child(i)->text(0);
        }
        return keys;
    };

    window.edit()->setText(u"ﾔﾏﾀﾞ"_s);
    window.KensakuBTNClick();
    window.finishReading();
    QCOMPARE(matchedKeys(), (QStringList {u"PC1"_s, u"PC3"_s}));
    window.edit()->setText(u"すずき"_s);
    window.KensakuBTNClick();
    QCOMPARE(matchedKeys(), QStringList {u"PC2"_s});
}

QTEST_MAIN(TstWinFilter)
#include "tst_win_filter.moc"
