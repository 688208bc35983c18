#include "base/AppSettings.h"
#include "base/Cp932.h"
#include "base/IniFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestAppSettings : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void firstStartDefaults();
    void statusShownOnceBetweenDbAndSort();
    void valuesRead();
    void notSetAddressReplaced_data();
    void notSetAddressReplaced();
    void writeOrder();
    void secondNetworkWrittenFromItsOwnValues();
    void appliDelNeverWritten();
    void versionWritten();

private:
    void writeFile(const QString &text);
    QStringList keyOrder() const; // "Section/Key" lines of the file

    QTemporaryDir m_dir;
    QString m_path;
};

void TestAppSettings::init()
{
    m_path = m_dir.filePath(QStringLiteral("Orvane.INI"));
    QFile::remove(m_path);
}

void TestAppSettings::writeFile(const QString &text)
{
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(Cp932::encode(text));
}

QStringList TestAppSettings::keyOrder() const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList keys;
    QString section;
    for (const QString &line : Cp932::decode(file.readAll()).split(u"\r\n"_s)) {
        if (line.startsWith(u'['))
            section = line.mid(1, line.size() - 2);
        else if (line.contains(u'='))
            keys << section + u'/' + line.left(line.indexOf(u'='));
    }
    return keys;
}

void TestAppSettings::firstStartDefaults()
{
    AppSettings settings(u"/opt/orvane/PCDB"_s);
    settings.readAtStart(IniFile(m_path), {}, [] { return u"192.168.10.5"_s; });

    QCOMPARE(settings.db.type, u"local"_s);
    QVERIFY(settings.db.isLocal());
    QCOMPARE(settings.db.folder, u"/opt/orvane/PCDB"_s);
    QCOMPARE(settings.db.port, 12005);
    QVERIFY(settings.db.ip.isEmpty() && settings.db.user.isEmpty() && settings.db.pass.isEmpty());
    for (const GridSettings *grid : {&settings.pcGrid, &settings.appliPcGrid}) {
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(grid->sort.komoku[i], u"（なし）"_s);
            QCOMPARE(grid->sort.jyun[i], u"昇順"_s);
        }
        QCOMPARE(grid->fontSize, 0);
    }
    QCOMPARE(settings.pcGrid.columns.order(), AppSettings::pcGridFields());
    QCOMPARE(settings.pcGrid.columns.order().size(), 38);
    QCOMPARE(settings.appliPcGrid.columns.order(), AppSettings::appliPcGridFields());
    for (const QString &field : AppSettings::pcGridFields())
        QVERIFY(settings.pcGrid.columns.isVisible(field));
    QCOMPARE(settings.tekkyoHiHyoji, false);
    QCOMPARE(settings.jidoKosin, true);
    QCOMPARE(settings.appliDel, true);
    QCOMPARE(settings.net.ipAddr, u"192.168.10.5"_s);
    QCOMPARE(settings.net.subNetMask, u"0.0.0.0"_s);
    QCOMPARE(settings.net.ipAddr2, u"192.168.10.5"_s);
    QCOMPARE(settings.net.subNetMask2, u"0.0.0.0"_s);
}

void TestAppSettings::statusShownOnceBetweenDbAndSort()
{
    writeFile(u"[DB]\r\ntype=remote\r\npass=secret\r\n[Sort]\r\nKomoku1=ホスト名\r\n"_s);
    AppSettings settings(u"/data/PCDB"_s);
    QStringList texts;
    settings.readAtStart(
        IniFile(m_path),
        [&](const QString &text) {
            texts << text;
            // At this moment section DB has been read and section Sort has not.
            QCOMPARE(settings.db.type, u"remote"_s);
            QCOMPARE(settings.db.pass, u"secret"_s);
            QCOMPARE(settings.pcGrid.sort.komoku[0], u"（なし）"_s);
        },
        [] { return u"10.0.0.1"_s; });
    QCOMPARE(texts, QStringList {u"バージョンのチェック"_s});
    QCOMPARE(settings.pcGrid.sort.komoku[0], u"ホスト名"_s);
}

