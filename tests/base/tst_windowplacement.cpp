#include "base/IniFile.h"
#include "base/WindowPlacement.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;
using State = WindowPlacement::State;

Q_DECLARE_METATYPE(WindowPlacement::State)

class TestWindowPlacement : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void restore_data();
    void restore();
    void firstStartOpensTopLeft();
    void maximizedCloseWritesValuesReadAtStart();
    void restoredFromMaximizedRemembersNewBounds();
    void normalCloseWritesCurrentBounds();

private:
    IniFile iniWith(const QByteArray &section);

    QTemporaryDir m_dir;
    QString m_path;
};

void TestWindowPlacement::init()
{
    m_path = m_dir.filePath(QStringLiteral("Orvane.INI"));
    QFile::remove(m_path);
}

IniFile TestWindowPlacement::iniWith(const QByteArray &section)
{
    QFile file(m_path);
    if (file.open(QIODevice::WriteOnly))
        file.write("[Fmain]\r\n" + section);
    file.close();
    return IniFile(m_path);
}

void TestWindowPlacement::restore_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<bool>("resizable");
    QTest::addColumn<QPoint>("topLeft");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<bool>("stateGiven");
    QTest::addColumn<State>("state");
    QTest::addColumn<QRect>("remembered");

    QTest::newRow("on screen") << QByteArray("Left=100\nTop=50\nWidth=640\nHeight=480\n") << true
                               << QPoint(100, 50) << QSize(640, 480) << true << State::Normal
                               << QRect(100, 50, 640, 480);
    QTest::newRow("left at screen width")
        << QByteArray("Left=1920\nTop=10\nWidth=300\n") << true << QPoint(0, 10) << QSize(300, 0)
        << true << State::Normal << QRect(0, 10, 300, 0);
    QTest::newRow("left and top beyond")
        << QByteArray("Left=5000\nTop=1080\n") << true << QPoint(0, 0) << QSize(0, 0) << true
        << State::Normal << QRect(0, 0, 0, 0);
    QTest::newRow("negative left kept")
        << QByteArray("Left=-1280\nTop=-20\n") << true << QPoint(-1280, -20) << QSize(0, 0) << true
        << State::Normal << QRect(-1280, -20, 0, 0);
    QTest::newRow("fixed dialog keeps designed size")
        << QByteArray("Left=10\nTop=20\nWidth=900\nHeight=700\n") << false << QPoint(10, 20)
        << QSize(0, 0) << true << State::Normal << QRect(10, 20, 900, 700);
    QTest::newRow("negative size not applied")
        << QByteArray("Width=-5\nHeight=-7\n") << true << QPoint(0, 0) << QSize(0, 0) << true
        << State::Normal << QRect(0, 0, -5, -7);
    QTest::newRow("maximized") << QByteArray("WindowState=wsMaximized\n") << true << QPoint(0, 0)
                               << QSize(0, 0) << true << State::Maximized << QRect(0, 0, 0, 0);
    QTest::newRow("minimized") << QByteArray("WindowState=wsMinimized\n") << true << QPoint(0, 0)
                               << QSize(0, 0) << true << State::Minimized << QRect(0, 0, 0, 0);
    QTest::newRow("unknown state leaves designed")
        << QByteArray("WindowState=maximized\n") << true << QPoint(0, 0) << QSize(0, 0) << false
        << State::Normal << QRect(0, 0, 0, 0);
    QTest::newRow("larger than any screen")
        << QByteArray("Left=-2147483648\nWidth=2147483647\nHeight=2147483647\n") << true
        << QPoint(-1920, 0) << QSize(1920, 1080) << true << State::Normal
        << QRect(-1920, 0, 2147483647, 2147483647);
    QTest::newRow("garbage numbers")
        << QByteArray("Left=abc\nTop=1e3\nWidth=wide\n") << true << QPoint(0, 0) << QSize(0, 0)
        << true << State::Normal << QRect(0, 0, 0, 0);
}

