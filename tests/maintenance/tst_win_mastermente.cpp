// The PC table maintenance window, offscreen: its work reaches the store
// only at OK, in one go, and a failed import is undone by Cancel.

#include "TestStores.h"
#include "app/MainMenu.h"
#include "app/Umain.h"
#include "base/Cp932.h"
#include "export/CsvExport.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "maintenance/PendingTableModel.h"
#include "maintenance/windows/Upc.h"
#include "store/PcClaims.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using Entry = MessageBoxes::Entry;

void insert(TDMdata &dm, const QVariantMap &values, TableId table = TableId::PC)
{
    RecordCursor &cursor = dm.table(table);
    cursor.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        cursor.setValue(it.key(), it.value());
    cursor.post();
}

// Key and the named columns of every PC, in key order.
QStringList pcRows(TDMdata &dm, const QStringList &columns = {})
{
    QStringList rows;
    QSqlQuery q = dm.exec(QStringLiteral("SELECT * FROM PC ORDER BY KEY"));
    while (q.next()) {
        QStringList values {q.value(0).toString()};
        for (const QString &c : columns) {
            const QVariant v = q.value(
                q.record().indexOf(dm.dialect().engine() == Engine::PostgreSQL ? c.toLower() : c));
            values << (v.isNull() ? QString() : v.toString());
        }
        rows << values.join(u'|');
    }
    return rows;
}

// The first column of every row of a statement.
QStringList rowsOf(TDMdata &dm, const QString &sql)
{
    QStringList rows;
    QSqlQuery q = dm.exec(sql);
    while (q.next())
        rows << q.value(0).toString();
    return rows;
}

int column(const QAbstractItemModel *model, const QString &name)
{
    for (int c = 0; c < model->columnCount(); ++c) {
        if (model->headerData(c, Qt::Horizontal).toString() == name)
            return c;
    }
    return -1;
}

// A PC dump of these rows: the key, and one other column's text.
QByteArray pcDump(TDMdata &dm, const QList<QPair<QString, QString>> &rows, const QString &other)
{
    QStringList names;
    for (const CsvExport::Column &c : CsvExport(dm, TableId::PC).columns())
        names << c.name;
    QByteArray file = Cp932::encode(names.join(u',')) + "\r\n";
    for (const auto &[key, value] : rows) {
        QStringList fields(names.size());
        fields[0] = key;
        fields[names.indexOf(other)] = value;
        file += Cp932::encode(fields.join(u',')) + "\r\n";
    }
    return file;
}

} // namespace

