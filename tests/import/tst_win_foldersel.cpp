// The collector folder window: its controls, the folder check of "OK", the
// folder browser, and its place in the middle of the desktop.

#include "base/IniFile.h"
#include "base/ProgramPaths.h"
#include "import/windows/UfolderSel.h"
#include "kit/MessageBoxes.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString NoFolder = QStringLiteral("フォルダーが存在しません");

} // namespace

class TestFolderSel : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controls();
    void okRefusesWhatIsNoFolder_data();
    void okRefusesWhatIsNoFolder();
    void okAcceptsAFolderAndWindowIsReused();
    void cancelAndEscapeReject_data();
    void cancelAndEscapeReject();
    void browseStartsAtTheEditBoxFolder();
    void centredWhateverThePlacementSays();

private:
    ProgramPaths paths() const
    {
        return ProgramPaths(m_dir->filePath(QStringLiteral("Orvane")), m_dir->path());
    }
    template <typename T> static T *child(QWidget &window, const char *name)
    {
        T *widget = window.findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestFolderSel::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFolderSel::cleanup()
{
    m_dir.reset();
}

void TestFolderSel::controls()
{
    TFfolderSel window(paths());
    QCOMPARE(window.windowTitle(), QStringLiteral("フォルダー選択"));
    QCOMPARE(window.internalName(), QStringLiteral("FfolderSel"));
    QCOMPARE(child<QLabel>(window, "FolderLBL")->text(), QStringLiteral("フォルダ"));
    QCOMPARE(child<QPushButton>(window, "RefBTN")->text(), QStringLiteral("参照 ..."));
    QCOMPARE(child<QPushButton>(window, "OkBTN")->text(), QStringLiteral("OK"));
    QCOMPARE(child<QPushButton>(window, "CancelBTN")->text(), QStringLiteral("キャンセル"));
    QVERIFY(child<QPushButton>(window, "OkBTN")->isDefault());
    window.setFolder(QStringLiteral("/some/where"));
    QCOMPARE(child<QLineEdit>(window, "FolderEDT")->text(), QStringLiteral("/some/where"));
}

void TestFolderSel::okRefusesWhatIsNoFolder_data()
{
    QTest::addColumn<QString>("relative"); // to the temporary folder; "" for empty text
    QTest::newRow("empty text") << QString();
    QTest::newRow("missing folder") << QStringLiteral("missing");
    QTest::newRow("a file") << QStringLiteral("plain.csv");
}

void TestFolderSel::okRefusesWhatIsNoFolder()
{
    QFETCH(QString, relative);
    QFile file(m_dir->filePath(QStringLiteral("plain.csv")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    MessageBoxes::ScopedRecorder boxes;
    TFfolderSel window(paths());
    window.setFolder(relative.isEmpty() ? QString() : m_dir->filePath(relative));
    window.show();
    child<QPushButton>(window, "OkBTN")->click();
    QCOMPARE(boxes.texts(), QStringList {NoFolder});
    QCOMPARE(boxes.entries().at(0).kind, MessageBoxes::Kind::Error);
    QVERIFY(window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
}

void TestFolderSel::okAcceptsAFolderAndWindowIsReused()
{
    MessageBoxes::ScopedRecorder boxes;
    TFfolderSel window(paths());
    for (const QString &folder : {m_dir->path(), m_dir->path() + u'/'}) {
        window.setFolder(folder);
        window.show();
        child<QPushButton>(window, "OkBTN")->click();
        QVERIFY(!window.isVisible());
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(window.folder(), folder);
    }
    QVERIFY(boxes.entries().isEmpty());
    // Closing wrote the placement into the window's own section.
    QVERIFY(IniFile(paths().iniPath()).sectionExists(QStringLiteral("FfolderSel")));
}

void TestFolderSel::cancelAndEscapeReject_data()
{
    QTest::addColumn<bool>("escape");
    QTest::newRow("キャンセル") << false;
    QTest::newRow("Esc") << true;
}

void TestFolderSel::cancelAndEscapeReject()
{
    QFETCH(bool, escape);
    MessageBoxes::ScopedRecorder boxes;
    TFfolderSel window(paths());
    window.setFolder(m_dir->path());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (escape)
        QTest::keyClick(child<QLineEdit>(window, "FolderEDT"), Qt::Key_Escape);
    else
        child<QPushButton>(window, "CancelBTN")->click();
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Rejected));
    QVERIFY(boxes.entries().isEmpty());
}

void TestFolderSel::browseStartsAtTheEditBoxFolder()
{
    const QString start = m_dir->filePath(QStringLiteral("start"));
    const QString picked = m_dir->filePath(QStringLiteral("picked"));
    QVERIFY(QDir().mkdir(start));
    QVERIFY(QDir().mkdir(picked));

    TFfolderSel window(paths());
    window.setFolder(start);
    window.show();

    QString title;
    QString startedAt;
    QTimer::singleShot(0, &window, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        title = dialog->windowTitle();
        startedAt = dialog->directory().absolutePath();
        dialog->selectFile(picked);
        static_cast<QDialog *>(dialog)->accept();
    });
    child<QPushButton>(window, "RefBTN")->click();
    QCOMPARE(title, TFfolderSel::browseTitle());
    QCOMPARE(title, QStringLiteral("Invaroデータが保存されているフォルダを指定してください"));
    QCOMPARE(startedAt, QDir(start).absolutePath());
    QCOMPARE(window.folder(), QDir::toNativeSeparators(picked));
    QVERIFY(window.isVisible());

    // A browser closed without a choice leaves the text alone.
    QTimer::singleShot(0, &window, [] {
        if (QWidget *dialog = QApplication::activeModalWidget())
            qobject_cast<QDialog *>(dialog)->reject();
    });
    child<QPushButton>(window, "RefBTN")->click();
    QCOMPARE(window.folder(), QDir::toNativeSeparators(picked));
}

void TestFolderSel::centredWhateverThePlacementSays()
{
    {
        IniFile ini(paths().iniPath());
        ini.writeInteger(QStringLiteral("FfolderSel"), QStringLiteral("Left"), 3);
        ini.writeInteger(QStringLiteral("FfolderSel"), QStringLiteral("Top"), 5);
        QVERIFY(ini.updateFile());
    }
    MessageBoxes::ScopedRecorder boxes;
    TFfolderSel window(paths());
    for (int showing = 0; showing < 2; ++showing) {
        window.setFolder(m_dir->path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QPoint desktopCentre = window.screen()->virtualGeometry().center();
        QVERIFY2((window.frameGeometry().center() - desktopCentre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("showing %1").arg(showing)));
        // Moved away by the user, it is centred again the next time.
        window.move(0, 0);
        child<QPushButton>(window, "OkBTN")->click();
    }
}

QTEST_MAIN(TestFolderSel)
#include "tst_win_foldersel.moc"
