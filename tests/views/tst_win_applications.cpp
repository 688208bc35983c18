// The applications tab and the application data correction on a store:
// only PCs in service count, the PCs come in the keys' order, and the
// correction keeps all or nothing.

#include "TestStores.h"
#include "app/ApplicationsPage.h"
#include "app/MainMenu.h"
#include "app/Umain.h"
#include "base/AppSettings.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"
#include "views/AppliCorrection.h"
#include "views/QueryRowsModel.h"
#include "views/windows/UappliUpd.h"

#include <QAction>
#include <QPushButton>
#include <QRadioButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

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

// PCs A, B, C in service and D removed; Word on all four, Paint on D only,
// neither with an input kind.
void fillStore(TDMdata &dm)
{
    const QList<QStringList> pcs {
        {"A", "総務", "佐藤"}, {"B", "経理", "鈴木"}, {"C", "総務", "高橋"}, {"D", "総務", "田中"}};
    for (const QStringList &pc : pcs) {
        QVariantMap values {{u"Key"_s, pc[0]}, {u"Bu"_s, pc[1]}, {u"Riyosya"_s, pc[2]}};
        if (pc[0] == u"D"_s)
            values.insert(u"TekkyoYMD"_s, QDate(2020, 3, 31));
        insertRow(dm, TableId::PC, values);
        insertRow(dm, TableId::Appli, {{u"Key"_s, pc[0]}, {u"Appli"_s, u"Word"_s}});
    }
    insertRow(dm, TableId::Appli, {{u"Key"_s, u"D"_s}, {u"Appli"_s, u"Paint"_s}});
}

QStringList column(const QueryRowsModel *model, const QString &field)
{
    QStringList values;
    for (int r = 0; r < model->rowCount(); ++r)
        values << model->value(r, field).toString();
    return values;
}

int emptyKinds(TDMdata &dm)
{
    QSqlQuery q = dm.exec(u"SELECT COUNT(*) FROM Appli WHERE COALESCE(NyuryokuKBN, '') = ''"_s);
    const int n = q.next() ? q.value(0).toInt() : -1;
    q.finish();
    return n;
}

} // namespace

class TstWinApplications : public QObject
{
    Q_OBJECT

private slots:
    void onlyPcsInServiceInKeyOrder_data() { TestStore::addEngineRows(); }
    void onlyPcsInServiceInKeyOrder();
    void correctionKeepsAllOrNothing_data();
    void correctionKeepsAllOrNothing();
    void nothingToCorrect();

private:
    ProgramPaths paths() const { return ProgramPaths(m_dir.filePath(u"Orvane"_s), m_dir.path()); }
    QTemporaryDir m_dir;
};

void TstWinApplications::onlyPcsInServiceInKeyOrder()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    fillStore(dm);

    AppSettings settings(m_dir.path());
    settings.appliPcGrid.sort.komoku[0] = u"部"_s;
    settings.appliPcGrid.sort.jyun[0] = u"昇順"_s;
    settings.appliPcGrid.sort.komoku[1] = u"利用者"_s;
    settings.appliPcGrid.sort.jyun[1] = u"降順"_s;
    settings.appliPcGrid.sort.komoku[2] = u"（なし）"_s;
    const ProgramPaths programPaths = paths();
    ApplicationsPage page;
    page.attach(settings, programPaths);
    page.refreshLists(dm);
    page.refreshAppliPcGrid(dm);
    page.finishReading();
    QCOMPARE(column(page.appliModel(), u"APPLI"_s), QStringList {u"Word"_s});
    QCOMPARE(column(page.appliModel(), u"DAISU"_s), QStringList {u"3"_s});
    // 経理 before 総務 (code order), then users descending within 総務.
    QCOMPARE(column(page.appliPcModel(), u"KEY"_s), (QStringList {u"B"_s, u"C"_s, u"A"_s}));
}

void TstWinApplications::correctionKeepsAllOrNothing_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<bool>("ok");
    for (const auto kind : {TestStore::Kind::SQLite, TestStore::Kind::PostgreSQL}) {
        const char *name = kind == TestStore::Kind::SQLite ? "sqlite" : "postgresql";
        QTest::addRow("%s ok", name) << int(kind) << true;
        QTest::addRow("%s cancel", name) << int(kind) << false;
    }
}

void TstWinApplications::correctionKeepsAllOrNothing()
{
    QFETCH(int, engine);
    QFETCH(bool, ok);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    fillStore(dm);

    MessageBoxes::ScopedRecorder boxes;
    TFappliUpd window(dm, paths());
    window.show();
    AppliCorrection &rows = window.correction();
    QCOMPARE(rows.rowCount(), 5);
    // One row by hand, then all the rest.
    QVERIFY(rows.setData(rows.index(0, 2), u"Invaro"_s));
    auto *jikko = window.findChild<QPushButton *>(u"JikkoBTN"_s);
    jikko->click();
    QCOMPARE(boxes.texts(), QStringList {u"Invaroか手入力を選択してください"_s});
    window.findChild<QRadioButton *>(u"TenyuryokuRB"_s)->setChecked(true);
    jikko->click();
    QCOMPARE(rows.rowCount(), 0);
    QCOMPARE(emptyKinds(dm), 5); // nothing written before OK

    window.close(); // the close box
    QVERIFY(window.isVisible());
    QCOMPARE(boxes.texts().value(1), u"OKかｷｬﾝｾﾙﾎﾞﾀﾝで閉じてください"_s);
    QCOMPARE(boxes.entries().value(1).kind, MessageBoxes::Kind::Plain);

    window.findChild<QPushButton *>(ok ? u"OkBTN"_s : u"CanBTN"_s)->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(emptyKinds(dm), ok ? 0 : 5);
    QSqlQuery q = dm.exec(u"SELECT Key, Appli, NyuryokuKBN FROM Appli ORDER BY Key, Appli"_s);
    QStringList kinds;
    while (q.next())
        kinds << q.value(2).toString();
    q.finish();
    QCOMPARE(kinds,
             ok ? QStringList({u"Invaro"_s, u"手入力"_s, u"手入力"_s, u"手入力"_s, u"手入力"_s})
                : QStringList({QString(), QString(), QString(), QString(), QString()}));
}

void TstWinApplications::nothingToCorrect()
{
    QVERIFY(QDir().mkpath(m_dir.filePath(u"PCDB"_s)));
    MessageBoxes::ScopedRecorder boxes;
    TFmain window(paths());
    window.show();
    QTRY_VERIFY(window.isStartupDone());
    window.finishReading();
    window.mainMenu()->appliUpd->trigger();
    QCOMPARE(boxes.texts(), QStringList {u"修正が必要なデータはありません"_s});
    QCOMPARE(boxes.entries().value(0).kind, MessageBoxes::Kind::Warning);
}

QTEST_MAIN(TstWinApplications)
#include "tst_win_applications.moc"