class TstWinMasterMente : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        QVERIFY(m_dir->isValid());
    }

    // Edits, an added and a deleted row reach the store at OK, and only
    // then; meanwhile the store takes another copy's writes, which OK keeps.
    void editAddDeleteThenOk_data() { TestStore::addEngineRows(); }
    void editAddDeleteThenOk()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insert(dm, {{"Key", "PC01"}, {"Bu", QStringLiteral("総務部")}});
        insert(dm, {{"Key", "PC02"}});
        insert(dm, {{"Key", "PC03"}, {"Ka", "A"}});

        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Yes);
        TFpc window(dm, paths());
        window.show();
        QCOMPARE(window.windowTitle(), QStringLiteral("PC"));
        QVERIFY(window.findChild<QPushButton *>(QStringLiteral("PrintBTN"))->isHidden());
        PendingTableModel *model = window.model();
        QCOMPARE(model->rowCount(), 3);
        const int key = column(model, QStringLiteral("Key"));
        const int bu = column(model, QStringLiteral("Bu"));
        const int memAll = column(model, QStringLiteral("Mem_All"));

        QVERIFY(model->setData(model->index(1, bu), QStringLiteral("情報部")));
        QVERIFY(!model->setData(model->index(1, key), QStringLiteral("PC03")));
        window.grid()->setCurrentIndex(model->index(0, bu));
        window.DelBTNClick();
        QCOMPARE(model->rowCount(), 2);
        window.AddBTNClick();
        QCOMPARE(window.grid()->currentIndex(), model->index(0, 0));
        QVERIFY(!model->setData(model->index(0, memAll), QStringLiteral("abc")));
        QVERIFY(model->setData(model->index(0, key), QStringLiteral("PC10")));
        QVERIFY(model->setData(model->index(0, memAll), QStringLiteral(" 512 ")));
        QCOMPARE(boxes.texts(),
                 QStringList({QStringLiteral("キーが重複しています: PC03"),
                              QStringLiteral("PC01に関する情報をすべて削除します。\n\r"
                                             "明細 0 行とリースの対象PC 0 行も削除されます。\n\r"
                                             "よろしいですか？"),
                              QStringLiteral("整数ではありません: abc")}));

        // Another copy writes while the window is open.
        TDMdata other;
        openCheckedStore(other, store.settings());
        RecordCursor &pc = other.table(TableId::PC);
        QVERIFY(pc.locate({QStringLiteral("PC03")}));
        pc.edit();
        pc.setValue(QStringLiteral("Ka"), QStringLiteral("B"));
        pc.post();
        QCOMPARE(pcRows(dm, {"Bu"}),
                 QStringList({QStringLiteral("PC01|総務部"), "PC02|", "PC03|"}));

        window.BitBtn2Click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QVERIFY(!dm.inTransaction());
        QCOMPARE(pcRows(dm, {"Bu", "Ka", "Mem_All"}),
                 QStringList({QStringLiteral("PC02|情報部||"), "PC03||B|", "PC10|||512"}));
    }

    // A failing import empties the rows, says so and how to undo it;
    // Cancel or the close box then leaves the store as it was.
    void failedImportIsUndone_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<bool>("closeBox");
        for (int engine : {int(TestStore::Kind::SQLite), int(TestStore::Kind::PostgreSQL)}) {
            const QString name = engine == int(TestStore::Kind::SQLite) ? "sqlite" : "postgresql";
            QTest::newRow(qPrintable(name + " cancel")) << engine << false;
            QTest::newRow(qPrintable(name + " close box")) << engine << true;
        }
    }
    void failedImportIsUndone()
    {
        QFETCH(int, engine);
        QFETCH(bool, closeBox);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insert(dm, {{"Key", "OLD1"}, {"Bu", QStringLiteral("総務部")}});
        insert(dm, {{"Key", "OLD2"}});
        const QStringList before = pcRows(dm, {"Bu"});

        const QString path = m_dir->filePath(QStringLiteral("bad.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pcDump(dm, {{"NEW1", "2005/12/10"}, {"NEW2", "2005/13/01"}}, "DonyuYMD"));
        file.close();

        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Yes);
        TFpc window(dm, paths());
        window.setFileDialog(
            [&](QWidget *, TFmasterMente::FileDialogMode mode, const QString &filter, QString *) {
                return mode == TFmasterMente::FileDialogMode::Open
                        && filter == TFmasterMente::importFilter()
                    ? path
                    : QString();
            });
        window.show();
        window.InportBTNClick();
        const QList<Entry> entries = boxes.entries();
        QCOMPARE(entries.size(), 2);
        QCOMPARE(entries[0].kind, MessageBoxes::Kind::WarningYesNo);
        QCOMPARE(entries[0].text,
                 QStringLiteral("現在のデータが上書きされます\n\r実行してもよろしいですか？"));
        QCOMPARE(entries[1].kind, MessageBoxes::Kind::Error);
        QCOMPARE(entries[1].text,
                 QStringLiteral("インポートに失敗しましたが元のデータは消されています\n\r"
                                "復活させるにはキャンセルを押してください\n\n"
                                "3 行目 66 列目 (DonyuYMD): 日付 (yyyy/mm/dd) ではありません: "
                                "2005/13/01"));
        QCOMPARE(window.model()->rowCount(), 1);
        QCOMPARE(pcRows(dm, {"Bu"}), before);

        if (closeBox)
            window.close();
        else
            window.BitBtn1Click();
        QCOMPARE(window.result(), int(QDialog::Rejected));
        QCOMPARE(pcRows(dm, {"Bu"}), before);
    }

    // An export imported at once and confirmed leaves the table as it was;
    // a name without extension gets ".csv" under the first filter only.
    void exportThenImport_data() { TestStore::addEngineRows(); }
    void exportThenImport()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insert(dm,
               {{"Key", "PC01"},
                {"Biko", QStringLiteral("一行目\r\n\"二\", 行目")},
                {"DonyuYMD", QDate(2005, 12, 10)},
                {"CPU_Clock", 2992.5}});
        insert(dm, {{"Key", "PC02"}, {"Riyosya", QStringLiteral("山田")}});
        const QStringList columns {"Biko", "DonyuYMD", "CPU_Clock", "Riyosya"};
        const QStringList before = pcRows(dm, columns);

        const QString typed = m_dir->filePath(QStringLiteral("pc"));
        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Yes);
        TFpc window(dm, paths());
        window.setFileDialog(
            [&](QWidget *, TFmasterMente::FileDialogMode mode, const QString &, QString *selected) {
                if (mode == TFmasterMente::FileDialogMode::Open)
                    return typed + QStringLiteral(".csv");
                *selected = TFmasterMente::exportFilter().section(QStringLiteral(";;"), 0, 0);
                return typed;
            });
        window.show();
        window.ExportBTNClick();
        QVERIFY(QFile::exists(typed + QStringLiteral(".csv")));
        window.InportBTNClick();
        QCOMPARE(boxes.entries().size(), 1);
        window.BitBtn2Click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(pcRows(dm, columns), before);

        const QString all = TFmasterMente::exportFilter().section(QStringLiteral(";;"), 1, 1);
        QCOMPARE(TFmasterMente::withDefaultExtension(typed, all), typed);
    }

    // A PC row deleted takes the PC's detail and LeasePC rows with it, after
    // a question that counts them; other PCs keep theirs.
    void deletedPcTakesItsRows_data() { TestStore::addEngineRows(); }
    void deletedPcTakesItsRows()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insert(dm, {{"Key", "PC01"}});
        insert(dm, {{"Key", "PC02"}});
        insert(dm, {{"Key", "PC01"}, {"Appli", "Excel"}}, TableId::Appli);
        insert(dm, {{"Key", "PC01"}, {"SharedName", "S"}}, TableId::Share);
        insert(dm, {{"Key", "PC02"}, {"Appli", "Word"}}, TableId::Appli);
        insert(dm, {{"lease", "A"}, {"lease_No", "1"}, {"PCKey", "PC01"}}, TableId::LeasePC);

        MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Yes);
        TFpc window(dm, paths());
        window.show();
        window.grid()->setCurrentIndex(window.model()->index(0, 0));
        window.DelBTNClick();
        QCOMPARE(boxes.texts(),
                 QStringList {QStringLiteral("PC01に関する情報をすべて削除します。\n\r"
                                             "明細 2 行とリースの対象PC 1 行も削除されます。\n\r"
                                             "よろしいですか？")});
        QCOMPARE(rowsOf(dm, QStringLiteral("SELECT COUNT(*) FROM Appli")), QStringList {"2"});
        window.BitBtn2Click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(pcRows(dm), QStringList {"PC02"});
        QCOMPARE(rowsOf(dm,
                        QStringLiteral("SELECT Key FROM Appli UNION ALL SELECT Key FROM Share "
                                       "UNION ALL SELECT PCKey FROM LeasePC")),
                 QStringList {"PC02"});
    }

    // A PC that another copy has open in its ledger stops OK: nothing is
    // written until the other copy lets it go.
    void claimedPcStopsOk_data() { TestStore::addEngineRows(); }
    void claimedPcStopsOk()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm, other;
        openCheckedStore(dm, store.settings());
        openCheckedStore(other, store.settings());
        insert(dm, {{"Key", "PC01"}, {"Bu", "A"}});
        auto claim = std::make_unique<PcClaim>(other);
        claim->take(QStringLiteral("PC01"));
        dm.setLockWait(200);

        MessageBoxes::ScopedRecorder boxes;
        TFpc window(dm, paths());
        window.show();
        PendingTableModel *model = window.model();
        QVERIFY(model->setData(model->index(0, column(model, QStringLiteral("Bu"))), "B"));
        window.BitBtn2Click();
        QCOMPARE(boxes.texts(), QStringList {PcClaims::claimedText(QStringLiteral("PC01"))});
        QVERIFY(window.isVisible());
        QVERIFY(!dm.inTransaction());
        QCOMPARE(pcRows(dm, {"Bu"}), QStringList {"PC01|A"});

        claim.reset();
        window.BitBtn2Click();
        QCOMPARE(window.result(), int(QDialog::Accepted));
        QCOMPARE(pcRows(dm, {"Bu"}), QStringList {"PC01|B"});
    }

    // A file of less than half the rows (or none) is asked about; No
    // leaves the rows as they were.
    void shrinkingImportAsksFirst_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("no") << false;
        QTest::newRow("yes") << true;
    }
    void shrinkingImportAsksFirst()
    {
        QFETCH(bool, yes);
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        for (const char *key : {"PC01", "PC02", "PC03"})
            insert(dm, {{"Key", key}});
        const QString path = m_dir->filePath(QStringLiteral("one.csv"));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pcDump(dm, {{"NEW1", "x"}}, "Bu"));
        file.close();

        MessageBoxes::ScopedRecorder boxes;
        TFpc window(dm, paths());
        window.show();
        QList<qint64> asked;
        DumpReader::Error error;
        const PendingTable::Import result
            = window.model()->importDump(path, error, [&](qint64 fileRows, qint64 tableRows) {
                  asked = {fileRows, tableRows};
                  return yes;
              });
        QCOMPARE(asked, (QList<qint64> {1, 3}));
        QCOMPARE(result, yes ? PendingTable::Import::Done : PendingTable::Import::Declined);
        QCOMPARE(window.model()->rowCount(), yes ? 1 : 3);
        window.BitBtn2Click();
        QCOMPARE(pcRows(dm), (yes ? QStringList {"NEW1"} : QStringList {"PC01", "PC02", "PC03"}));
    }

    // What is typed into the grid is what CP932 holds: twins in place of
    // their characters, other characters refused with the typed text kept
    // in the cell.
    void typedTextIsWhatCp932Holds()
    {
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insert(dm, {{"Key", "PC01"}});
        MessageBoxes::ScopedRecorder boxes;
        TFpc window(dm, paths());
        window.show();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        PendingTableModel *model = window.model();
        const QModelIndex place = model->index(0, column(model, QStringLiteral("SettiBasyo")));
        QVERIFY(model->setData(place, QStringLiteral("2F\u301C3F")));
        QCOMPARE(model->data(place).toString(), QStringLiteral("2F\uFF5E3F"));

        window.grid()->setCurrentIndex(place);
        window.grid()->edit(place);
        auto *editor = qobject_cast<QLineEdit *>(window.grid()->indexWidget(place));
        QVERIFY(editor);
        editor->setText(QStringLiteral("Caf\u00E9"));
        QTest::keyClick(editor, Qt::Key_Return);
        QTRY_COMPARE(
            boxes.texts(),
            QStringList {QStringLiteral(
                "「SettiBasyo」に Shift-JIS で表せない文字「\u00E9」(U+00E9) があります")});
        QTRY_VERIFY(window.grid()->indexWidget(place));
        QCOMPARE(qobject_cast<QLineEdit *>(window.grid()->indexWidget(place))->text(),
                 QStringLiteral("Caf\u00E9"));
        QCOMPARE(model->data(place).toString(), QStringLiteral("2F\uFF5E3F"));
    }

    // "ﾃﾞｰﾀ(&D)" → "PCﾃｰﾌﾞﾙ(&P)" opens the window modally.
    void menuOpensTheWindow()
    {
        MessageBoxes::ScopedRecorder boxes;
        TFmain main(paths());
        main.show();
        QTRY_VERIFY(main.isStartupDone());
        main.finishReading();
        QString title;
        QTimer::singleShot(0, [&] {
            auto *window = qobject_cast<TFpc *>(QApplication::activeModalWidget());
            if (window) {
                title = window->windowTitle();
                window->BitBtn1Click();
            }
        });
        main.mainMenu()->pcTable->trigger();
        QCOMPARE(title, QStringLiteral("PC"));
    }

private:
    ProgramPaths paths() const
    {
        return ProgramPaths(m_dir->filePath(QStringLiteral("Orvane")), m_dir->path());
    }

    std::unique_ptr<QTemporaryDir> m_dir;
};

QTEST_MAIN(TstWinMasterMente)
#include "tst_win_mastermente.moc"
