#include "base/Cp932.h"
#include "base/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestIniFile : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void missingFileGivesDefaults();
    void namesMatchWithoutCase();
    void integers_data();
    void integers();
    void booleansAndFloats();
    void unknownLinesAndSpellingKept();
    void newKeysAndSectionsAppended();
    void japaneseRoundTripInCp932();
    void valueOutsideCp932ReadsBack();
    void readsLfAndWritesCrlf();
    void lineBreakInValueStaysOnOneLine();
    void writeFailureReported();
    void unreadableFileNotOverwritten();
    void endlessFileRefused();

private:
    QString writeFile(const QByteArray &bytes);
    static QByteArray readBytes(const QString &path);

    QTemporaryDir m_dir;
    QString m_path;
};

void TestIniFile::init()
{
    QVERIFY(m_dir.isValid());
    m_path = m_dir.filePath(QStringLiteral("Orvane.INI"));
    QFile::remove(m_path);
}

QString TestIniFile::writeFile(const QByteArray &bytes)
{
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    file.write(bytes);
    return m_path;
}

QByteArray TestIniFile::readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void TestIniFile::missingFileGivesDefaults()
{
    IniFile ini(m_path);
    QVERIFY(!ini.readFailed());
    QCOMPARE(ini.readString(u"DB"_s, u"type"_s, u"local"_s), u"local"_s);
    QCOMPARE(ini.readInteger(u"DB"_s, u"port"_s, 12005), 12005);
    QCOMPARE(ini.readBool(u"Option"_s, u"JidoKosin"_s, true), true);
    QVERIFY(!ini.sectionExists(u"DB"_s));
    QVERIFY(!QFile::exists(m_path)); // nothing written before updateFile()
}

void TestIniFile::namesMatchWithoutCase()
{
    writeFile("[db]\r\nTYPE=remote\r\n  Port = 5432  \r\n[Sort]\r\nkomoku1=Key\r\n");
    IniFile ini(m_path);
    QCOMPARE(ini.readString(u"DB"_s, u"type"_s, QString()), u"remote"_s);
    QCOMPARE(ini.readInteger(u"Db"_s, u"PORT"_s, 0), 5432);
    QVERIFY(ini.sectionExists(u"SORT"_s));
    QVERIFY(ini.valueExists(u"sort"_s, u"Komoku1"_s));
    QVERIFY(!ini.valueExists(u"sort"_s, u"Komoku2"_s));

    // A write with another spelling replaces the value, not adds a key.
    ini.writeString(u"DB"_s, u"Type"_s, u"local"_s);
    QVERIFY(ini.updateFile());
    const QByteArray bytes = readBytes(m_path);
    QVERIFY(bytes.contains("TYPE=local\r\n"));
    QCOMPARE(bytes.count("TYPE="), 1);
    QVERIFY(!bytes.contains("Type="));
    QCOMPARE(IniFile(m_path).readString(u"db"_s, u"type"_s, QString()), u"local"_s);
}

void TestIniFile::integers_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("expected");
    QTest::newRow("plain") << QByteArray("120") << 120;
    QTest::newRow("negative") << QByteArray("-1200") << -1200;
    QTest::newRow("plus") << QByteArray("+7") << 7;
    QTest::newRow("blanks around") << QByteArray("  42 ") << 42;
    QTest::newRow("empty") << QByteArray("") << -99;
    QTest::newRow("letters") << QByteArray("abc") << -99;
    QTest::newRow("trailing garbage") << QByteArray("12px") << -99;
    QTest::newRow("decimal point") << QByteArray("1.5") << -99;
    QTest::newRow("hex") << QByteArray("0x10") << -99;
    QTest::newRow("too large") << QByteArray("99999999999") << -99;
    QTest::newRow("sign only") << QByteArray("-") << -99;
    QTest::newRow("blank inside") << QByteArray("1 2") << -99;
}

void TestIniFile::integers()
{
    QFETCH(QByteArray, value);
    QFETCH(int, expected);
    writeFile("[Fmain]\r\nLeft=" + value + "\r\n");
    IniFile ini(m_path);
    QCOMPARE(ini.readInteger(u"Fmain"_s, u"Left"_s, -99), expected);
}

