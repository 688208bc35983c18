// Typed dates: the digit shorthand, the two-digit-year window and the two
// error texts; the Japanese era text at the first day of every era.

#include "base/DateEntry.h"
#include "base/JapaneseEra.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestDateEntry : public QObject
{
    Q_OBJECT

private slots:
    void normalize_data();
    void normalize();
    void wareki_data();
    void wareki();
};

void TestDateEntry::normalize_data()
{
    // Typed on 2026/03/15. An expected text starting with "!" is the error
    // message of a refused text.
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("expected");
    QTest::newRow("month and day") << u"0905"_s << u"2026/09/05"_s;
    QTest::newRow("two-digit year") << u"020905"_s << u"2002/09/05"_s;
    QTest::newRow("eight digits") << u"20020905"_s << u"2002/09/05"_s;
    QTest::newRow("slashes") << u"2002/9/5"_s << u"2002/09/05"_s;
    QTest::newRow("time dropped") << u"2002/09/05 10:30"_s << u"2002/09/05"_s;
    QTest::newRow("window end") << u"75/1/1"_s << u"2075/01/01"_s;
    QTest::newRow("window start") << u"76/1/1"_s << u"1976/01/01"_s;
    QTest::newRow("99") << u"99/1/1"_s << u"1999/01/01"_s;
    QTest::newRow("49") << u"49/1/1"_s << u"2049/01/01"_s;
    QTest::newRow("too short") << u"abc"_s << u"!abcは日付ではありません"_s;
    QTest::newRow("one wide character") << u"日"_s << u"!日は日付ではありません"_s;
    QTest::newRow("no leap day") << u"0229"_s << u"!'2026/02/29' は日付または時刻ではありません"_s;
    QTest::newRow("month 13") << u"20021305"_s << u"!'2002/13/05' は日付または時刻ではありません"_s;
    QTest::newRow("five digits") << u"12345"_s << u"!'12345' は日付または時刻ではありません"_s;
    QTest::newRow("bad time") << u"2002/09/05 25:00"_s
                              << u"!'2002/09/05 25:00' は日付または時刻ではありません"_s;
    QTest::newRow("wide digits") << u"２００２/９/５"_s
                                 << u"!'２００２/９/５' は日付または時刻ではありません"_s;
    QTest::newRow("quote and percent")
        << u"'%1%'"_s << u"!''%1%'' は日付または時刻ではありません"_s;
}

void TestDateEntry::normalize()
{
    QFETCH(QString, typed);
    QFETCH(QString, expected);
    QString result;
    try {
        result = NormalizeDateText(typed, QDate(2026, 3, 15));
    } catch (const InputError &e) {
        result = u'!' + e.message();
        // Short texts are the one DateError; the rest are conversion errors.
        QCOMPARE(dynamic_cast<const DateError *>(&e) != nullptr,
                 expected.endsWith(u"は日付ではありません"_s));
    }
    QCOMPARE(result, expected);
}

void TestDateEntry::wareki_data()
{
    QTest::addColumn<QDate>("date");
    QTest::addColumn<QString>("expected");
    QTest::newRow("before Meiji") << QDate(1868, 9, 7) << u"1868年"_s;
    QTest::newRow("Meiji 1") << QDate(1868, 9, 8) << u"明治01年（1868）"_s;
    QTest::newRow("Meiji 45") << QDate(1912, 7, 29) << u"明治45年（1912）"_s;
    QTest::newRow("Taisho 1") << QDate(1912, 7, 30) << u"大正01年（1912）"_s;
    QTest::newRow("Taisho 15") << QDate(1926, 12, 24) << u"大正15年（1926）"_s;
    QTest::newRow("Showa 1") << QDate(1926, 12, 25) << u"昭和01年（1926）"_s;
    QTest::newRow("Showa 64") << QDate(1989, 1, 7) << u"昭和64年（1989）"_s;
    QTest::newRow("Heisei 1") << QDate(1989, 1, 8) << u"平成01年（1989）"_s;
    QTest::newRow("Heisei 10") << QDate(1998, 7, 5) << u"平成10年（1998）"_s;
    QTest::newRow("Heisei 31") << QDate(2019, 4, 30) << u"平成31年（2019）"_s;
    QTest::newRow("Reiwa 1") << QDate(2019, 5, 1) << u"令和01年（2019）"_s;
    QTest::newRow("Reiwa 8") << QDate(2026, 1, 1) << u"令和08年（2026）"_s;
}

void TestDateEntry::wareki()
{
    QFETCH(QDate, date);
    QFETCH(QString, expected);
    QCOMPARE(JapaneseEra::warekiText(date), expected);
}

QTEST_GUILESS_MAIN(TestDateEntry)
#include "tst_dateentry.moc"
