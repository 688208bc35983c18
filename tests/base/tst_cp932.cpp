#include "base/Cp932.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestCp932 : public QObject
{
    Q_OBJECT

private slots:
    void roundTrip_data();
    void roundTrip();
    void truncate_data();
    void truncate();
    void unencodableCountsAsQuestionMark();
    void invalidBytesDoNotCrash();
};

void TestCp932::roundTrip_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QByteArray>("bytes");
    QTest::newRow("ascii") << u"PC-01"_s << QByteArray("PC-01");
    QTest::newRow("full-width") << u"（なし）"_s << QByteArray::fromHex("816982c882b5816a");
    QTest::newRow("half-width katakana") << u"ﾌｧｲﾙ"_s << QByteArray::fromHex("cca7b2d9");
    QTest::newRow("NEC special") << u"①"_s << QByteArray::fromHex("8740");
    QTest::newRow("IBM extension") << u"髙"_s << QByteArray::fromHex("fbfc");
    QTest::newRow("wave dash") << u"～"_s << QByteArray::fromHex("8160");
    QTest::newRow("mixed") << u"ｱA亜"_s << QByteArray::fromHex("b141889f");
}

void TestCp932::roundTrip()
{
    QFETCH(QString, text);
    QFETCH(QByteArray, bytes);
    QCOMPARE(Cp932::encode(text), bytes);
    QCOMPARE(Cp932::decode(bytes), text);
    QCOMPARE(Cp932::byteLength(text), bytes.size());
}

void TestCp932::truncate_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("fits") << u"あいう"_s << 6 << u"あいう"_s;
    QTest::newRow("odd cut of full-width") << u"あいう"_s << 5 << u"あい"_s;
    QTest::newRow("one byte of full-width") << u"あ"_s << 1 << QString();
    QTest::newRow("half-width keeps odd byte") << u"ｱｲｳｴ"_s << 3 << u"ｱｲｳ"_s;
    QTest::newRow("half then full at odd") << u"ｱあい"_s << 4 << u"ｱあ"_s;
    QTest::newRow("half then full at even") << u"ｱあい"_s << 5 << u"ｱあい"_s;
    QTest::newRow("full then half") << u"あｱい"_s << 3 << u"あｱ"_s;
    QTest::newRow("ascii") << u"ABCDEFGH"_s << 5 << u"ABCDE"_s;
    QTest::newRow("zero") << u"ABC"_s << 0 << QString();
    QTest::newRow("negative") << u"ABC"_s << -1 << QString();
    QTest::newRow("empty") << QString() << 4 << QString();
    QTest::newRow("32-byte key") << u"パソコン管理台帳のキー１２３４５６７８"_s << 32
                                 << u"パソコン管理台帳のキー１２３４５"_s;
}

void TestCp932::truncate()
{
    QFETCH(QString, text);
    QFETCH(int, maxBytes);
    QFETCH(QString, expected);
    const QString cut = Cp932::truncate(text, maxBytes);
    QCOMPARE(cut, expected);
    QVERIFY(Cp932::byteLength(cut) <= qMax(maxBytes, 0));
}

void TestCp932::unencodableCountsAsQuestionMark()
{
    // A character the code page lacks is written as "?" (not as a two-byte
    // substitute) and counts one byte; an emoji is one character, not two.
    const QString text = u"a€b😀c"_s;
    QCOMPARE(Cp932::encode(text), QByteArray("a?b?c"));
    QCOMPARE(Cp932::byteLength(text), 5);
    QCOMPARE(Cp932::truncate(text, 4), u"a€b😀"_s);
    QCOMPARE(Cp932::truncate(text, 3), u"a€b"_s);
    QCOMPARE(Cp932::encode(u"あ€"_s), QByteArray::fromHex("82a03f"));
}

void TestCp932::invalidBytesDoNotCrash()
{
    // A lone lead byte at the end is dropped, stray bytes do not stop the rest.
    QCOMPARE(Cp932::decode(QByteArray::fromHex("82a082")), u"あ"_s);
    const QString text = Cp932::decode(QByteArray::fromHex("41ff42"));
    QVERIFY(text.startsWith(u'A'));
    QVERIFY(text.endsWith(u'B'));
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