void TestIniFile::booleansAndFloats()
{
    writeFile("[HyojiKomoku]\nKey=0\nHost=1\nIP=-3\nMac=yes\nDomain=\n"
              "[Orvane]\nVer=1.34\n[Bad]\nVer=1,34\n");
    IniFile ini(m_path);
    QCOMPARE(ini.readBool(u"HyojiKomoku"_s, u"Key"_s, true), false);
    QCOMPARE(ini.readBool(u"HyojiKomoku"_s, u"Host"_s, false), true);
    QCOMPARE(ini.readBool(u"HyojiKomoku"_s, u"IP"_s, false), true);
    QCOMPARE(ini.readBool(u"HyojiKomoku"_s, u"Mac"_s, false), false); // not a number: default
    QCOMPARE(ini.readBool(u"HyojiKomoku"_s, u"Domain"_s, true), true);
    QCOMPARE(ini.readFloat(u"Orvane"_s, u"Ver"_s, 0), 1.34);
    QCOMPARE(ini.readFloat(u"Bad"_s, u"Ver"_s, 2.5), 2.5);

    ini.writeFloat(u"Orvane"_s, u"Ver"_s, 1.34);
    ini.writeBool(u"HyojiKomoku"_s, u"Mac"_s, true);
    ini.writeBool(u"HyojiKomoku"_s, u"Host"_s, false);
    QVERIFY(ini.updateFile());
    const QByteArray bytes = readBytes(m_path);
    QVERIFY(bytes.contains("\r\nVer=1.34\r\n"));
    QVERIFY(bytes.contains("\r\nMac=1\r\n"));
    QVERIFY(bytes.contains("\r\nHost=0\r\n"));
}

void TestIniFile::unknownLinesAndSpellingKept()
{
    const QByteArray original = "; written by hand\r\n"
                                "stray line before sections\r\n"
                                "[Other]\r\n"
                                "; comment\r\n"
                                "Something=else\r\n"
                                "no equals sign here\r\n"
                                "\r\n"
                                "[DB]\r\n"
                                "type=local\r\n";
    writeFile(original);
    IniFile ini(m_path);
    QVERIFY(ini.updateFile());
    QCOMPARE(readBytes(m_path), original);

    ini.writeString(u"db"_s, u"TYPE"_s, u"remote"_s);
    QVERIFY(ini.updateFile());
    QByteArray expected = original;
    expected.replace("type=local", "type=remote");
    QCOMPARE(readBytes(m_path), expected);
}

void TestIniFile::newKeysAndSectionsAppended()
{
    writeFile("[A]\r\nx=1\r\n\r\n[B]\r\ny=2\r\n");
    IniFile ini(m_path);
    ini.writeInteger(u"A"_s, u"z"_s, 3);
    ini.writeString(u"C"_s, u"w"_s, u"4"_s);
    QVERIFY(ini.updateFile());
    QCOMPARE(readBytes(m_path),
             QByteArray("[A]\r\nx=1\r\nz=3\r\n\r\n[B]\r\ny=2\r\n[C]\r\nw=4\r\n"));
}

void TestIniFile::japaneseRoundTripInCp932()
{
    {
        IniFile ini(m_path);
        ini.writeString(u"Sort"_s, u"Komoku1"_s, u"（なし）"_s);
        ini.writeString(u"Net"_s, u"IPaddr"_s, u"未設定"_s);
        ini.writeString(u"Folder"_s, u"InvaroCSV"_s, u"/srv/ｲﾝﾍﾞﾛ/データ/"_s);
        QVERIFY(ini.updateFile());
    }
    const QByteArray bytes = readBytes(m_path);
    QVERIFY(bytes.contains("Komoku1=" + Cp932::encode(u"（なし）"_s) + "\r\n"));
    QVERIFY(bytes.contains(QByteArray::fromHex("96a290dd92e8"))); // 未設定 in CP932

    IniFile again(m_path);
    QCOMPARE(again.readString(u"sort"_s, u"komoku1"_s, QString()), u"（なし）"_s);
    QCOMPARE(again.readString(u"Net"_s, u"IPaddr"_s, QString()), u"未設定"_s);
    QCOMPARE(again.readString(u"Folder"_s, u"InvaroCSV"_s, QString()), u"/srv/ｲﾝﾍﾞﾛ/データ/"_s);
}

