// The SQL window driven offscreen on both engines, message boxes recorded.

#include "TestStores.h"
#include "app/MainMenu.h"
#include "app/Umain.h"
#include "base/Cp932.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "store/RecordCursor.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"
#include "store/UserStatement.h"
#include "tools/SqlResultModel.h"
#include "tools/windows/Usql.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

const QString SyntaxError = QStringLiteral("SQL文に誤りがあります");

QStringList captions(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions) {
        if (action->isSeparator())
            result << QStringLiteral("-");
        else if (action->menu())
            result << action->text() + u'>' + captions(action->menu()->actions()).join(u'|');
        else
            result << action->text();
    }
    return result;
}

} // namespace

class TstWinSql : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }
    void cleanup()
    {
        m_window.reset();
        m_dm.reset();
        m_store.reset();
        m_dir.reset();
    }

    void layout()
    {
        TFsql window(nullptr, paths());
        QCOMPARE(window.windowTitle(), QStringLiteral("SQL"));
        QCOMPARE(window.internalName(), QStringLiteral("Fsql"));
        const QMenuBar *bar = window.findChild<QMenuBar *>();
        QVERIFY(bar);
        QCOMPARE(captions(bar->actions()),
                 QStringList(
                     {"ﾌｧｲﾙ(&F)>開く(&O)|名前を付けて保存(&A)|-|終了(&X)", "ﾍﾙﾌﾟ(&H)>ﾍﾙﾌﾟ(&H)"}));
        bool labelled = false;
        for (const QLabel *label : window.findChildren<QLabel *>())
            labelled = labelled || label->text() == QStringLiteral(" SQL ");
        QVERIFY(labelled);
        QCOMPARE(button(window, "ExecBTN")->text(), QStringLiteral("ＳＱＬ実行"));
        QCOMPARE(button(window, "LoadBTN")->text(), QStringLiteral("ＳＱＬ読込"));
        QCOMPARE(button(window, "SaveBTN")->text(), QStringLiteral("ＳＱＬ保存"));
        QCOMPARE(button(window, "CopyBTN")->text(), QStringLiteral("コピー"));
        QCOMPARE(button(window, "CloseBTN")->text(), QStringLiteral("閉じる"));
        QCOMPARE(captions(grid(window)->actions()), QStringList({"ｺﾋﾟｰ"}));
        QVERIFY(!button(window, "CopyBTN")->isEnabled());
        QVERIFY(!grid(window)->actions()[0]->isEnabled());
        QCOMPARE(TFsql::dialogFilter(),
                 QStringLiteral("SQL(*.SQL) (*.SQL *.sql);;すべてのファイル (*)"));
    }

    // Enter in the statement box starts a new line; the close button closes.
    void enterInsertsALine()
    {
        TFsql window(nullptr, paths());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        memo(window)->setFocus();
        QTest::keyClicks(memo(window), "SELECT *");
        QTest::keyClick(memo(window), Qt::Key_Return);
        QTest::keyClicks(memo(window), "FROM PC");
        QCOMPARE(memo(window)->toPlainText(), QStringLiteral("SELECT *\nFROM PC"));
        QVERIFY(window.isVisible());
        button(window, "CloseBTN")->click();
        QVERIFY(!window.isVisible());
    }

    void selectShowsRowsAndEnablesCopy_data() { TestStore::addEngineRows(); }
    void selectShowsRowsAndEnablesCopy()
    {
        QFETCH(int, engine);
        openStore(engine);
        if (!m_window)
            return;
        MessageBoxes::ScopedRecorder boxes;
        run("  select Key, Bu, DonyuYMD from PC order by Key");
        QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
        QCOMPARE(grid(*m_window)->model()->rowCount(), 2);
        QVERIFY(button(*m_window, "CopyBTN")->isEnabled());
        QVERIFY(grid(*m_window)->actions()[0]->isEnabled());

        QApplication::clipboard()->clear();
        grid(*m_window)->actions()[0]->trigger();
        const QString copied = QApplication::clipboard()->text();
        // PostgreSQL names the columns in lower case.
        QCOMPARE(copied.toLower().left(16), QStringLiteral("key\tbu\tdonyuymd\r"));
        QCOMPARE(copied.mid(16), QStringLiteral("PC01\t総務\t2004/04/01\rPC02\t\t\r"));

        // A statement that is refused closes the result first.
        run("DROPS");
        QCOMPARE(boxes.texts(), QStringList {QStringLiteral("DROP操作は禁止です")});
        QCOMPARE(boxes.entries()[0].kind, MessageBoxes::Kind::Error);
        QCOMPARE(grid(*m_window)->model()->rowCount(), 0);
        QVERIFY(!button(*m_window, "CopyBTN")->isEnabled());
        QVERIFY(!grid(*m_window)->actions()[0]->isEnabled());
        QCOMPARE(pcCount(), 2);
    }

    void changeAfterConfirmation_data() { TestStore::addEngineRows(); }
    void changeAfterConfirmation()
    {
        QFETCH(int, engine);
        openStore(engine);
        if (!m_window)
            return;
        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Cancel);
        run("DELETE FROM PC WHERE Key = 'PC01'");
        QCOMPARE(boxes.entries().size(), 1);
        QCOMPARE(boxes.entries()[0].kind, MessageBoxes::Kind::OkCancel);
        QCOMPARE(boxes.entries()[0].text,
                 QStringLiteral("このSQLはﾃﾞｰﾀを変更する可能性があります\r\n続行しますか？"));
        QCOMPARE(pcCount(), 2);

        boxes.clear();
        boxes.setReply(MessageBoxes::Reply::Ok);
        run("delete from pc where key = 'PC01'");
        QCOMPARE(boxes.entries().size(), 1); // the question only
        QCOMPARE(pcCount(), 1);
        QVERIFY(!m_dm->inTransaction());
        QVERIFY(!button(*m_window, "CopyBTN")->isEnabled());

        // The column "user" reaches PostgreSQL as the column.
        boxes.clear();
        run("UPDATE PC SET User = 'yamada'");
        QCOMPARE(boxes.entries().size(), 1);
        QCOMPARE(scalar("SELECT COUNT(*) FROM PC WHERE user = 'yamada'").toInt(), 1);
    }

    // Nothing after the first statement runs, and a SELECT runs read-only.
    void oneStatementReadOnly_data() { TestStore::addEngineRows(); }
    void oneStatementReadOnly()
    {
        QFETCH(int, engine);
        openStore(engine);
        if (!m_window)
            return;
        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Ok);
        for (const char *sql :
             {"SELECT 1; DELETE FROM PC", "select * from pc;\ndrop table pc",
              "DELETE FROM PC WHERE 1 = 0; DROP TABLE PC",
              "SELECT 1 /* */; CREATE TABLE X (A INTEGER)", "/* SELECT */ DELETE FROM PC"}) {
            boxes.clear();
            run(sql);
            QCOMPARE(boxes.texts(), QStringList {SyntaxError});
        }
        QCOMPARE(pcCount(), 2);
        QVERIFY(m_dm->tableExists(QStringLiteral("PC")));

        // SELECT ... INTO would create a table on PostgreSQL.
        boxes.clear();
        run("SELECT * INTO PcCopy FROM PC");
        QCOMPARE(boxes.entries().size(), 1);
        QCOMPARE(boxes.entries()[0].kind, MessageBoxes::Kind::Error);
        QVERIFY(!m_dm->tableExists(QStringLiteral("PcCopy")));
        QVERIFY(!m_dm->inTransaction());
    }

    // After the confirmation a change still runs alone: text hidden behind
    // its quoting does not run.
    void changeRunsAlone_data() { TestStore::addEngineRows(); }
    void changeRunsAlone()
    {
        QFETCH(int, engine);
        openStore(engine);
        if (!m_window)
            return;
        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Ok);
        run("DELETE FROM PC WHERE ''=E'\\''; DROP TABLE Appli; --'");
        // Refused: on PostgreSQL, which reads E'\'' as one literal, before
        // the question; on SQLite by the engine after it.
        QCOMPARE(boxes.entries().size(), engine == int(TestStore::Kind::SQLite) ? 2 : 1);
        QCOMPARE(boxes.entries().last().kind, MessageBoxes::Kind::Error);
        QVERIFY(m_dm->tableExists(QStringLiteral("Appli")));
        QCOMPARE(pcCount(), 2);
    }

    // A query stops at its time limit, at "中　止", or at a value too large
    // to hold, with a message; the window goes on.
    void runawayQueriesStop_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("how");
        for (int e : {int(TestStore::Kind::SQLite), int(TestStore::Kind::PostgreSQL)}) {
            for (const char *how : {"time limit", "cancel", "too large"})
                QTest::addRow("%s %s", e ? "postgresql" : "sqlite", how) << e << QString(how);
        }
    }
    void runawayQueriesStop()
    {
        QFETCH(int, engine);
        QFETCH(QString, how);
        openStore(engine);
        if (!m_window)
            return;
        MessageBoxes::ScopedRecorder boxes;
        UserStatement::Limits limits;
        limits.seconds = how == "time limit" ? 1 : 60;
        if (how == "too large")
            limits.valueBytes = 1000;
        m_window->setLimits(limits);
        QString endless = "SELECT COUNT(*) FROM PC t0";
        for (int i = 1; i < 40; ++i)
            endless += QStringLiteral(", PC t%1").arg(i);
        const QString sql
            = how == "too large" ? "SELECT Key || '" + QString(2000, u'x') + "' FROM PC" : endless;
        memo(*m_window)->setPlainText(sql);
        button(*m_window, "ExecBTN")->click();
        if (how == "cancel") {
            QTest::qWait(300);
            QVERIFY(m_window->isBusy());
            button(*m_window, "StopBTN")->click();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), 20000);
        const QString expected = how == "time limit" ? UserStatement::timeLimitText(1)
            : how == "cancel"                        ? UserStatement::cancelText()
                                                     : UserStatement::tooLargeText(1000);
        QCOMPARE(boxes.texts(), QStringList {expected});
        QVERIFY(!button(*m_window, "CopyBTN")->isEnabled());
        boxes.clear();
        m_window->setLimits({});
        run("SELECT Key FROM PC");
        QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
        QCOMPARE(grid(*m_window)->model()->rowCount(), 2);
    }

    // Rows come in pages as the grid asks, up to the window's bound.
    void rowsAreReadInPagesUpToABound()
    {
        openStore(int(TestStore::Kind::SQLite));
        MessageBoxes::ScopedRecorder boxes;
        m_window->setMaxRows(1200);
        QString many = "SELECT t0.Key FROM PC t0"; // 2^12 rows
        for (int i = 1; i < 12; ++i)
            many += QStringLiteral(", PC t%1").arg(i);
        run(many.toUtf8().constData());
        QAbstractItemModel *model = grid(*m_window)->model();
        QCOMPARE(model->rowCount(), 500);
        auto *note = m_window->findChild<QLabel *>("NoteLBL");
        QVERIFY(note->text().isEmpty());
        while (model->canFetchMore(QModelIndex())) {
            model->fetchMore(QModelIndex());
            QTRY_VERIFY(!m_window->isBusy());
        }
        QCOMPARE(model->rowCount(), 1500);
        QVERIFY2(note->text().contains("1,500"), qPrintable(note->text()));
        QVERIFY(boxes.entries().isEmpty());
    }

    // A statement loaded from a file that holds a NUL is refused before
    // anything is asked or run: the engines would stop reading at the NUL
    // and delete every PC.
    void statementWithNulIsRefused_data() { TestStore::addEngineRows(); }
    void statementWithNulIsRefused()
    {
        QFETCH(int, engine);
        openStore(engine);
        if (!m_window)
            return;
        const QString file = m_dir->filePath(QStringLiteral("nul.SQL"));
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray("DELETE FROM PC\0 WHERE Key = 'PC01'\r\n", 36));
        f.close();
        m_window->setFileDialog([&](QWidget *, TFsql::FileDialogMode, const QString &,
                                    const QString &, QString *) { return file; });
        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Ok);
        button(*m_window, "LoadBTN")->click();
        QVERIFY(memo(*m_window)->toPlainText().contains(QChar(u'\0')));
        button(*m_window, "ExecBTN")->click();
        QTRY_VERIFY(!m_window->isBusy());
        QCOMPARE(boxes.texts(), QStringList {UserStatement::nulText()});
        QCOMPARE(pcCount(), 2);
    }

    // A result of wide binary values is weighed value by value: the window
    // keeps no more than its bound and draws only the start of a value.
    void wideBinaryValuesKeepTheBound_data() { TestStore::addEngineRows(); }
    void wideBinaryValuesKeepTheBound()
    {
        QFETCH(int, engine);
        openStore(engine);
        if (!m_window)
            return;
        MessageBoxes::ScopedRecorder boxes;
        const qint64 bound = 5 * 1000 * 1000;
        m_window->setMaxBytes(bound);
        // 16 rows of a 1 MB binary value each.
        run(engine == int(TestStore::Kind::SQLite)
                ? "SELECT zeroblob(1000000) AS b FROM PC t0, PC t1, PC t2, PC t3"
                : "SELECT decode(repeat('41', 1000000), 'hex') AS b "
                  "FROM PC t0, PC t1, PC t2, PC t3");
        QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
        QAbstractItemModel *model = grid(*m_window)->model();
        QCOMPARE(model->rowCount(), 4);
        QVERIFY(!model->canFetchMore(QModelIndex()));
        QVERIFY(!m_window->findChild<QLabel *>("NoteLBL")->text().isEmpty());
        const QString shown = model->index(0, 0).data().toString();
        QCOMPARE(shown.size(), SqlResultModel::ShownChars + 1);
    }

    void storeErrorsShowTheStoreText_data() { TestStore::addEngineRows(); }
    void storeErrorsShowTheStoreText()
    {
        QFETCH(int, engine);
        openStore(engine);
        if (!m_window)
            return;
        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Ok);
        run("SELECT NoSuchColumn FROM PC");
        QCOMPARE(boxes.entries().size(), 1);
        QVERIFY2(
            boxes.entries()[0].text.contains(QStringLiteral("nosuchcolumn"), Qt::CaseInsensitive),
            qPrintable(boxes.entries()[0].text));
        QCOMPARE(grid(*m_window)->model()->rowCount(), 0);
        QVERIFY(!button(*m_window, "CopyBTN")->isEnabled());

        boxes.clear();
        run("INSERT INTO PC (Key) VALUES ('PC01')"); // the key is taken
        QCOMPARE(boxes.entries().size(), 2);
        QCOMPARE(boxes.entries()[1].kind, MessageBoxes::Kind::Error);
        QVERIFY(!boxes.entries()[1].text.isEmpty());
        QVERIFY(!m_dm->inTransaction());
        QCOMPARE(pcCount(), 2);
    }

    void withoutStore()
    {
        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Ok);
        TFsql window(nullptr, paths());
        memo(window)->setPlainText(QStringLiteral("SELECT 1"));
        button(window, "ExecBTN")->click();
        QCOMPARE(boxes.texts(), QStringList {QStringLiteral("データベースに接続していません")});
    }

    // Files in CP932 with CR LF; the dialogs start in the program's folder,
    // then in the last file's.
    void loadAndSave()
    {
        MessageBoxes::ScopedRecorder boxes;
        TFsql window(nullptr, paths());
        QStringList directories;
        QList<TFsql::FileDialogMode> modes;
        QStringList answers;
        window.setFileDialog([&](QWidget *, TFsql::FileDialogMode mode, const QString &dir,
                                 const QString &filter, QString *selected) {
            modes << mode;
            directories << dir;
            *selected = filter.section(QStringLiteral(";;"), 0, 0);
            return answers.isEmpty() ? QString() : answers.takeFirst();
        });
        QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("queries")));
        const QString folder = m_dir->filePath(QStringLiteral("queries"));

        memo(window)->setPlainText(QStringLiteral("SELECT *\nFROM PC -- 一覧"));
        answers << folder + QStringLiteral("/list");
        button(window, "SaveBTN")->click();
        QVERIFY(modes.last() == TFsql::FileDialogMode::Save);
        QCOMPARE(directories.last(), paths().programDir());
        QFile saved(folder + QStringLiteral("/list.SQL"));
        QVERIFY(saved.open(QIODevice::ReadOnly));
        QCOMPARE(saved.readAll(), QByteArray("SELECT *\r\nFROM PC -- \x88\xea\x97\x97\r\n"));

        // Any line end is read; the text box is replaced.
        QFile other(folder + QStringLiteral("/other.txt"));
        QVERIFY(other.open(QIODevice::WriteOnly));
        other.write("DELETE\rFROM PC\nWHERE Bu = '" + Cp932::encode(QStringLiteral("総務"))
                    + "'\r\n");
        other.close();
        answers << other.fileName();
        window.LoadClick();
        QVERIFY(modes.last() == TFsql::FileDialogMode::Open);
        QCOMPARE(directories.last(), folder);
        QCOMPARE(memo(window)->toPlainText(), QStringLiteral("DELETE\nFROM PC\nWHERE Bu = '総務'"));

        // A name without extension opens the .SQL file of that name.
        answers << folder + QStringLiteral("/list");
        button(window, "LoadBTN")->click();
        QCOMPARE(memo(window)->toPlainText(), QStringLiteral("SELECT *\nFROM PC -- 一覧"));

        // Cancel changes nothing.
        button(window, "LoadBTN")->click();
        QCOMPARE(memo(window)->toPlainText(), QStringLiteral("SELECT *\nFROM PC -- 一覧"));
        QVERIFY(boxes.entries().isEmpty());

        // Files that cannot be read or written: the error, the text kept,
        // the dialogs' folder unchanged.
        answers << m_dir->filePath(QStringLiteral("missing.SQL"));
        window.LoadClick();
        answers << m_dir->filePath(QStringLiteral("nofolder/x.SQL"));
        window.SaveClick();
        QCOMPARE(boxes.entries().size(), 2);
        QVERIFY(boxes.entries()[0].text.contains(QStringLiteral("missing.SQL")));
        QVERIFY(boxes.entries()[1].text.contains(QStringLiteral("nofolder")));
        QCOMPARE(memo(window)->toPlainText(), QStringLiteral("SELECT *\nFROM PC -- 一覧"));
        QCOMPARE(window.dialogDirectory(), folder);
    }

    void openedFromTheMainWindow()
    {
        MessageBoxes::ScopedRecorder boxes;
        TFmain main(paths());
        main.show();
        QTRY_VERIFY(main.isStartupDone());
        main.finishReading();
        QString title, name;
        QTimer::singleShot(0, &main, [&] {
            auto *window = qobject_cast<TFsql *>(QApplication::activeModalWidget());
            QVERIFY(window);
            title = window->windowTitle();
            memo(*window)->setPlainText(QStringLiteral("SELECT COUNT(*) FROM PC"));
            button(*window, "ExecBTN")->click();
            name = grid(*window)->model()->headerData(0, Qt::Horizontal).toString();
            window->close();
        });
        main.mainMenu()->sqlWindow->trigger();
        QCOMPARE(title, QStringLiteral("SQL"));
        QVERIFY(!name.isEmpty());
        QVERIFY2(boxes.entries().isEmpty(), qPrintable(boxes.texts().join(u'|')));
        QVERIFY(main.findChildren<TFsql *>().isEmpty());
    }

