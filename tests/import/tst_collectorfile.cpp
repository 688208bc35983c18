#include "ImportTestSupport.h"
#include "import/CollectorFile.h"
#include "import/ImportError.h"

#include <QTemporaryDir>
#include <QTest>
#include <cstdio>
#include <sys/stat.h>

class TstCollectorFile : public QObject
{
    Q_OBJECT

private slots:
    void lines_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("lines");
        using L = QStringList;
        QTest::newRow("empty") << QByteArray() << L {};
        QTest::newRow("NUL first") << QByteArray("\0abc", 4) << L {};
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\n") << L {"a", "b"};
        QTest::newRow("no final line end") << QByteArray("a\r\nb") << L {"a", "b"};
        QTest::newRow("LF and CR alone") << QByteArray("a\nb\rc") << L {"a", "b", "c"};
        QTest::newRow("LF CR is two line ends") << QByteArray("a\n\rb") << L {"a", "", "b"};
        QTest::newRow("blank last line") << QByteArray("a\r\n\r\n") << L {"a", ""};
        QTest::newRow("only a line end") << QByteArray("\n") << L {""};
        QTest::newRow("NUL ends the text") << QByteArray("a\nb\0c\nd", 7) << L {"a", "b"};
        QTest::newRow("code page 932")
            << QByteArray("\x83\x81\x83\x82\x83\x8a,\xcc\xa7\xb2\xd9\n") << L {"メモリ,ﾌｧｲﾙ"};
    }
    void lines()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, lines);
        QCOMPARE(CollectorFile::linesOf(bytes), lines);
    }

    void byteOrderMarkIsNoHeader()
    {
        const QStringList lines
            = CollectorFile::linesOf("\xef\xbb\xbf" + Cp932::encode(CollectorFile::header()));
        QCOMPARE(lines.size(), 1);
        QVERIFY(lines.first() != CollectorFile::header());
        QVERIFY(lines.first().endsWith(CollectorFile::header()));
    }

    void listsCsvEntriesInNameOrder()
    {
        QTemporaryDir dir;
        for (const char *name : {"b.csv", "A.CSV", "c.Csv", ".hidden.csv", "d.txt", "e.csv.bak"})
            SampleFile::writeFile(dir.filePath(QLatin1String(name)), "x");
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("sub.csv")));
        // A name in CP932 bytes, as copied from a Windows share, is no UTF-8.
        const QByteArray cp932Name = Cp932::encode(QStringLiteral("営業部PC01.csv"));
        const QByteArray rawPath = QFile::encodeName(dir.path()) + '/' + cp932Name;
        FILE *raw = std::fopen(rawPath.constData(), "w");
        QVERIFY(raw);
        std::fputs("x", raw);
        std::fclose(raw);

        const QVector<CollectorFile::Entry> entries = CollectorFile::list(dir.path());
        QStringList names;
        for (const CollectorFile::Entry &e : entries)
            names << e.name;
        QCOMPARE(
            names,
            QStringList({".hidden.csv", "A.CSV", "b.csv", "c.Csv", "sub.csv", "営業部PC01.csv"}));
        QCOMPARE(CollectorFile::readBytes(entries.last()), QByteArray("x"));

        for (const QString &bad : {dir.filePath(QStringLiteral("missing")),
                                   dir.filePath(QStringLiteral("b.csv")), QString()}) {
            QVERIFY_THROWS_EXCEPTION(ImportError, CollectorFile::list(bad));
        }
    }

    // NUL bytes are blanked on disk only in a file that is as it was read
    // and that no other program has open (its collector may still write
    // it): the run then stops. In place, so a writer that opens the file
    // afterwards writes to the same file.
    void readAndRewrite()
    {
        QTemporaryDir dir;
        const CollectorFile::Entry file = entryOf(dir.filePath(QStringLiteral("a.csv")));
        const QByteArray original("head\r\nA,\0B\0\r\n", 13);
        SampleFile::writeFile(file.shownPath, original);
        CollectorFile::Stamp stamp;
        QByteArray bytes = CollectorFile::readBytes(file, &stamp);
        QCOMPARE(bytes, original);
        QByteArray blanked = bytes;
        QVERIFY(CollectorFile::replaceNulBytes(blanked));
        QCOMPARE(blanked, QByteArray("head\r\nA, B \r\n"));
        QVERIFY(!CollectorFile::replaceNulBytes(blanked));

        // The collector appended meanwhile: the file is left as it is.
        QFile appending(file.shownPath);
        QVERIFY(appending.open(QIODevice::Append));
        appending.write("more\r\n");
        appending.close();
        QCOMPARE(CollectorFile::blankNulBytes(file, stamp, bytes),
                 CollectorFile::NulRewrite::FileChanged);
        QCOMPARE(CollectorFile::readBytes(file), original + "more\r\n");

        // The collector still has it open: refused, naming the file.
        bytes = CollectorFile::readBytes(file, &stamp);
        QFile writer(file.shownPath);
        QVERIFY(writer.open(QIODevice::Append));
        try {
            CollectorFile::blankNulBytes(file, stamp, bytes);
            QFAIL("a file held open was rewritten");
        } catch (const ImportError &e) {
            QVERIFY2(e.message().contains(file.shownPath), qPrintable(e.message()));
        }
        QCOMPARE(CollectorFile::readBytes(file), original + "more\r\n");
        writer.close();

        struct stat before;
        QCOMPARE(::stat(file.path.constData(), &before), 0);
        QCOMPARE(CollectorFile::blankNulBytes(file, stamp, bytes), CollectorFile::NulRewrite::Done);
        QCOMPARE(CollectorFile::readBytes(file), QByteArray("head\r\nA, B \r\nmore\r\n"));
        struct stat after;
        QCOMPARE(::stat(file.path.constData(), &after), 0);
        QCOMPARE(after.st_ino, before.st_ino);
        QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList {"a.csv"});
    }

    void fileErrorsNameTheFile()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath(QStringLiteral("sub.csv"));
        QVERIFY(QDir().mkdir(folder));
        const QString fifo = dir.filePath(QStringLiteral("pipe.csv"));
        QCOMPARE(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
        for (const QString &path : {folder, fifo, dir.filePath(QStringLiteral("missing.csv"))}) {
            try {
                CollectorFile::readBytes(entryOf(path));
                QFAIL("no error");
            } catch (const ImportError &e) {
                QVERIFY2(e.message().contains(path), qPrintable(e.message()));
            }
        }
    }

private:
    static CollectorFile::Entry entryOf(const QString &path)
    {
        return {QFile::encodeName(path), QFileInfo(path).fileName(), path};
    }
};

QTEST_GUILESS_MAIN(TstCollectorFile)
#include "tst_collectorfile.moc"
