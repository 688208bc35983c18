// The contract's texts as statement parameters, and the mark of what is
// due at the edges of today and of the days ahead.

#include "base/InputError.h"
#include "lease/LeaseContract.h"
#include "lease/LeaseDue.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TstLeaseContract : public QObject
{
    Q_OBJECT

private slots:
    void params_data();
    void params();
    void mark_data();
    void mark();
};

void TstLeaseContract::params_data()
{
    // One field typed; the others hold a valid key and nothing else. An
    // expected text starting with "!" is the message of a refused text.
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QVariant>("expected");
    const QVariant noDate(QMetaType(QMetaType::QDate)), noInt(QMetaType(QMetaType::Int));
    QTest::newRow("amount empty") << u"nengaku"_s << u""_s << QVariant(0);
    QTest::newRow("amount 007") << u"nengaku"_s << u"007"_s << QVariant(7);
    QTest::newRow("amount too large")
        << u"nengaku"_s << u"2147483648"_s
        << QVariant(u"!'2147483648' は項目 '年額' に適した整数値ではありません"_s);
    QTest::newRow("amount separator")
        << u"keiyaku_kingaku"_s << u"1,000"_s
        << QVariant(u"!'1,000' は項目 '契約金額' に適した整数値ではありません"_s);
    QTest::newRow("amount minus") << u"maebaraikin"_s << u"-5"_s
                                  << QVariant(
                                         u"!'-5' は項目 '前払金' に適した整数値ではありません"_s);
    QTest::newRow("term empty") << u"kikan_tuki"_s << u""_s << noInt;
    QTest::newRow("term") << u"kikan_tuki"_s << u"60"_s << QVariant(60);
    QTest::newRow("term letters")
        << u"kikan_tuki"_s << u"5年"_s
        << QVariant(u"!'5年' は項目 '契約期間（月）' に適した整数値ではありません"_s);
    QTest::newRow("date empty") << u"kikan_end"_s << u""_s << noDate;
    QTest::newRow("date") << u"kikan_end"_s << u"2004/1/31"_s << QVariant(QDate(2004, 1, 31));
    QTest::newRow("no date") << u"kikan_start"_s << u"2004/2/30"_s
                             << QVariant(u"!'2004/2/30' は日付または時刻ではありません"_s);
    QTest::newRow("text as typed")
        << u"Bukkenmei"_s << u" ﾉｰﾄPC 'x' "_s << QVariant(u" ﾉｰﾄPC 'x' "_s);
    QTest::newRow("company empty")
        << u"lease"_s << u" "_s << QVariant(u"!項目 'リース会社' の値が必要です"_s);
    QTest::newRow("number empty") << u"lease_No"_s << u""_s
                                  << QVariant(u"!項目 '契約№' の値が必要です"_s);
    // Typed text is stored as CP932 holds it, never cut.
    QTest::newRow("company longer than its width")
        << u"lease"_s << u"あいうえおかきくけこさ"_s
        << QVariant(u"!「リース会社」は半角20文字（全角10文字）までです"_s);
    QTest::newRow("company at its width")
        << u"lease"_s << u"あいうえおかきくけこ"_s << QVariant(u"あいうえおかきくけこ"_s);
    QTest::newRow("department longer than its width")
        << u"keiyaku_bu"_s << u"情報システム部"_s
        << QVariant(u"!「契約部門（部）」は半角10文字（全角5文字）までです"_s);
    QTest::newRow("wave dash as its CP932 twin")
        << u"Bukkenmei"_s << u"2F\u301C3F"_s << QVariant(u"2F\uFF5E3F"_s);
    QTest::newRow("character CP932 lacks")
        << u"urinusi"_s << u"Caf\u00E9"_s
        << QVariant(u"!「売　主」に Shift-JIS で表せない文字「\u00E9」(U+00E9) があります"_s);
}

void TstLeaseContract::params()
{
    QFETCH(QString, column);
    QFETCH(QString, typed);
    QFETCH(QVariant, expected);
    LeaseContract::Texts texts {{u"lease"_s, u"A社"_s}, {u"lease_No"_s, u"1"_s}};
    texts.insert(column, typed);
    const QDateTime now(QDate(2026, 3, 15), QTime(10, 0));
    QVariant result;
    try {
        const QVariantMap params = LeaseContract::SetLeaseParams(texts, now);
        QCOMPARE(params.size(), LeaseContract::fields().size() + 1);
        QCOMPARE(params.value(u"UpdateTime"_s).toDateTime(), now);
        result = params.value(column);
    } catch (const InputError &e) {
        result = u'!' + e.message();
    }
    QCOMPARE(result.isNull(), expected.isNull());
    QCOMPARE(result, expected);
}

void TstLeaseContract::mark_data()
{
    QTest::addColumn<int>("endInDays"); // from today; 9999: no end date
    QTest::addColumn<bool>("pcInService");
    QTest::addColumn<int>("within");
    QTest::addColumn<QString>("mark");
    QTest::newRow("ends today") << 0 << false << 90 << u"期限間近"_s;
    QTest::newRow("last day of 90") << 89 << true << 90 << u"期限間近"_s;
    QTest::newRow("day after the 90") << 90 << true << 90 << u""_s;
    QTest::newRow("within 10") << 9 << false << 10 << u"期限間近"_s;
    QTest::newRow("within 0") << 0 << true << 0 << u""_s;
    QTest::newRow("ended, PC in service") << -1 << true << 90 << u"期限切れ"_s;
    QTest::newRow("ended, no PC in service") << -1 << false << 90 << u""_s;
    QTest::newRow("no end date") << 9999 << true << 90 << u""_s;
}

void TstLeaseContract::mark()
{
    QFETCH(int, endInDays);
    QFETCH(bool, pcInService);
    QFETCH(int, within);
    QFETCH(QString, mark);
    const QDate today(2026, 12, 30);
    const QDate end = endInDays == 9999 ? QDate() : today.addDays(endInDays);
    QCOMPARE(LeaseDue::markText(LeaseDue::markOf(end, pcInService, today, within)), mark);
}

QTEST_GUILESS_MAIN(TstLeaseContract)
#include "tst_leasecontract.moc"
