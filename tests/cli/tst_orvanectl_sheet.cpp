// orvanectl sheet: the management sheets of all or of the named PCs in one
// PDF file, progress on stderr, exit 1 for a PC that does not exist; and
// orvanectl report: the list reports in a PDF file.

#include "CtlTestSupport.h"
#include "PdfText.h"
#include "SampleGenerator.h"
#include "TestStores.h"
#include "base/IniFile.h"
#include "cli/OrvaneCtl.h"
#include "store/UDMdata.h"

#include <QDate>
#include <QFile>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

class TstOrvaneCtlSheet : public QObject
{
    Q_OBJECT

private slots:
    void sheets_data() { TestStore::addEngineRows(); }
    void sheets()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        SampleGenerator::Options options;
        options.minApplications = 3;
        options.maxApplications = 5;
        QVERIFY(SampleGenerator(options).writeFolder(collector.path(), 0, 3) > 0);
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"import", collector.path()}).exit, 0);
        const QString file = program.filePath(QStringLiteral("sheets.pdf"));

        Outcome o
            = runCtl(program.path(), where + QStringList {"--verbose", "sheet", "--pdf", file});
        QCOMPARE(o.exit, 0);
        QVERIFY2(o.err.contains(QStringLiteral("(3/3) PC00003")), qPrintable(o.err));
        QStringList pages = PdfText::pages(file);
        QCOMPARE(pages.size(), 3);
        QVERIFY(pages[2].contains(QStringLiteral("KEY:PC00003")));

        o = runCtl(program.path(),
                   where + QStringList {"sheet", "--pdf", file, "PC00003", "PC00001"});
        QCOMPARE(o.exit, 0);
        pages = PdfText::pages(file);
        QCOMPARE(pages.size(), 2);
        QVERIFY(pages[0].contains(QStringLiteral("KEY:PC00001")));
        QVERIFY(pages[1].contains(QStringLiteral("KEY:PC00003")));

        // A PC that does not exist: nothing is written.
        QVERIFY(QFile::remove(file));
        o = runCtl(program.path(), where + QStringList {"sheet", "--pdf", file, "PC00001", "NOPE"});
        QCOMPARE(o.exit, 1);
        QVERIFY(o.err.contains(QStringLiteral("パソコンがありません: NOPE")));
        QVERIFY(!QFile::exists(file));

        // A file that cannot be written.
        o = runCtl(program.path(),
                   where + QStringList {"sheet", "--pdf", program.filePath("no/sheets.pdf")});
        QCOMPARE(o.exit, 1);
        QVERIFY(o.err.contains(QStringLiteral("no/sheets.pdf")));
    }

    // Each list with its rows and pages; a list without rows prints its
    // headers.
    void reports_data() { TestStore::addEngineRows(); }
    void reports()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        QVERIFY(SampleGenerator(SampleGenerator::Options()).writeFolder(collector.path(), 0, 3)
                > 0);
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"import", collector.path()}).exit, 0);
        const QString file = program.filePath(QStringLiteral("list.pdf"));
        const QList<QPair<QStringList, QString>> runs {
            {{"bu-ka"}, "総合計"},
            {{"kyoyu"}, "共有名"},
            {{"kyoyu", "--printers"}, "共有名"},
        };
        for (const auto &run : runs) {
            const Outcome o = runCtl(program.path(),
                                     where + QStringList {"--verbose", "report"} + run.first
                                         + QStringList {"--pdf", file});
            QCOMPARE(o.exit, 0);
            const QString rows
                = run.first[0] == QLatin1String("bu-ka") ? QStringLiteral("3 件") : QString();
            QVERIFY2(o.err.contains(rows + QStringLiteral("、1 ページを出力しました")),
                     qPrintable(o.err));
            const QStringList pages = PdfText::pages(file);
            QCOMPARE(pages.size(), 1);
            QVERIFY2(QString(pages[0]).remove(u' ').contains(run.second), qPrintable(pages[0]));
        }
    }

    // report appli: a name that no PC has ever had is refused (exit 1,
    // nothing written, an earlier file kept); a known one that no PC in
    // service has prints the headers (exit 0).
    void appliNames_data() { TestStore::addEngineRows(); }
    void appliNames()
    {
        if (!PdfText::available())
            QSKIP("pdftotext (poppler-utils) is not installed");
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QTemporaryDir program, collector;
        QVERIFY(SampleGenerator(SampleGenerator::Options()).writeFolder(collector.path(), 0, 2)
                > 0);
        const QStringList where = storeArguments(store, program.path());
        QCOMPARE(runCtl(program.path(), where + QStringList {"import", collector.path()}).exit, 0);
        QString known;
        {
            TDMdata dm;
            openCheckedStore(dm, store.settings());
            QSqlQuery q = dm.exec(QStringLiteral("SELECT Appli FROM Appli"));
            QVERIFY(q.next());
            known = q.value(0).toString();
            q.finish();
            dm.exec(QStringLiteral("UPDATE PC SET TekkyoYMD = :D"),
                    {{QStringLiteral(":D"), QDate(2020, 4, 1)}});
        }
        const QString file = program.filePath(QStringLiteral("appli.pdf"));

        Outcome o
            = runCtl(program.path(),
                     where + QStringList {"--verbose", "report", "appli", known, "--pdf", file});
        QCOMPARE(o.exit, 0);
        QVERIFY2(o.err.contains(QStringLiteral("0 件、1 ページを出力しました")), qPrintable(o.err));
        QVERIFY(PdfText::pages(file).value(0).remove(u' ').contains(
            QStringLiteral("アプリケーション名：") + QString(known).remove(u' ')));

        QFile old(file);
        QVERIFY(old.open(QIODevice::WriteOnly | QIODevice::Truncate));
        old.write("OLD");
        old.close();
        o = runCtl(program.path(), where + QStringList {"report", "appli", "NONE", "--pdf", file});
        QCOMPARE(o.exit, 1);
        QVERIFY2(o.err.contains(QStringLiteral("アプリケーションがありません: NONE")),
                 qPrintable(o.err));
        QVERIFY(old.open(QIODevice::ReadOnly));
        QCOMPARE(old.readAll(), QByteArray("OLD"));
    }

    void usage_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("no file") << QStringList {"sheet"};
        QTest::newRow("file option without its name") << QStringList {"sheet", "--pdf"};
        QTest::newRow("file for another command") << QStringList {"--pdf", "x.pdf", "check"};
        QTest::newRow("list without file") << QStringList {"report", "bu-ka"};
        QTest::newRow("unknown list") << QStringList {"report", "pc", "--pdf", "x.pdf"};
        QTest::newRow("application list without its name")
            << QStringList {"report", "appli", "--pdf", "x.pdf"};
        QTest::newRow("printer shares for another list")
            << QStringList {"report", "bu-ka", "--printers", "--pdf", "x.pdf"};
    }
    void usage()
    {
        QFETCH(QStringList, arguments);
        QTemporaryDir program;
        const Outcome o = runCtl(program.path(), arguments);
        QCOMPARE(o.exit, 2);
        QVERIFY(o.err.contains(QStringLiteral("sheet --pdf FILE [KEY...]")));
        QVERIFY(o.err.contains(QStringLiteral("report bu-ka|kyoyu [--printers]|appli NAME")));
    }
};

QTEST_MAIN(TstOrvaneCtlSheet)
#include "tst_orvanectl_sheet.moc"