void TestAppSettings::valuesRead()
{
    writeFile(u"[db]\r\nTYPE=remote\r\nfolder=/srv/pcdb\r\nip=10.1.1.1\r\nport=5432\r\n"
              "name=orvane\r\nuser=admin\r\npass=p=w\r\n"
              "[Sort]\r\nKomoku2=IPアドレス\r\nJyun2=降順\r\n"
              "[HyojiKomoku]\r\nMac=0\r\n[HyojiColumnWidth]\r\nHost=200\r\n"
              "[HyojiColumnIndex]\r\nKey=1\r\nKanriNo=0\r\n"
              "[PCGrid]\r\nFontSize=12\r\n[Tekkyo]\r\nHiHyoji=1\r\n"
              "[Option]\r\nJidoKosin=0\r\nAppliDel=0\r\n"
              "[AppliPCSort]\r\nKomoku3=BU\r\n[AppliPCKomoku]\r\nHOST=0\r\n"
              "[AppliPCColumnWidth]\r\nKEY=90\r\n[AppliPC]\r\nFontSize=abc\r\n"
              "[Net]\r\nIPaddr=172.16.0.0\r\nSubNetMask=255.255.0.0\r\n"_s);
    AppSettings settings(u"/data/PCDB"_s);
    settings.readAtStart(IniFile(m_path), {}, [] { return u"10.9.9.9"_s; });
    QVERIFY(settings.db.isRemote());
    QCOMPARE(settings.db.folder, u"/srv/pcdb"_s);
    QCOMPARE(settings.db.port, 5432);
    QCOMPARE(settings.db.pass, u"p=w"_s);
    QCOMPARE(settings.pcGrid.sort.komoku[1], u"IPアドレス"_s);
    QCOMPARE(settings.pcGrid.sort.jyun[1], u"降順"_s);
    QVERIFY(!settings.pcGrid.columns.isVisible(u"Mac"_s));
    QCOMPARE(settings.pcGrid.columns.width(u"Host"_s), 200);
    QCOMPARE(settings.pcGrid.columns.order().mid(0, 2), (QStringList {u"KanriNo"_s, u"Key"_s}));
    QCOMPARE(settings.pcGrid.fontSize, 12);
    QCOMPARE(settings.tekkyoHiHyoji, true);
    QCOMPARE(settings.jidoKosin, false);
    QCOMPARE(settings.appliDel, false);
    QCOMPARE(settings.appliPcGrid.sort.komoku[2], u"BU"_s);
    QVERIFY(!settings.appliPcGrid.columns.isVisible(u"HOST"_s));
    QCOMPARE(settings.appliPcGrid.columns.width(u"KEY"_s), 90);
    QCOMPARE(settings.appliPcGrid.fontSize, 0);
    QCOMPARE(settings.net.ipAddr, u"172.16.0.0"_s);
    QCOMPARE(settings.net.subNetMask, u"255.255.0.0"_s);
    QCOMPARE(settings.net.ipAddr2, u"10.9.9.9"_s);
}

void TestAppSettings::notSetAddressReplaced_data()
{
    QTest::addColumn<QString>("net");
    QTest::addColumn<QString>("ipAddr");
    QTest::addColumn<QString>("ipAddr2");
    QTest::addColumn<int>("lookups");
    QTest::newRow("missing") << QString() << u"10.0.0.1"_s << u"10.0.0.1"_s << 1;
    QTest::newRow("stored 未設定")
        << u"IPaddr=未設定\r\nIPaddr2=未設定\r\n"_s << u"10.0.0.1"_s << u"10.0.0.1"_s << 1;
    QTest::newRow("second only") << u"IPaddr=192.168.0.0\r\n"_s << u"192.168.0.0"_s << u"10.0.0.1"_s
                                 << 1;
    QTest::newRow("both set") << u"IPaddr=1.2.3.4\r\nIPaddr2=5.6.7.8\r\n"_s << u"1.2.3.4"_s
                              << u"5.6.7.8"_s << 0;
}

void TestAppSettings::notSetAddressReplaced()
{
    QFETCH(QString, net);
    writeFile(u"[Net]\r\n"_s + net);
    int lookups = 0;
    AppSettings settings(u"/data/PCDB"_s);
    settings.readAtStart(IniFile(m_path), {}, [&] {
        ++lookups;
        return u"10.0.0.1"_s;
    });
    QTEST(settings.net.ipAddr, "ipAddr");
    QTEST(settings.net.ipAddr2, "ipAddr2");
    QTEST(lookups, "lookups");
}

