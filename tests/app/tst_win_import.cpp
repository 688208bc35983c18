// The import command of the main window, run from its menu on collector
// files in a temporary folder: the folder window, the settings file, the
// status-bar progress, the messages about files and the store-wide steps.

#include "SampleGenerator.h"
#include "app/MainMenu.h"
#include "app/Umain.h"
#include "base/IniFile.h"
#include "base/ProgramPaths.h"
#include "import/windows/UtorikomiKakunin.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "store/UDMdata.h"

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <functional>

namespace {

const QString PageFile = QStringLiteral("ページファイル");

// Records every text that the status panel paints, and whether the
// hourglass was showing at that moment.
class PaintedTexts : public QObject
{
public:
    explicit PaintedTexts(QLabel *panel) : m_panel(panel) { panel->installEventFilter(this); }

    QStringList texts;
    bool allWithHourglass = true;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched == m_panel && event->type() == QEvent::Paint) {
            const QString text = m_panel->text();
            if (!text.isEmpty() && (texts.isEmpty() || texts.last() != text)) {
                texts << text;
                const QCursor *cursor = QApplication::overrideCursor();
                allWithHourglass = allWithHourglass && cursor && cursor->shape() == Qt::WaitCursor;
            }
        }
        return false;
    }

private:
    QLabel *m_panel;
};

QStringList column(TDMdata &dm, const QString &sql)
{
    QStringList values;
    QSqlQuery q = dm.exec(sql);
    while (q.next())
        values << q.value(0).toString();
    return values;
}

} // namespace

class TestImportCommand : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void importsFolderFromMenu();
    void cancelledWindowStillRunsStoreWideSteps();
    void fileThatCannotBeReadStopsTheRun();
    void notConnectedDoesNothing();
    void previewShowsWhatTheImportWouldChange();

private:
    ProgramPaths paths() const
    {
        return ProgramPaths(m_dir->filePath(QStringLiteral("Orvane")), m_dir->path());
    }
    QString collectorFolder() const { return m_dir->filePath(QStringLiteral("invaro")); }
    void start(TFmain &main);
    // Runs the import from the menu; answer works on the folder window
    // while it is open.
    static void runImport(TFmain &main, const std::function<void(QWidget &)> &answer);
    static void confirm(QWidget &folderWindow, const QString &folder);
    static void addDrive(TDMdata &dm, const QString &key, const QString &drive);
    QString savedFolder() const
    {
        return IniFile(paths().iniPath())
            .readString(QStringLiteral("Folder"), QStringLiteral("InvaroCSV"),
                        QStringLiteral("<missing>"));
    }
    void writeFile(const QString &name, const QByteArray &bytes);

    std::unique_ptr<QTemporaryDir> m_dir;
};

void TestImportCommand::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    QVERIFY(QDir().mkdir(collectorFolder()));
}

void TestImportCommand::cleanup()
{
    m_dir.reset();
}

void TestImportCommand::start(TFmain &main)
{
    main.show();
    QTRY_VERIFY(main.isStartupDone());
    main.finishReading();
    QVERIFY(main.dataModule() && main.dataModule()->isConnected());
}

void TestImportCommand::runImport(TFmain &main, const std::function<void(QWidget &)> &answer)
{
    bool answered = false;
    QTimer::singleShot(0, &main, [&] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        QCOMPARE(modal->windowTitle(), QStringLiteral("フォルダー選択"));
        answer(*modal);
        answered = true;
        if (modal->isVisible())
            qobject_cast<QDialog *>(modal)->reject();
    });
    main.mainMenu()->importInvaro->trigger();
    QVERIFY(answered);
}

void TestImportCommand::confirm(QWidget &folderWindow, const QString &folder)
{
    folderWindow.findChild<QLineEdit *>(QStringLiteral("FolderEDT"))->setText(folder);
    folderWindow.findChild<QPushButton *>(QStringLiteral("OkBTN"))->click();
}

