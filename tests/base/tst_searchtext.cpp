#include "base/SearchText.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestSearchText : public QObject
{
    Q_OBJECT

private slots:
    void matching_data();
    void matching();
};

void TestSearchText::matching_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QStringList>("fields");
    QTest::addColumn<bool>("expected");

    QTest::newRow("half-width kana finds katakana")
        << u"ﾔﾏﾀﾞ"_s << QStringList {u"ヤマダ太郎"_s} << true;
    QTest::newRow("hiragana finds half-width kana")
        << u"やまだ"_s << QStringList {u"ﾔﾏﾀﾞ"_s} << true;
    QTest::newRow("katakana finds hiragana") << u"ヤマダ"_s << QStringList {u"やまだ"_s} << true;
    QTest::newRow("voiced mark counts") << u"ﾔﾏﾀ"_s << QStringList {u"ヤマダ"_s} << false;
    QTest::newRow("full-width letters and digits")
        << u"ＡＢＣ１"_s << QStringList {u"abc1"_s} << true;
    QTest::newRow("lower case finds full-width")
        << u"abc1"_s << QStringList {u"ＡＢＣ１２"_s} << true;
    QTest::newRow("long vowel mark") << u"ｻｰﾊﾞｰ"_s << QStringList {u"サーバー室"_s} << true;
    QTest::newRow("MAC colons finds dashes")
        << u"00:11:22:AA:BB:CC"_s << QStringList {u"00-11-22-aa-bb-cc"_s} << true;
    QTest::newRow("MAC dashes finds colons")
        << u"00-11-22-aa-bb-cc"_s << QStringList {u"00:11:22:AA:BB:CC"_s} << true;
    QTest::newRow("part of a MAC") << u"aa.bb.cc"_s << QStringList {u"00-11-22-AA-BB-CC"_s} << true;
    QTest::newRow("MAC digits alone")
        << u"001122aabbcc"_s << QStringList {u"00-11-22-AA-BB-CC"_s} << true;
    QTest::newRow("dotted MAC") << u"0011.22aa.bbcc"_s << QStringList {u"00:11:22:AA:BB:CC"_s}
                                << true;
    QTest::newRow("IP is no MAC") << u"00-11-22"_s << QStringList {u"10.0.11.22"_s} << false;
    QTest::newRow("IP by its start") << u"192.168.1"_s << QStringList {u"192.168.10.5"_s} << true;
    QTest::newRow("two words in two columns")
        << u"総務 ﾔﾏﾀﾞ"_s << QStringList {u"総務部"_s, u"山田 ヤマダ"_s} << true;
    QTest::newRow("full-width space between words")
        << u"総務　やまだ"_s << QStringList {u"総務部"_s, u"ヤマダ"_s} << true;
    QTest::newRow("every word must occur")
        << u"総務 suzuki"_s << QStringList {u"総務部"_s, u"ヤマダ"_s} << false;
    QTest::newRow("word does not span columns")
        << u"部ヤマ"_s << QStringList {u"総務部"_s, u"ヤマダ"_s} << false;
    QTest::newRow("blank query matches") << u" 　"_s << QStringList {u"x"_s} << true;
}

void TestSearchText::matching()
{
    QFETCH(QString, query);
    QFETCH(QStringList, fields);
    QFETCH(bool, expected);
    QStringList texts;
    for (const QString &field : std::as_const(fields))
        texts.append(SearchText::fieldText(field));
    QCOMPARE(SearchText::Query(query).matchesRecord(texts), expected);
}

QTEST_APPLESS_MAIN(TestSearchText)
#include "tst_searchtext.moc"