private:
    ProgramPaths paths() const
    {
        return ProgramPaths(m_dir->filePath(QStringLiteral("Orvane")), m_dir->path());
    }
    static QPushButton *button(const QWidget &window, const char *name)
    {
        return window.findChild<QPushButton *>(QLatin1String(name));
    }
    static QPlainTextEdit *memo(const QWidget &window)
    {
        return window.findChild<QPlainTextEdit *>(QStringLiteral("SQLMemo"));
    }
    static TDBGridEx *grid(const QWidget &window) { return window.findChild<TDBGridEx *>(); }

    // A store with two PCs and the window on it; no window when the engine
    // is not available.
    void openStore(int engine)
    {
        m_store = std::make_unique<TestStore>(engine);
        ORVANE_REQUIRE_STORE(*m_store);
        m_dm = std::make_unique<TDMdata>();
        openCheckedStore(*m_dm, m_store->settings());
        RecordCursor &pc = m_dm->table(TableId::PC);
        pc.append();
        pc.setValue(QStringLiteral("Key"), QStringLiteral("PC01"));
        pc.setValue(QStringLiteral("Bu"), QStringLiteral("総務"));
        pc.setValue(QStringLiteral("DonyuYMD"), QDate(2004, 4, 1));
        pc.post();
        pc.append();
        pc.setValue(QStringLiteral("Key"), QStringLiteral("PC02"));
        pc.post();
        m_window = std::make_unique<TFsql>(m_dm.get(), paths());
        m_window->show();
    }
    // Runs the statement and waits until it has ended (statements run away
    // from the window).
    void run(const char *sql)
    {
        memo(*m_window)->setPlainText(QString::fromUtf8(sql));
        button(*m_window, "ExecBTN")->click();
        QTRY_VERIFY_WITH_TIMEOUT(!m_window->isBusy(), 20000);
    }
    QVariant scalar(const char *sql)
    {
        QSqlQuery q = m_dm->exec(QString::fromUtf8(sql));
        const QVariant v = q.next() ? q.value(0) : QVariant();
        q.finish();
        return v;
    }
    int pcCount() { return scalar("SELECT COUNT(*) FROM PC").toInt(); }

    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<TDMdata> m_dm;
    std::unique_ptr<TFsql> m_window;
};

QTEST_MAIN(TstWinSql)
#include "tst_win_sql.moc"
