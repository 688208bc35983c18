// The export commands of the main window's File menu, with the save dialog
// answered by the test.

#include "app/MainMenu.h"
#include "app/Umain.h"
#include "base/ProgramPaths.h"
#include "export/windows/ExportCommand.h"
#include "kit/MessageBoxes.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct DialogCall
{
    QString caption;
    QString fileName;
    QString filter;
};

} // namespace

class TstWinExport : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
        m_boxes = std::make_unique<MessageBoxes::ScopedRecorder>();
        m_window = std::make_unique<TFmain>(
            ProgramPaths(m_dir->filePath(QStringLiteral("Orvane")), m_dir->path()));
        m_window->show();
        QTRY_VERIFY(m_window->isStartupDone());
        m_window->finishReading();
        QVERIFY(m_window->dataModule()->isConnected());
        m_command = m_window->findChild<ExportCommand *>();
        QVERIFY(m_command);
        m_calls.clear();
        m_answers.clear();
        m_command->setSaveDialog([this](QWidget *, const QString &caption, const QString &name,
                                        const QString &filter, QString *selected) {
            m_calls.append({caption, name, filter});
            *selected = filter;
            return m_answers.isEmpty() ? QString() : m_answers.takeFirst();
        });
    }
    void cleanup()
    {
        m_window.reset();
        m_boxes.reset();
        m_dir.reset();
    }

    void defaultExtension_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QString>("expected");
        const QString csv = ExportCommand::dialogFilter();
        QTest::newRow("no extension") << "/t/list" << csv << "/t/list.csv";
        QTest::newRow("own extension") << "/t/list.txt" << csv << "/t/list.txt";
        QTest::newRow("dot in folder only") << "/t/a.b/list" << csv << "/t/a.b/list.csv";
        QTest::newRow("no filter reported") << "/t/list"
                                            << ""
                                            << "/t/list.csv";
        QTest::newRow("another filter") << "/t/list"
                                        << "other(*)"
                                        << "/t/list";
    }
    void defaultExtension()
    {
        QFETCH(QString, name);
        QFETCH(QString, filter);
        QFETCH(QString, expected);
        QCOMPARE(ExportCommand::withDefaultExtension(name, filter), expected);
    }

    // One dialog for the four commands: its caption and filter, ".csv"
    // added, the last name offered again by the next command.
    void fourCommandsShareTheDialog()
    {
        TDMdata &dm = *m_window->dataModule();
        RecordCursor &drive = dm.table(TableId::Drive);
        drive.append();
        drive.setValue(QStringLiteral("Key"), QStringLiteral("PC01"));
        drive.setValue(QStringLiteral("Drive"), QStringLiteral("C:"));
        drive.post();

        const QString list = m_dir->filePath(QStringLiteral("list"));
        m_answers << list;
        m_window->mainMenu()->exportDrive->trigger();
        QCOMPARE(m_calls.size(), 1);
        QCOMPARE(m_calls[0].caption, QStringLiteral("PC情報保存"));
        QCOMPARE(m_calls[0].filter, QStringLiteral("ﾃｷｽﾄ ﾌｧｲﾙ(*.csv)"));
        QCOMPARE(m_calls[0].fileName, QString());
        QFile file(list + QStringLiteral(".csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(
            file.readAll().endsWith("\"PC01\",\"C:\",,\"\",,\"\",,\"\",\"\",\"\",\"\",\"\"\r\n"));
        QVERIFY(!QFile::exists(list));

        const QList<QAction *> others {m_window->mainMenu()->exportPc,
                                       m_window->mainMenu()->exportPrinter,
                                       m_window->mainMenu()->exportAppli};
        const QStringList names {"pc.csv", "printer.csv", "appli.csv"};
        for (int i = 0; i < others.size(); ++i) {
            m_answers << m_dir->filePath(names[i]);
            others[i]->trigger();
            QCOMPARE(m_calls.last().fileName,
                     i == 0 ? list + QStringLiteral(".csv") : m_dir->filePath(names[i - 1]));
            QVERIFY(QFile::exists(m_dir->filePath(names[i])));
        }
        QCOMPARE(m_command->fileName(), m_dir->filePath(QStringLiteral("appli.csv")));
        QVERIFY2(m_boxes->entries().isEmpty(), qPrintable(m_boxes->texts().join(u'|')));
    }

    void cancelWritesNothing()
    {
        m_window->mainMenu()->exportPc->trigger();
        QCOMPARE(m_calls.size(), 1);
        QCOMPARE(QDir(m_dir->path()).entryList({QStringLiteral("*.csv")}).size(), 0);
        QVERIFY(m_boxes->entries().isEmpty());
    }

    void fileErrorShowsTheErrorBox()
    {
        m_answers << m_dir->filePath(QStringLiteral("nofolder/pc.csv"));
        m_window->mainMenu()->exportPc->trigger();
        QCOMPARE(m_boxes->entries().size(), 1);
        QCOMPARE(m_boxes->entries()[0].kind, MessageBoxes::Kind::Error);
        QVERIFY(m_boxes->entries()[0].text.contains(QStringLiteral("nofolder")));
    }

    void nothingWithoutStore()
    {
        m_window->dataModule()->close();
        m_answers << m_dir->filePath(QStringLiteral("pc.csv"));
        m_window->mainMenu()->exportPc->trigger();
        QVERIFY(m_calls.isEmpty());
        QCOMPARE(m_boxes->texts(), QStringList {QStringLiteral("データベースに接続していません")});
        QVERIFY(!QFile::exists(m_dir->filePath(QStringLiteral("pc.csv"))));
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<MessageBoxes::ScopedRecorder> m_boxes;
    std::unique_ptr<TFmain> m_window;
    ExportCommand *m_command = nullptr;
    QList<DialogCall> m_calls;
    QStringList m_answers;
};

QTEST_MAIN(TstWinExport)
#include "tst_win_export.moc"
