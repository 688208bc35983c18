// The window of the store's history: the lines of a period newest first,
// filtered by operation and department, and saved as CSV.

#include "TestStores.h"
#include "base/Cp932.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "store/HistoryRecorder.h"
#include "store/UDMdata.h"
#include "views/HistoryModel.h"
#include "views/windows/UhenkoRireki.h"

#include <QComboBox>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestWinHenkoRireki : public QObject
{
    Q_OBJECT

private slots:
    void filtersAndSavesTheLines();
};

void TestWinHenkoRireki::filtersAndSavesTheLines()
{
    QTemporaryDir dir;
    TestStore store(int(TestStore::Kind::SQLite));
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    dm.exec(u"INSERT INTO PC (Key, Bu) VALUES ('P', '総務')"_s);
    dm.exec(u"INSERT INTO PC (Key, Bu) VALUES ('Q', '経理')"_s);
    {
        HistoryRecorder imported(dm, History::importing());
        imported.pcAdded(u"P"_s);
        imported.pcAdded(u"Q"_s);
        HistoryRecorder typed(dm, History::manual());
        typed.valueChanged(TableId::PC, u"P"_s, {}, {u"Bu"_s, u"人事"_s, u"総務"_s});
    }

    MessageBoxes::ScopedRecorder boxes;
    TFhenkoRireki window(dm, ProgramPaths(dir.filePath(u"Orvane"_s), dir.path()));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    HistoryModel *model = window.model();
    QCOMPARE(model->rowCount(), 3);
    QCOMPARE(model->lines().first().operation, u"手入力"_s); // newest first

    auto choose = [&](const char *combo, const QString &text) {
        auto *box = window.findChild<QComboBox *>(QLatin1String(combo));
        box->setCurrentIndex(box->findText(text));
        QVERIFY(box->currentIndex() >= 0);
    };
    auto *show = window.findChild<QPushButton *>(u"HyojiBTN"_s);
    choose("OperationCB", u"取込"_s);
    show->click();
    QCOMPARE(model->rowCount(), 2);
    choose("BuCB", u"経理"_s);
    show->click();
    QCOMPARE(model->rowCount(), 1);
    QCOMPARE(model->lines().first().key, u"Q"_s);

    const QString file = dir.filePath(u"rireki"_s);
    window.setSaveDialog(
        [&](QWidget *, const QString &, const QString &, QString *) { return file; });
    window.findChild<QPushButton *>(u"CsvBTN"_s)->click();
    QFile csv(file + u".csv"_s);
    QVERIFY(csv.open(QIODevice::ReadOnly));
    const QStringList lines = Cp932::decode(csv.readAll()).split(u"\r\n"_s, Qt::SkipEmptyParts);
    QCOMPARE(lines.size(), 2);
    QVERIFY(lines[0].startsWith(u"日時,操作,変更者,Key,"_s));
    QVERIFY2(lines[1].contains(u"\"取込\""_s) && lines[1].contains(u"\"Q\""_s),
             qPrintable(lines[1]));
    QCOMPARE(boxes.texts(), QStringList());
}

QTEST_MAIN(TestWinHenkoRireki)

#include "tst_win_henkorireki.moc"