void TestImportCommand::addDrive(TDMdata &dm, const QString &key, const QString &drive)
{
    dm.exec(QStringLiteral("INSERT INTO DRIVE (KEY, DRIVE) VALUES (:KEY, :DRIVE)"),
            {{QStringLiteral(":KEY"), key}, {QStringLiteral(":DRIVE"), drive}});
}

void TestImportCommand::writeFile(const QString &name, const QByteArray &bytes)
{
    QFile file(QDir(collectorFolder()).filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    QCOMPARE(file.write(bytes), qint64(bytes.size()));
}

void TestImportCommand::importsFolderFromMenu()
{
    const int pcs = 3;
    SampleGenerator generator {SampleGenerator::Options {}};
    QString error;
    QVERIFY2(generator.writeFolder(collectorFolder(), 0, pcs, &error) > 0, qPrintable(error));
    writeFile(QStringLiteral("empty.csv"), QByteArray());
    // The header alone: the file's first record is missing.
    writeFile(QStringLiteral("header-only.csv"),
              SampleGenerator::header().toLatin1() + QByteArray("\r\n"));
    writeFile(QStringLiteral("other.csv"), QByteArray("not,a,collector,file\r\n"));
    writeFile(QStringLiteral("notes.txt"), QByteArray("ignored"));

    MessageBoxes::ScopedRecorder boxes;
    TFmain main(paths());
    start(main);
    QCOMPARE(savedFolder(), QStringLiteral("<missing>"));
    PaintedTexts painted(main.statusBar()->findChild<QLabel *>(QStringLiteral("StatusTextPanel")));

    runImport(main, [&](QWidget &window) {
        // First import: the program's folder, without separator at the end.
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("FolderEDT"))->text(),
                 QDir::toNativeSeparators(m_dir->path()));
        confirm(window, collectorFolder());
    });

    // The files in name order, each announced in the status bar.
    QStringList names {QStringLiteral("empty.csv"), QStringLiteral("header-only.csv"),
                       QStringLiteral("other.csv")};
    for (int i = 0; i < pcs; ++i)
        names << generator.key(i) + QStringLiteral(".csv");
    std::sort(names.begin(), names.end());
    QStringList progress;
    for (int i = 0; i < names.size(); ++i)
        progress << QStringLiteral(" (%1/%2) %3 読込中").arg(i + 1).arg(names.size()).arg(names[i]);
    QCOMPARE(painted.texts, progress);
    QVERIFY(painted.allWithHourglass);
    QCOMPARE(main.statusText(), QString());
    QCOMPARE(QApplication::overrideCursor(), nullptr);

    // One box per faulty file; the file with another header is skipped
    // without one.
    QCOMPARE(boxes.texts(),
             (QStringList {QStringLiteral("empty.csvは空でした"),
                           QStringLiteral("header-only.csvの処理中にエラーが発生しました\n"
                                          "レコードがありません（2 行目）")}));
    for (const MessageBoxes::Entry &entry : boxes.entries())
        QCOMPARE(entry.kind, MessageBoxes::Kind::Error);

    TDMdata &dm = *main.dataModule();
    QStringList keys;
    for (int i = 0; i < pcs; ++i)
        keys << generator.key(i);
    QCOMPARE(column(dm, QStringLiteral("SELECT KEY FROM PC ORDER BY KEY")), keys);
    QVERIFY(!column(dm, QStringLiteral("SELECT KEY FROM APPLI")).isEmpty());

    // The confirmed folder is kept with a separator at its end, at once.
    QCOMPARE(savedFolder(), collectorFolder() + u'/');

    // The next import opens with that folder; the window is the same one.
    QWidget *first = nullptr;
    runImport(main, [&](QWidget &window) {
        first = &window;
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("FolderEDT"))->text(),
                 collectorFolder() + u'/');
        window.findChild<QPushButton *>(QStringLiteral("CancelBTN"))->click();
    });
    runImport(main, [&](QWidget &window) {
        QCOMPARE(&window, first);
        window.findChild<QPushButton *>(QStringLiteral("CancelBTN"))->click();
    });
    main.close();
}

