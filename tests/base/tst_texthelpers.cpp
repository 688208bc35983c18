#include "base/TextHelpers.h"

#include <QTest>

using namespace Qt::StringLiterals;

class TestTextHelpers : public QObject
{
    Q_OBJECT

private slots:
    void isDigits_data();
    void isDigits();
    void parseYmd_data();
    void parseYmd();
    void ipToIp16_data();
    void ipToIp16();
    void networkAddress_data();
    void networkAddress();
    void localIpAddressIsDottedOrEmpty();
};

void TestTextHelpers::isDigits_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("expected");
    QTest::newRow("empty") << QString() << false;
    QTest::newRow("007") << u"007"_s << true;
    QTest::newRow("thousands separator") << u"1,000"_s << false;
    QTest::newRow("blank") << u"12 3"_s << false;
    QTest::newRow("sign") << u"-12"_s << false;
    QTest::newRow("decimal point") << u"1.5"_s << false;
    QTest::newRow("full-width digits") << u"１２"_s << false;
    QTest::newRow("Arabic-Indic digit") << u"\u0661"_s << false;
}

void TestTextHelpers::isDigits()
{
    QFETCH(QString, text);
    QFETCH(bool, expected);
    QCOMPARE(IsDigits(text), expected);
}

void TestTextHelpers::parseYmd_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QDate>("expected");
    const QDate zero(1899, 12, 30);
    QTest::newRow("full") << u"2005/12/10"_s << QDate(2005, 12, 10);
    QTest::newRow("short month and day") << u"2005/1/9"_s << QDate(2005, 1, 9);
    QTest::newRow("leap day") << u"2004/2/29"_s << QDate(2004, 2, 29);
    QTest::newRow("no leap day") << u"2005/2/29"_s << zero;
    QTest::newRow("dashes") << u"2005-12-10"_s << zero;
    QTest::newRow("time of day") << u"2005/12/10 12:00:00"_s << zero;
    QTest::newRow("month 13") << u"2005/13/1"_s << zero;
    QTest::newRow("empty") << QString() << zero;
    QTest::newRow("one slash") << u"2005/12"_s << zero;
    QTest::newRow("three slashes") << u"2005/12/10/1"_s << zero;
    QTest::newRow("year 0") << u"0/1/1"_s << zero;
    QTest::newRow("year 10000") << u"10000/1/1"_s << zero;
    QTest::newRow("year 9999") << u"9999/12/31"_s << QDate(9999, 12, 31);
    QTest::newRow("huge number") << u"99999999999999999999/1/1"_s << zero;
    QTest::newRow("leading zeros") << u"0002/03/04"_s << QDate(2, 3, 4);
    QTest::newRow("day 0") << u"2005/1/0"_s << zero;
    QTest::newRow("signed day") << u"2005/1/+1"_s << zero;
}

void TestTextHelpers::parseYmd()
{
    QFETCH(QString, text);
    QFETCH(QDate, expected);
    QCOMPARE(ParseYMD(text), expected);
    QCOMPARE(ZeroDate(), QDate(1899, 12, 30));
}

void TestTextHelpers::ipToIp16_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("expected");
    QTest::newRow("192.168.0.11") << u"192.168.0.11"_s << u"C0A8000B"_s;
    QTest::newRow("10.0.0.7") << u"10.0.0.7"_s << u"0A000007"_s;
    QTest::newRow("zero") << u"0.0.0.0"_s << u"00000000"_s;
    QTest::newRow("192.168.1.10") << u"192.168.1.10"_s << u"C0A8010A"_s;
    QTest::newRow("broadcast") << u"255.255.255.255"_s << u"FFFFFFFF"_s;
    QTest::newRow("three parts") << u"192.168.0"_s << QString();
    QTest::newRow("octet 256") << u"192.168.0.256"_s << QString();
    QTest::newRow("five parts") << u"1.2.3.4.5"_s << QString();
    QTest::newRow("trailing blank") << u"192.168.1.10 "_s << QString();
    QTest::newRow("blank after an inner octet") << u"192 .168.1.10"_s << QString();
    QTest::newRow("leading blanks") << u" 192.  168. 1.   10"_s << u"C0A8010A"_s;
    QTest::newRow("plus sign") << u"+192.168.1.10"_s << u"C0A8010A"_s;
    QTest::newRow("blank then sign") << u"192. +168.1.10"_s << u"C0A8010A"_s;
    QTest::newRow("minus sign") << u"192.-1.1.10"_s << QString();
    QTest::newRow("minus zero") << u"192.-0.1.10"_s << QString();
    QTest::newRow("sign alone") << u"192.+.1.10"_s << QString();
    QTest::newRow("empty part") << u"192..1.10"_s << QString();
    QTest::newRow("empty fourth part") << u"192.168.1."_s << QString();
    QTest::newRow("blank fourth part") << u"192.168.1. "_s << QString();
    QTest::newRow("leading zeros") << u"010.001.000.0255"_s << u"0A0100FF"_s;
    QTest::newRow("long zero run") << u"0000000000001.2.3.4"_s << u"01020304"_s;
    QTest::newRow("huge octet") << u"99999999999.1.1.1"_s << QString();
    QTest::newRow("hex octet") << u"0x10.1.1.1"_s << QString();
    QTest::newRow("letters") << u"a.b.c.d"_s << QString();
    QTest::newRow("empty") << QString() << QString();
    QTest::newRow("full-width digits") << u"１.2.3.4"_s << QString();
}

void TestTextHelpers::ipToIp16()
{
    QFETCH(QString, address);
    QFETCH(QString, expected);
    const QString ip16 = IPToIP16(address);
    QCOMPARE(ip16, expected);
    QVERIFY(ip16.isEmpty() || ip16.size() == 8);
}

void TestTextHelpers::networkAddress_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<QString>("mask");
    QTest::addColumn<QString>("expected");
    QTest::newRow("class C") << u"192.168.0.11"_s << u"255.255.255.0"_s << u"192.168.0.0"_s;
    QTest::newRow("class A") << u"10.1.2.3"_s << u"255.0.0.0"_s << u"10.0.0.0"_s;
    QTest::newRow("mask 0.0.0.0") << u"172.16.5.4"_s << u"0.0.0.0"_s << u"0.0.0.0"_s;
    QTest::newRow("odd mask") << u"192.168.7.200"_s << u"255.255.252.128"_s << u"192.168.4.128"_s;
    QTest::newRow("full mask") << u"1.2.3.4"_s << u"255.255.255.255"_s << u"1.2.3.4"_s;
    QTest::newRow("invalid address") << u"192.168.0"_s << u"0.0.0.0"_s << QString();
    QTest::newRow("未設定 address") << u"未設定"_s << u"255.255.255.0"_s << QString();
    QTest::newRow("invalid mask") << u"10.1.2.3"_s << u"255.0.0"_s << QString();
    QTest::newRow("blanks in octets") << u"10. 1.2.3"_s << u" 255.255.0.0"_s << u"10.1.0.0"_s;
}

void TestTextHelpers::networkAddress()
{
    QFETCH(QString, address);
    QFETCH(QString, mask);
    QFETCH(QString, expected);
    QCOMPARE(NetworkAddress(address, mask), expected);
}

void TestTextHelpers::localIpAddressIsDottedOrEmpty()
{
    // Whatever the machine's name resolves to, the answer is empty or a
    // valid dotted address (so the network selection can use it).
    const QString address = LocalIPAddress();
    QVERIFY2(address.isEmpty() || IPToIP16(address).size() == 8, qPrintable(address));
}

QTEST_GUILESS_MAIN(TestTextHelpers)
#include "tst_texthelpers.moc"
