#include "base/ProgramPaths.h"

#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TestProgramPaths : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void iniName_data();
    void iniName();
    void filesBesideWritableProgram();
    void readOnlyProgramFolderUsesUserConfig_data();
    void readOnlyProgramFolderUsesUserConfig();
    void noProgramFileFallsBack();
};

void TestProgramPaths::initTestCase()
{
    QStandardPaths::setTestModeEnabled(true);
}

void TestProgramPaths::iniName_data()
{
    QTest::addColumn<QString>("program");
    QTest::addColumn<QString>("ini");
    QTest::newRow("no extension") << u"/opt/orvane/Orvane"_s << u"/home/Orvane.INI"_s;
    QTest::newRow("exe") << u"/opt/orvane/Orvane.exe"_s << u"/home/Orvane.INI"_s;
    QTest::newRow("last extension only") << u"/opt/orvane/or.vane.bin"_s << u"/home/or.vane.INI"_s;
    QTest::newRow("dot in folder") << u"/opt/orvane.d/Orvane"_s << u"/home/Orvane.INI"_s;
}

void TestProgramPaths::iniName()
{
    QFETCH(QString, program);
    QFETCH(QString, ini);
    const ProgramPaths paths(program, u"/home"_s);
    QCOMPARE(paths.homeDir(), u"/home/"_s);
    QCOMPARE(paths.iniPath(), ini);
    QVERIFY(!paths.iniNameFailed());
}

void TestProgramPaths::filesBesideWritableProgram()
{
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString folder = dir.path() + u'/';
    const ProgramPaths paths(folder + u"Orvane"_s);
    QCOMPARE(paths.programDir(), folder);
    QCOMPARE(paths.homeDir(), folder);
    QCOMPARE(paths.iniPath(), folder + u"Orvane.INI"_s);
    QCOMPARE(paths.defaultDataDir(), folder + u"PCDB"_s);
    QCOMPARE(paths.readmePath(), folder + u"readme.txt"_s);
    QCOMPARE(paths.helpPath(), folder + u"ORVANE.chm"_s);
}

void TestProgramPaths::readOnlyProgramFolderUsesUserConfig_data()
{
    QTest::addColumn<QString>("folder");
    QTest::newRow("not writable, even by root") << u"/proc/"_s;
    // The package's folder, writable by root but owned by the package.
    QTest::newRow("installed package") << u"/usr/lib/orvane/"_s;
}

void TestProgramPaths::readOnlyProgramFolderUsesUserConfig()
{
    QFETCH(QString, folder);
    const ProgramPaths paths(folder + u"Orvane"_s);
    const QString config
        = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + u'/';
    QCOMPARE(paths.homeDir(), config);
    QVERIFY(QFileInfo(config).isDir());
    QCOMPARE(paths.iniPath(), config + u"Orvane.INI"_s);
    QCOMPARE(paths.defaultDataDir(), config + u"PCDB"_s);
    QCOMPARE(paths.readmePath(), folder + u"readme.txt"_s); // still beside the program
}

void TestProgramPaths::noProgramFileFallsBack()
{
    const ProgramPaths paths(QString(), u"/home"_s);
    QVERIFY(paths.iniNameFailed());
    QCOMPARE(paths.iniPath(), u"C:Program Files\\Orvane\\Orvane.ini"_s);
    QCOMPARE(paths.defaultDataDir(), u"/home/PCDB"_s);
}

QTEST_GUILESS_MAIN(TestProgramPaths)
#include "tst_programpaths.moc"
