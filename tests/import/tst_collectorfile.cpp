#include "ImportTestSupport.h"
#include "import/CollectorFile.h"
#include "import/ImportError.h"

#include <QTemporaryDir>
#include <QTest>
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
        QCOMPARE(CollectorFile::list(dir.path()),
                 QStringList({".hidden.csv", "A.CSV", "b.csv", "c.Csv", "sub.csv"}));
        QCOMPARE(CollectorFile::list(dir.filePath(QStringLiteral("missing"))), QStringList());
        QCOMPARE(CollectorFile::list(QString()), QStringList());
    }

    void readAndRewrite()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("a.csv"));
        const QByteArray original("head\r\nA,\0B\0\r\n", 13);
        SampleFile::writeFile(path, original);
        QByteArray bytes = CollectorFile::readBytes(path);
        QCOMPARE(bytes, original);
        QVERIFY(CollectorFile::replaceNulBytes(bytes));
        QCOMPARE(bytes, QByteArray("head\r\nA, B \r\n"));
        QVERIFY(!CollectorFile::replaceNulBytes(bytes));
        CollectorFile::writeBytes(path, bytes);
        QCOMPARE(CollectorFile::readBytes(path), QByteArray("head\r\nA, B \r\n"));
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
                CollectorFile::readBytes(path);
                QFAIL("no error");
            } catch (const ImportError &e) {
                QVERIFY2(e.message().contains(path), qPrintable(e.message()));
            }
        }
    }

    void unwritableFileKeepsItsBytes()
    {
        QTemporaryDir dir;
        const QString readOnly = dir.filePath(QStringLiteral("ro.csv"));
        SampleFile::writeFile(readOnly, "abc");
        QVERIFY(QFile::setPermissions(readOnly, QFile::ReadOwner));
        if (QFile(readOnly).open(QIODevice::ReadWrite))
            QSKIP("running with rights that ignore file permissions");
        QVERIFY_THROWS_EXCEPTION(ImportError, CollectorFile::writeBytes(readOnly, "abc"));
        QCOMPARE(CollectorFile::readBytes(readOnly), QByteArray("abc"));
    }
};

QTEST_GUILESS_MAIN(TstCollectorFile)
#include "tst_collectorfile.moc"
