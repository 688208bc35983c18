// The drive dialog as a user drives it: the space rules run when a box is
// left, and a refused text keeps its box.

#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "ledger/windows/Udrive.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

// Types into a box and leaves it with Tab, as a user does.
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

} // namespace

class TestWinDetailDialogs : public QObject
{
    Q_OBJECT

private slots:
    void driveSpaceOnLeavingABox_data();
    void driveSpaceOnLeavingABox();
};

void TestWinDetailDialogs::driveSpaceOnLeavingABox_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QList<int>>("after"); // Capa, Used, Free
    QTest::addColumn<QStringList>("boxes");
    QTest::newRow("free gives used")
        << u"FreeEDT"_s << u"40"_s << QList<int> {100, 60, 40} << QStringList();
    QTest::newRow("used above the total") << u"UsedEDT"_s << u"120"_s << QList<int> {100, 30, 70}
                                          << QStringList {u"全容量以下の値を入力してください"_s};
    QTest::newRow("lower total") << u"CapaEDT"_s << u"20"_s << QList<int> {20, 20, 0}
                                 << QStringList();
    QTest::newRow("not a number") << u"CapaEDT"_s << u"1O0"_s << QList<int> {100, 30, 70}
                                  << QStringList {
                                         u"'1O0' は項目 'Capa' に適した整数値ではありません"_s};
}

void TestWinDetailDialogs::driveSpaceOnLeavingABox()
{
    QFETCH(QString, box);
    QFETCH(QString, typed);
    QFETCH(QList<int>, after);
    QFETCH(QStringList, boxes);
    QTemporaryDir dir;
    MessageBoxes::ScopedRecorder recorder;
    TFdrive dialog(ProgramPaths(dir.filePath(u"Orvane"_s), dir.path()));
    dialog.row().edit({u"PC"_s, u"C:"_s, 100, u"KB"_s, 30, u"KB"_s, 70, u"KB"_s});
    dialog.show();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto *edit = dialog.findChild<QLineEdit *>(box);
    typeAndLeave(edit, typed);
    QTRY_COMPARE(recorder.texts(), boxes);
    RowBuffer &row = dialog.row();
    QCOMPARE((QList<int> {row.value(u"Capa"_s).toInt(), row.value(u"Used"_s).toInt(),
                          row.value(u"Free"_s).toInt()}),
             after);
    // A refused text stays where it was typed, with the focus.
    if (!boxes.isEmpty()) {
        QCOMPARE(edit->text(), typed);
        QTRY_VERIFY(edit->hasFocus());
        // Corrected, the text is taken when the box is left.
        typeAndLeave(edit, u"50"_s);
        QCOMPARE(row.value(box.chopped(3)).toInt(), 50);
        QCOMPARE(recorder.texts(), boxes);
    }
}

QTEST_MAIN(TestWinDetailDialogs)
#include "tst_win_detaildialogs.moc"