void TestAppSettings::writeOrder()
{
    AppSettings settings(u"/data/PCDB"_s);
    IniFile ini(m_path);
    settings.readAtStart(ini, {}, [] { return u"10.0.0.1"_s; });
    settings.writeAtClose(ini);
    QVERIFY(ini.updateFile());

    QStringList expected;
    for (const QString &key :
         {u"Komoku1"_s, u"Jyun1"_s, u"Komoku2"_s, u"Jyun2"_s, u"Komoku3"_s, u"Jyun3"_s})
        expected << u"Sort/"_s + key;
    for (const QString &section : {u"HyojiKomoku"_s, u"HyojiColumnIndex"_s, u"HyojiColumnWidth"_s})
        for (const QString &field : AppSettings::pcGridFields())
            expected << section + u'/' + field;
    expected << u"PCGrid/FontSize"_s << u"Tekkyo/HiHyoji"_s << u"Option/JidoKosin"_s;
    for (const QString &key :
         {u"Komoku1"_s, u"Jyun1"_s, u"Komoku2"_s, u"Jyun2"_s, u"Komoku3"_s, u"Jyun3"_s})
        expected << u"AppliPCSort/"_s + key;
    for (const QString &section :
         {u"AppliPCKomoku"_s, u"AppliPCColumnIndex"_s, u"AppliPCColumnWidth"_s})
        for (const QString &field : AppSettings::appliPcGridFields())
            expected << section + u'/' + field;
    expected << u"AppliPC/FontSize"_s << u"Net/IPaddr"_s << u"Net/SubNetMask"_s << u"Net/IPaddr2"_s
             << u"Net/SubNetMask2"_s;
    for (const QString &key :
         {u"type"_s, u"folder"_s, u"ip"_s, u"port"_s, u"name"_s, u"user"_s, u"pass"_s})
        expected << u"DB/"_s + key;
    QCOMPARE(keyOrder(), expected);

    // Read back: the same settings.
    AppSettings again(u"/elsewhere/PCDB"_s);
    again.readAtStart(IniFile(m_path), {}, [] { return u"10.9.9.9"_s; });
    QCOMPARE(again.db.folder, u"/data/PCDB"_s);
    QCOMPARE(again.net.ipAddr, u"10.0.0.1"_s);
    QCOMPARE(again.pcGrid.sort.jyun[2], u"昇順"_s);
    QCOMPARE(again.pcGrid.columns.order(), AppSettings::pcGridFields());
}

void TestAppSettings::secondNetworkWrittenFromItsOwnValues()
{
    AppSettings settings(u"/data/PCDB"_s);
    settings.net = {u"192.168.1.0"_s, u"255.255.255.0"_s, u"10.20.0.0"_s, u"255.255.0.0"_s};
    IniFile ini(m_path);
    settings.writeAtClose(ini);
    QCOMPARE(ini.readString(u"Net"_s, u"IPaddr"_s, QString()), u"192.168.1.0"_s);
    QCOMPARE(ini.readString(u"Net"_s, u"SubNetMask"_s, QString()), u"255.255.255.0"_s);
    QCOMPARE(ini.readString(u"Net"_s, u"IPaddr2"_s, QString()), u"10.20.0.0"_s);
    QCOMPARE(ini.readString(u"Net"_s, u"SubNetMask2"_s, QString()), u"255.255.0.0"_s);
}

void TestAppSettings::appliDelNeverWritten()
{
    writeFile(u"[Option]\r\nJidoKosin=1\r\n"_s);
    AppSettings settings(u"/data/PCDB"_s);
    {
        IniFile ini(m_path);
        settings.readAtStart(ini, {}, [] { return u"10.0.0.1"_s; });
        settings.appliDel = false; // turned off in the options window
        settings.jidoKosin = false;
        settings.writeAtClose(ini);
        QVERIFY(ini.updateFile());
    }
    IniFile ini(m_path);
    QVERIFY(!ini.valueExists(u"Option"_s, u"AppliDel"_s));
    QCOMPARE(ini.readBool(u"Option"_s, u"JidoKosin"_s, true), false);
    AppSettings next(u"/data/PCDB"_s);
    next.readAtStart(ini, {}, [] { return u"10.0.0.1"_s; });
    QCOMPARE(next.appliDel, true);
}

void TestAppSettings::versionWritten()
{
    writeFile(u"[Orvane]\r\nVer=1.2\r\n"_s);
    IniFile ini(m_path);
    AppSettings::writeVersion(ini);
    QVERIFY(ini.updateFile());
    QCOMPARE(keyOrder(), QStringList {u"Orvane/Ver"_s});
    QCOMPARE(IniFile(m_path).readFloat(u"orvane"_s, u"ver"_s, 0), 1.34);
    QFile file(m_path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QCOMPARE(file.readAll(), QByteArray("[Orvane]\r\nVer=1.34\r\n"));
}

QTEST_GUILESS_MAIN(TestAppSettings)
#include "tst_appsettings.moc"