void TestIniFile::valueOutsideCp932ReadsBack()
{
    // A value that CP932 cannot carry makes the file UTF-8 behind a byte
    // order mark; the next write of CP932-only values goes back to CP932.
    {
        IniFile ini(m_path);
        ini.writeString(u"DB"_s, u"folder"_s, u"/home/josé/PCDB"_s);
        ini.writeString(u"Sort"_s, u"Komoku1"_s, u"（なし）"_s);
        QVERIFY(ini.updateFile());
    }
    QVERIFY(readBytes(m_path).startsWith("\xEF\xBB\xBF[DB]"));
    {
        IniFile ini(m_path);
        QCOMPARE(ini.readString(u"db"_s, u"folder"_s, QString()), u"/home/josé/PCDB"_s);
        QCOMPARE(ini.readString(u"Sort"_s, u"Komoku1"_s, QString()), u"（なし）"_s);
        ini.writeString(u"DB"_s, u"folder"_s, u"/home/jose/PCDB"_s);
        QVERIFY(ini.updateFile());
    }
    QVERIFY(readBytes(m_path).contains("Komoku1=" + Cp932::encode(u"（なし）"_s)));
}

void TestIniFile::readsLfAndWritesCrlf()
{
    writeFile("[Sort]\nKomoku1=Key\nJyun1=" + Cp932::encode(u"降順"_s) + "\n");
    IniFile ini(m_path);
    QCOMPARE(ini.readString(u"Sort"_s, u"Komoku1"_s, QString()), u"Key"_s);
    QCOMPARE(ini.readString(u"Sort"_s, u"Jyun1"_s, QString()), u"降順"_s);
    QVERIFY(ini.updateFile());
    const QByteArray bytes = readBytes(m_path);
    QCOMPARE(bytes.count('\n'), 3);
    QCOMPARE(bytes.count("\r\n"), 3);
}

void TestIniFile::lineBreakInValueStaysOnOneLine()
{
    IniFile ini(m_path);
    ini.writeString(u"DB"_s, u"pass"_s, u"a\r\n[DB]\ntype=remote"_s);
    QVERIFY(ini.updateFile());
    IniFile again(m_path);
    QCOMPARE(again.readString(u"DB"_s, u"type"_s, u"local"_s), u"local"_s);
    QCOMPARE(again.readString(u"DB"_s, u"pass"_s, QString()), u"a [DB] type=remote"_s);
}

void TestIniFile::writeFailureReported()
{
    // The parent of the path is a file, so nothing can be created there.
    const QString blocker = m_dir.filePath(QStringLiteral("blocker"));
    QFile file(blocker);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();
    IniFile ini(blocker + QStringLiteral("/Orvane.INI"));
    ini.writeString(u"DB"_s, u"type"_s, u"local"_s);
    QVERIFY(!ini.updateFile());
    QVERIFY(!ini.errorString().isEmpty());
}

void TestIniFile::unreadableFileNotOverwritten()
{
    // A path that exists but cannot be read as a file: the reads give their
    // defaults and the write-out refuses instead of replacing it.
    const QString folder = m_dir.filePath(QStringLiteral("folder.INI"));
    QVERIFY(QDir().mkpath(folder));
    IniFile ini(folder);
    QVERIFY(ini.readFailed());
    QCOMPARE(ini.readInteger(u"DB"_s, u"port"_s, 12005), 12005);
    ini.writeString(u"DB"_s, u"type"_s, u"local"_s);
    QVERIFY(!ini.updateFile());
    QVERIFY(QFileInfo(folder).isDir());
}

void TestIniFile::endlessFileRefused()
{
    // A file that never ends is not read; its reads give the defaults.
    IniFile ini(QStringLiteral("/dev/zero"));
    QVERIFY(ini.readFailed());
    QCOMPARE(ini.readInteger(u"Fmain"_s, u"Width"_s, 0), 0);
}

QTEST_GUILESS_MAIN(TestIniFile)
#include "tst_inifile.moc"
