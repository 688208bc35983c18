// The base window: placement kept in the settings file, the Enter key, the
// status bar.

#include "base/IniFile.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/Unit1.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScreen>
#include <QStandardItemModel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("Ftest");

// A small window of the program with two line edits, a memo and a grid.
class TestWindow : public TForm1
{
public:
    explicit TestWindow(const ProgramPaths &paths) : TForm1(Section, paths)
    {
        auto *layout = new QVBoxLayout(contentArea());
        first = new QLineEdit(contentArea());
        second = new QLineEdit(contentArea());
        memo = new QPlainTextEdit(contentArea());
        grid = new QTableView(contentArea());
        model.setRowCount(2);
        model.setColumnCount(3);
        grid->setModel(&model);
        layout->addWidget(first);
        layout->addWidget(second);
        layout->addWidget(memo);
        layout->addWidget(grid);
        resize(320, 260);
    }

    QLineEdit *first;
    QLineEdit *second;
    QPlainTextEdit *memo;
    QTableView *grid;
    QStandardItemModel model;
};

} // namespace

class TestForm1 : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void placementRoundTrip();
    void restoreEdges_data();
    void restoreEdges();
    void fixedWindowKeepsDesignedSize();
    void maximizedAtCloseKeepsNormalBounds();
    void statusBarPanels();
    void enterMovesFocus();
    void enterInMemoIsALineBreak();
    void enterInGrid_data();
    void enterInGrid();

private:
    ProgramPaths paths() const
    {
        return ProgramPaths(m_dir->filePath(QStringLiteral("Orvane")), m_dir->path());
    }
    QString iniPath() const { return paths().iniPath(); }
    void writePlacement(int left, int top, int width, int height, const QString &state);
    static void showActive(QWidget &window);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestForm1::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestForm1::cleanup()
{
    m_dir.reset();
}

void TestForm1::writePlacement(int left, int top, int width, int height, const QString &state)
{
    IniFile ini(iniPath());
    ini.writeInteger(Section, QStringLiteral("Left"), left);
    ini.writeInteger(Section, QStringLiteral("Top"), top);
    ini.writeInteger(Section, QStringLiteral("Width"), width);
    ini.writeInteger(Section, QStringLiteral("Height"), height);
    ini.writeString(Section, QStringLiteral("WindowState"), state);
    QVERIFY(ini.updateFile());
}

void TestForm1::showActive(QWidget &window)
{
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
}

void TestForm1::placementRoundTrip()
{
    MessageBoxes::ScopedRecorder boxes;
    {
        TestWindow window(paths());
        window.show();
        // No saved placement: top-left corner, designed size.
        QCOMPARE(window.pos(), QPoint(0, 0));
        QCOMPARE(window.size(), QSize(320, 260));
        window.move(30, 40);
        window.resize(360, 300);
        window.accept();
    }
    {
        const IniFile ini(iniPath());
        QCOMPARE(ini.readInteger(Section, QStringLiteral("Left"), -1), 30);
        QCOMPARE(ini.readInteger(Section, QStringLiteral("Top"), -1), 40);
        QCOMPARE(ini.readInteger(Section, QStringLiteral("Width"), -1), 360);
        QCOMPARE(ini.readInteger(Section, QStringLiteral("Height"), -1), 300);
        QCOMPARE(ini.readString(Section, QStringLiteral("WindowState"), QString()),
                 QStringLiteral("wsNormal"));
    }
    TestWindow again(paths());
    again.show();
    QCOMPARE(again.pos(), QPoint(30, 40));
    QCOMPARE(again.size(), QSize(360, 300));
    QVERIFY(boxes.entries().isEmpty());
}

void TestForm1::restoreEdges_data()
{
    const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
    QTest::addColumn<int>("left");
    QTest::addColumn<int>("top");
    QTest::addColumn<QPoint>("expected");
    QTest::newRow("inside") << 50 << 60 << QPoint(50, 60);
    QTest::newRow("left at the screen width") << screen.width() << 10 << QPoint(0, 10);
    QTest::newRow("left beyond the screen") << screen.width() + 300 << 10 << QPoint(0, 10);
    QTest::newRow("left one short of the width")
        << screen.width() - 1 << 10 << QPoint(screen.width() - 1, 10);
    QTest::newRow("top at the screen height") << 10 << screen.height() << QPoint(10, 0);
    QTest::newRow("negative left kept") << -50 << 10 << QPoint(-50, 10);
}

