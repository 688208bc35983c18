#include "base/Cp932.h"
#include "base/EntryText.h"
#include "base/InputError.h"

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
    void typedText_data();
    void typedText();
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

// What a user types for a stored value: CP932 twins in place of their
// characters, other characters CP932 lacks refused, the width in bytes
// (a full-width character two, a half-width katakana one) never exceeded.
void TestCp932::typedText_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("maxBytes");
    QTest::addColumn<QString>("expected"); // "!" and the message: refused
    QTest::newRow("wave dash") << u"2F\u301C3F"_s << 0 << u"2F\uFF5E3F"_s;
    QTest::newRow("double vertical line") << u"\u2016"_s << 0 << u"\u2225"_s;
    QTest::newRow("minus sign") << u"\u2212"_s << 0 << u"\uFF0D"_s;
    QTest::newRow("cent sign") << u"\u00A2"_s << 0 << u"\uFFE0"_s;
    QTest::newRow("pound sign") << u"\u00A3"_s << 0 << u"\uFFE1"_s;
    QTest::newRow("not sign") << u"\u00AC"_s << 0 << u"\uFFE2"_s;
    QTest::newRow("em dash") << u"\u2014"_s << 0 << u"\u2015"_s;
    QTest::newRow("twins count in the width") << u"\u301C\u301C"_s << 4 << u"\uFF5E\uFF5E"_s;
    QTest::newRow("emoji")
        << u"PC\U0001F600"_s << 0
        << u"!「欄」に Shift-JIS で表せない文字「\U0001F600」(U+1F600) があります"_s;
    QTest::newRow("accent") << u"Caf\u00E9"_s << 0
                            << u"!「欄」に Shift-JIS で表せない文字「\u00E9」(U+00E9) があります"_s;
    QTest::newRow("full-width at the width") << u"情報システム"_s << 12 << u"情報システム"_s;
    QTest::newRow("full-width over the width")
        << u"情報システム部"_s << 12 << u"!「欄」は半角12文字（全角6文字）までです"_s;
    QTest::newRow("half-width katakana one byte") << u"ｼｽﾃﾑｶ"_s << 5 << u"ｼｽﾃﾑｶ"_s;
    QTest::newRow("ascii over the width")
        << u"ABCDEF"_s << 5 << u"!「欄」は半角5文字（全角2文字）までです"_s;
}

void TestCp932::typedText()
{
    QFETCH(QString, typed);
    QFETCH(int, maxBytes);
    QFETCH(QString, expected);
    QString result;
    try {
        result = EntryText::checked(u"欄"_s, typed, maxBytes);
    } catch (const InputError &e) {
        result = u'!' + e.message();
    }
    QCOMPARE(result, expected);
}

QTEST_GUILESS_MAIN(TestCp932)
#include "tst_cp932.moc"