void TestWindowPlacement::restore()
{
    QFETCH(QByteArray, section);
    QFETCH(bool, resizable);
    const IniFile ini = iniWith(section);
    WindowPlacement placement(u"fmain"_s);
    const WindowPlacement::Restored restored = placement.restore(ini, QSize(1920, 1080), resizable);
    QTEST(restored.topLeft, "topLeft");
    QTEST(restored.size, "size");
    QTEST(restored.stateGiven, "stateGiven");
    if (restored.stateGiven)
        QTEST(restored.state, "state");
    QTEST(placement.rememberedBounds(), "remembered");
}

void TestWindowPlacement::firstStartOpensTopLeft()
{
    IniFile ini(m_path);
    WindowPlacement placement(u"FDBSetting"_s);
    const auto restored = placement.restore(ini, QSize(800, 600), true);
    QCOMPARE(restored.topLeft, QPoint(0, 0));
    QCOMPARE(restored.size, QSize(0, 0));
    QVERIFY(restored.stateGiven);
    QCOMPARE(restored.state, State::Normal);
}

void TestWindowPlacement::maximizedCloseWritesValuesReadAtStart()
{
    IniFile ini
        = iniWith("Left=120\r\nTop=80\r\nWidth=1024\r\nHeight=700\r\nWindowState=wsMaximized\r\n");
    WindowPlacement placement(u"Fmain"_s);
    const auto restored = placement.restore(ini, QSize(1920, 1080), true);
    QCOMPARE(restored.state, State::Maximized);

    // Closed while still maximized: the maximized geometry is not saved.
    placement.save(ini, QRect(0, 0, 1920, 1050), State::Maximized);
    QVERIFY(ini.updateFile());
    IniFile again(m_path);
    QCOMPARE(again.readInteger(u"Fmain"_s, u"Left"_s, -1), 120);
    QCOMPARE(again.readInteger(u"Fmain"_s, u"Top"_s, -1), 80);
    QCOMPARE(again.readInteger(u"Fmain"_s, u"Width"_s, -1), 1024);
    QCOMPARE(again.readInteger(u"Fmain"_s, u"Height"_s, -1), 700);
    QCOMPARE(again.readString(u"Fmain"_s, u"WindowState"_s, QString()), u"wsMaximized"_s);
}

void TestWindowPlacement::restoredFromMaximizedRemembersNewBounds()
{
    IniFile ini = iniWith("Width=1024\r\nHeight=700\r\nWindowState=wsMaximized\r\n");
    WindowPlacement placement(u"Fmain"_s);
    placement.restore(ini, QSize(1920, 1080), true);
    placement.rememberBounds(QRect(30, 40, 500, 400)); // user restored, then maximized again
    placement.save(ini, QRect(0, 0, 1920, 1050), State::Maximized);
    QCOMPARE(ini.readInteger(u"Fmain"_s, u"Left"_s, -1), 30);
    QCOMPARE(ini.readInteger(u"Fmain"_s, u"Width"_s, -1), 500);
    QCOMPARE(ini.readInteger(u"Fmain"_s, u"Height"_s, -1), 400);
}

void TestWindowPlacement::normalCloseWritesCurrentBounds()
{
    IniFile ini = iniWith("Left=10\r\nTop=10\r\nWidth=300\r\nHeight=200\r\n");
    WindowPlacement placement(u"Fmain"_s);
    placement.restore(ini, QSize(1920, 1080), false);
    placement.save(ini, QRect(-50, 60, 320, 240), State::Normal);
    QCOMPARE(placement.rememberedBounds(), QRect(-50, 60, 320, 240));
    QCOMPARE(ini.readInteger(u"Fmain"_s, u"Left"_s, 0), -50);
    QCOMPARE(ini.readInteger(u"Fmain"_s, u"Top"_s, 0), 60);
    QCOMPARE(ini.readInteger(u"Fmain"_s, u"Width"_s, 0), 320);
    QCOMPARE(ini.readInteger(u"Fmain"_s, u"Height"_s, 0), 240);
    QCOMPARE(ini.readString(u"Fmain"_s, u"WindowState"_s, QString()), u"wsNormal"_s);
    // save() leaves the write-out to the caller.
    QCOMPARE(IniFile(m_path).readInteger(u"Fmain"_s, u"Width"_s, 0), 300);
}

QTEST_GUILESS_MAIN(TestWindowPlacement)
#include "tst_windowplacement.moc"