void TestForm1::restoreEdges()
{
    QFETCH(int, left);
    QFETCH(int, top);
    QFETCH(QPoint, expected);
    writePlacement(left, top, 0, 0, QStringLiteral("wsNormal"));
    TestWindow window(paths());
    window.show();
    QCOMPARE(window.pos(), expected);
    // Width and height 0 keep the designed size.
    QCOMPARE(window.size(), QSize(320, 260));
}

void TestForm1::fixedWindowKeepsDesignedSize()
{
    writePlacement(20, 20, 700, 500, QStringLiteral("wsNormal"));
    TestWindow window(paths());
    window.setResizable(false);
    window.show();
    QCOMPARE(window.pos(), QPoint(20, 20));
    QCOMPARE(window.size(), QSize(320, 260));
    QCOMPARE(window.minimumSize(), window.maximumSize());
}

void TestForm1::maximizedAtCloseKeepsNormalBounds()
{
    writePlacement(15, 25, 400, 300, QStringLiteral("wsMaximized"));
    {
        TestWindow window(paths());
        window.show();
        QTRY_VERIFY(window.isMaximized());
        window.reject();
    }
    const IniFile ini(iniPath());
    QCOMPARE(ini.readInteger(Section, QStringLiteral("Left"), -1), 15);
    QCOMPARE(ini.readInteger(Section, QStringLiteral("Top"), -1), 25);
    QCOMPARE(ini.readInteger(Section, QStringLiteral("Width"), -1), 400);
    QCOMPARE(ini.readInteger(Section, QStringLiteral("Height"), -1), 300);
    QCOMPARE(ini.readString(Section, QStringLiteral("WindowState"), QString()),
             QStringLiteral("wsMaximized"));
}

void TestForm1::statusBarPanels()
{
    TestWindow window(paths());
    window.show();
    auto *name = window.findChild<QLabel *>(QStringLiteral("StatusNamePanel"));
    QVERIFY(name);
    QCOMPARE(name->text(), Section);
    QCOMPARE(name->width(), 100);
    window.setStatusText(QStringLiteral("フォルダのチェック"));
    QCOMPARE(window.statusText(), QStringLiteral("フォルダのチェック"));
}

void TestForm1::enterMovesFocus()
{
    TestWindow window(paths());
    showActive(window);
    window.first->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), window.first);
    QTest::keyClick(window.first, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), window.second);
    QTest::keyClick(window.second, Qt::Key_Enter, Qt::KeypadModifier);
    QCOMPARE(QApplication::focusWidget(), window.memo);
}

void TestForm1::enterInMemoIsALineBreak()
{
    TestWindow window(paths());
    showActive(window);
    window.memo->setFocus();
    QTRY_COMPARE(QApplication::focusWidget(), window.memo);
    QTest::keyClicks(window.memo, QStringLiteral("a"));
    QTest::keyClick(window.memo, Qt::Key_Return);
    QTest::keyClicks(window.memo, QStringLiteral("b"));
    QCOMPARE(window.memo->toPlainText(), QStringLiteral("a\nb"));
    QCOMPARE(QApplication::focusWidget(), window.memo);
}

void TestForm1::enterInGrid_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("column");
    QTest::addColumn<int>("hiddenColumn");
    QTest::addColumn<int>("nextRow");
    QTest::addColumn<int>("nextColumn");
    QTest::newRow("next column") << 0 << 0 << -1 << 0 << 1;
    QTest::newRow("last column wraps to the next row") << 0 << 2 << -1 << 1 << 0;
    QTest::newRow("last row stays, first column") << 1 << 2 << -1 << 1 << 0;
    QTest::newRow("hidden column skipped") << 0 << 0 << 1 << 0 << 2;
}

void TestForm1::enterInGrid()
{
    QFETCH(int, row);
    QFETCH(int, column);
    QFETCH(int, hiddenColumn);
    QFETCH(int, nextRow);
    QFETCH(int, nextColumn);
    TestWindow window(paths());
    if (hiddenColumn >= 0)
        window.grid->setColumnHidden(hiddenColumn, true);
    showActive(window);
    window.grid->setFocus();
    window.grid->setCurrentIndex(window.model.index(row, column));
    QTRY_COMPARE(QApplication::focusWidget(), window.grid);
    QTest::keyClick(window.grid, Qt::Key_Return);
    QCOMPARE(window.grid->currentIndex(), window.model.index(nextRow, nextColumn));
    QCOMPARE(QApplication::focusWidget(), window.grid);
}

QTEST_MAIN(TestForm1)
#include "tst_win_form1.moc"