void TestImportCommand::cancelledWindowStillRunsStoreWideSteps()
{
    {
        // A saved folder that no longer exists opens the window empty.
        IniFile ini(paths().iniPath());
        ini.writeString(QStringLiteral("Folder"), QStringLiteral("InvaroCSV"),
                        m_dir->filePath(QStringLiteral("gone/")));
        QVERIFY(ini.updateFile());
    }
    SampleGenerator generator {SampleGenerator::Options {}};
    QVERIFY(generator.writeFolder(collectorFolder(), 0, 1) > 0);

    MessageBoxes::ScopedRecorder boxes;
    TFmain main(paths());
    start(main);
    TDMdata &dm = *main.dataModule();
    addDrive(dm, QStringLiteral("byhand"), PageFile);
    addDrive(dm, QStringLiteral("byhand"), QStringLiteral("C:"));
    dm.exec(QStringLiteral("INSERT INTO PC (KEY, IP) VALUES (:KEY, :IP)"),
            {{QStringLiteral(":KEY"), QStringLiteral("byhand")},
             {QStringLiteral(":IP"), QStringLiteral("10.0.0.1")}});
    dm.exec(QStringLiteral("INSERT INTO LAN (KEY, SEQ, IP, IP16) VALUES (:KEY, 1, :IP, :IP16)"),
            {{QStringLiteral(":KEY"), QStringLiteral("byhand")},
             {QStringLiteral(":IP"), QStringLiteral("192.168.3.4")},
             {QStringLiteral(":IP16"), QStringLiteral("C0A80304")}});

    runImport(main, [&](QWidget &window) {
        QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("FolderEDT"))->text(), QString());
        // Typed, then cancelled: nothing of it is kept.
        window.findChild<QLineEdit *>(QStringLiteral("FolderEDT"))->setText(collectorFolder());
        QTest::keyClick(&window, Qt::Key_Escape);
    });

    QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
    // No file was read, but the page-file rows are gone and the network
    // selection ran.
    QCOMPARE(column(dm, QStringLiteral("SELECT KEY FROM PC ORDER BY KEY")),
             QStringList {QStringLiteral("byhand")});
    QCOMPARE(column(dm, QStringLiteral("SELECT DRIVE FROM DRIVE")),
             QStringList {QStringLiteral("C:")});
    QCOMPARE(column(dm, QStringLiteral("SELECT IP FROM PC")),
             QStringList {QStringLiteral("192.168.3.4")});
    QCOMPARE(savedFolder(), m_dir->filePath(QStringLiteral("gone/")));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestImportCommand::fileThatCannotBeReadStopsTheRun()
{
    // A folder whose name ends in .csv is listed but cannot be read.
    QVERIFY(QDir(collectorFolder()).mkdir(QStringLiteral("a-folder.csv")));
    SampleGenerator generator {SampleGenerator::Options {}};
    QVERIFY(generator.writeFolder(collectorFolder(), 0, 1) > 0); // "PC00001.csv" comes first

    MessageBoxes::ScopedRecorder boxes;
    TFmain main(paths());
    start(main);
    TDMdata &dm = *main.dataModule();
    addDrive(dm, QStringLiteral("byhand"), PageFile);

    runImport(main, [&](QWidget &window) { confirm(window, collectorFolder()); });

    QCOMPARE(boxes.entries().size(), 1);
    QCOMPARE(boxes.entries().at(0).kind, MessageBoxes::Kind::Error);
    QVERIFY(boxes.entries().at(0).text.contains(QStringLiteral("a-folder.csv")));
    // What came before stays; the store-wide steps did not run.
    QCOMPARE(column(dm, QStringLiteral("SELECT KEY FROM PC")), QStringList {generator.key(0)});
    QCOMPARE(column(dm, QStringLiteral("SELECT DRIVE FROM DRIVE WHERE KEY = 'byhand'")),
             QStringList {PageFile});
    QCOMPARE(main.statusText(), QString());
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestImportCommand::notConnectedDoesNothing()
{
    {
        IniFile ini(paths().iniPath());
        ini.writeString(QStringLiteral("DB"), QStringLiteral("type"), QStringLiteral("remote"));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("ip"), QStringLiteral("127.0.0.1"));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("port"), QStringLiteral("1"));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("name"), QStringLiteral("ledger"));
        ini.writeString(QStringLiteral("DB"), QStringLiteral("user"), QStringLiteral("admin"));
        QVERIFY(ini.updateFile());
    }
    MessageBoxes::ScopedRecorder boxes;
    TFmain main(paths());
    main.show();
    QTRY_VERIFY(main.isStartupDone());
    main.finishReading();
    QVERIFY(!main.dataModule()->isConnected());
    boxes.clear();

    bool windowShown = false;
    QTimer::singleShot(0, &main, [&] {
        if (QWidget *modal = QApplication::activeModalWidget()) {
            windowShown = true;
            qobject_cast<QDialog *>(modal)->reject();
        }
    });
    main.mainMenu()->importInvaro->trigger();
    QVERIFY(!windowShown);
    QCOMPARE(boxes.texts(), QStringList {QStringLiteral("データベースに接続していません")});
    QCOMPARE(savedFolder(), QStringLiteral("<missing>"));
    QCOMPARE(QApplication::overrideCursor(), nullptr);
}

