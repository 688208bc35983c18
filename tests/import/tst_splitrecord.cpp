#include "import/CollectorRecord.h"
#include "import/StringList2.h"
#include "import/ValueReaders.h"

#include <QRandomGenerator>
#include <QTest>

class TstSplitRecord : public QObject
{
    Q_OBJECT

private slots:
    void split_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QStringList>("fields");
        using L = QStringList;
        QTest::newRow("plain record")
            << "PC1,Hard,CPU,Name,Pentium,,2004/01/02"
            << L {"PC1", "Hard", "CPU", "Name", "Pentium", "", "2004/01/02"};
        QTest::newRow("empty line") << "" << L {};
        QTest::newRow("blanks only") << "  \t " << L {};
        QTest::newRow("leading blanks and controls dropped") << " \x01\tA,  B" << L {"A", "B"};
        QTest::newRow("trailing blanks kept") << "A,B  ,C  " << L {"A", "B  ", "C  "};
        QTest::newRow("blanks inside kept")
            << "A,Office 2003 SP1,C" << L {"A", "Office 2003 SP1", "C"};
        QTest::newRow("two commas give an empty field") << "A,,C" << L {"A", "", "C"};
        QTest::newRow("leading comma") << ",A" << L {"", "A"};
        QTest::newRow("final comma gives no last field")
            << "K,Soft,Application,Word,11.0,,"
            << L {"K", "Soft", "Application", "Word", "11.0", ""};
        QTest::newRow("final comma and blanks") << "A,B, \t" << L {"A", "B"};
        QTest::newRow("quoted with comma") << "A,\"x,y\",C" << L {"A", "x,y", "C"};
        QTest::newRow("doubled quote") << "\"say \"\"hi\"\"\",B" << L {"say \"hi\"", "B"};
        QTest::newRow("empty quoted") << "\"\",B" << L {"", "B"};
        QTest::newRow("quoted keeps its blanks") << "\"  a  \",b" << L {"  a  ", "b"};
        QTest::newRow("text after closing quote starts a field")
            << "\"ab\"cd,e" << L {"ab", "cd", "e"};
        QTest::newRow("blank after closing quote") << "\"ab\" ,e" << L {"ab", "e"};
        QTest::newRow("unclosed quote runs to the end")
            << "A,\"open, text" << L {"A", "open, text"};
        QTest::newRow("unclosed quote ending in a quote pair") << "A,\"x\"\"" << L {"A", "x\""};
        QTest::newRow("tab separates") << "A\tB,C" << L {"A", "B", "C"};
        QTest::newRow("tab before comma") << "A\t,B" << L {"A", "B"};
        QTest::newRow("control character ends a field") << "A\x02x,B" << L {"A", "x", "B"};
        QTest::newRow("quote inside unquoted field") << "a\"b,c" << L {"a\"b", "c"};
        QTest::newRow("double-byte text")
            << "K,Hard,メモリ,全容量,512,MB,2004/1/2"
            << L {"K", "Hard", "メモリ", "全容量", "512", "MB", "2004/1/2"};
        QTest::newRow("half-width katakana") << "ﾌｧｲﾙ,ｱ ｲ" << L {"ﾌｧｲﾙ", "ｱ ｲ"};
        QTest::newRow("full-width blank is no separator")
            << "\u3000A,B\u3000" << L {"\u3000A", "B\u3000"};
        QTest::newRow("NUL ends the line")
            << QString("A,B") + QChar(0) + QString(",C") << L {"A", "B"};
        QTest::newRow("NUL first") << QString(QChar(0)) + QString("A") << L {};
    }
    void split()
    {
        QFETCH(QString, line);
        QFETCH(QStringList, fields);
        TStringList2 list;
        list.SplitRecord(QStringLiteral("stale,fields,here"));
        list.SplitRecord(line);
        QCOMPARE(list.fields(), fields);
        QCOMPARE(SplitRecord(line), fields);
    }

    // Random lines of the characters that matter: the splitter ends, and
    // what it returns is consistent with its input.
    void randomLines()
    {
        const QString alphabet = QStringLiteral(",\"\t \x01\x1f"
                                                "aZ9あｱ\u3000");
        QRandomGenerator rng(20240301);
        TStringList2 list;
        for (int n = 0; n < 20000; ++n) {
            QString line;
            const int len = rng.bounded(40);
            for (int i = 0; i < len; ++i)
                line += alphabet.at(rng.bounded(alphabet.size()));
            if (rng.bounded(10) == 0)
                line.insert(rng.bounded(line.size() + 1), QChar(0));
            list.SplitRecord(line);
            QVERIFY(list.count() <= line.size());
            int fieldChars = 0;
            for (const QString &f : list.fields())
                fieldChars += f.size();
            QVERIFY2(fieldChars <= line.size(), qPrintable(line));
            if (!line.contains(u'"')) {
                for (const QString &f : list.fields()) {
                    QVERIFY(!f.contains(u','));
                    QVERIFY(!f.startsWith(u' '));
                    for (QChar c : f)
                        QVERIFY(c.unicode() >= 32);
                }
            }
        }
    }

    void trimBlanks_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("trimmed");
        QTest::newRow("blanks") << "  a b  "
                                << "a b";
        QTest::newRow("controls") << "\t\x01x\r"
                                  << "x";
        QTest::newRow("full-width blank stays") << "\u3000x\u3000"
                                                << "\u3000x\u3000";
        QTest::newRow("all blank") << "   "
                                   << "";
    }
    void trimBlanks()
    {
        QFETCH(QString, text);
        QFETCH(QString, trimmed);
        QCOMPARE(TrimBlanks(text), trimmed);
    }

    void integers_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << "512" << true << 512;
        QTest::newRow("minus") << "-1" << true << -1;
        QTest::newRow("plus") << "+7" << true << 7;
        QTest::newRow("zeros") << "000000000000042" << true << 42;
        QTest::newRow("max") << "2147483647" << true << 2147483647;
        QTest::newRow("min") << "-2147483648" << true << int(-2147483648LL);
        QTest::newRow("too big") << "2147483648" << false << 0;
        QTest::newRow("far too big") << "99999999999999999999999" << false << 0;
        QTest::newRow("empty") << "" << false << 0;
        QTest::newRow("sign only") << "-" << false << 0;
        QTest::newRow("blank") << "1 " << false << 0;
        QTest::newRow("decimal") << "1.5" << false << 0;
        QTest::newRow("word") << "abc" << false << 0;
        QTest::newRow("full-width digits") << "１２" << false << 0;
    }
    void integers()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(int, value);
        const auto v = ValueReaders::integer(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(*v, value);
    }

    void decimals_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("ok");
        QTest::addColumn<double>("value");
        QTest::newRow("integer") << "3" << true << 3.0;
        QTest::newRow("fraction") << "200.7" << true << 200.7;
        QTest::newRow("leading point") << ".5" << true << 0.5;
        QTest::newRow("exponent") << "1.5E3" << true << 1500.0;
        QTest::newRow("comma is no decimal point") << "1,5" << false << 0.0;
        QTest::newRow("infinite") << "inf" << false << 0.0;
        QTest::newRow("overflow") << "1e999" << false << 0.0;
        QTest::newRow("empty") << "" << false << 0.0;
        QTest::newRow("point only") << "." << false << 0.0;
    }
    void decimals()
    {
        QFETCH(QString, text);
        QFETCH(bool, ok);
        QFETCH(double, value);
        const auto v = ValueReaders::decimal(text);
        QCOMPARE(v.has_value(), ok);
        if (ok)
            QCOMPARE(*v, value);
    }

    void scaled()
    {
        QCOMPARE(ValueReaders::scaled(1.5, 1024.0 * 1024.0).value(), 1572864);
        QCOMPARE(ValueReaders::scaled(200.7, 1024.0).value(), 205516); // 205516.8 cut
        QCOMPARE(ValueReaders::scaled(-0.9, 1.0).value(), 0);
        QVERIFY(!ValueReaders::scaled(2048.0, 1024.0 * 1024.0)); // 2 TB does not fit
    }
};

QTEST_GUILESS_MAIN(TstSplitRecord)
#include "tst_splitrecord.moc"