void TestImportCommand::previewShowsWhatTheImportWouldChange()
{
    SampleGenerator generator {SampleGenerator::Options {}};
    QVERIFY(generator.writeFolder(collectorFolder(), 0, 2) > 0);
    MessageBoxes::ScopedRecorder boxes;
    TFmain main(paths());
    start(main);
    TDMdata &dm = *main.dataModule();

    bool shown = false;
    runImport(main, [&](QWidget &window) {
        window.findChild<QLineEdit *>(QStringLiteral("FolderEDT"))->setText(collectorFolder());
        QTimer::singleShot(0, &window, [&] {
            auto *preview = qobject_cast<TFtorikomiKakunin *>(QApplication::activeModalWidget());
            QVERIFY(preview);
            shown = true;
            // Two new PCs: their PC rows and details, and the sums.
            QAbstractItemModel *lines = preview->linesGrid()->model();
            QVERIFY(lines->rowCount() > 2);
            QCOMPARE(lines->index(0, 0).data().toString(),
                     generator.key(0) + QStringLiteral(".csv"));
            QCOMPARE(lines->index(0, 2).data().toString(), QStringLiteral("PC"));
            QCOMPARE(lines->index(0, 3).data().toInt(), 1);
            QCOMPARE(lines->index(lines->rowCount() - 1, 0).data().toString(),
                     QStringLiteral("合計"));
            // A double click lists the line's rows.
            const QModelIndex appli = lines->index(1, 0);
            QTableView *grid = preview->linesGrid();
            const QPoint at = grid->visualRect(appli).center();
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
            QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
            QAbstractItemModel *details = preview->detailsGrid()->model();
            QCOMPARE(details->rowCount(), lines->index(1, 3).data().toInt());
            QCOMPARE(details->index(0, 3).data().toString(), QStringLiteral("追加"));
            preview->findChild<QPushButton *>(QStringLiteral("CloseBTN"))->click();
        });
        window.findChild<QPushButton *>(QStringLiteral("KakuninBTN"))->click();
        // Nothing written until the import's own button.
        QCOMPARE(column(dm, QStringLiteral("SELECT KEY FROM PC")), QStringList());
        confirm(window, collectorFolder());
    });
    QVERIFY(shown);
    QCOMPARE(column(dm, QStringLiteral("SELECT KEY FROM PC ORDER BY KEY")),
             (QStringList {generator.key(0), generator.key(1)}));
    QCOMPARE(boxes.texts(), QStringList());
}

QTEST_MAIN(TestImportCommand)

#include "tst_win_import.moc"
