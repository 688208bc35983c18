// The IP16 back-fill window on a store with PCs that lack IP16.

#include "base/ProgramPaths.h"
#include "import/windows/Uip16Upd.h"
#include "kit/MessageBoxes.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

class SilentObserver : public TableCheckObserver
{
public:
    void status(const QString &) override { }
    void ip16BackfillNeeded(int count) override { backfillCount = count; }
    int backfillCount = -1;
};

} // namespace

class TestIp16Upd : public QObject
{
    Q_OBJECT

private slots:
    void fillsAndCounts();
};

void TestIp16Upd::fillsAndCounts()
{
    QTemporaryDir dir;
    const ProgramPaths paths(dir.filePath(QStringLiteral("Orvane")), dir.path());
    TDMdata dm;
    StoreSettings settings;
    settings.folder = dir.path();
    dm.setSettings(settings);
    dm.open();
    SilentObserver observer;
    dm.checkTables(observer);

    const QList<QPair<QString, QString>> pcs = {
        {QStringLiteral("pc1"), QStringLiteral("192.168.1.10")},
        {QStringLiteral("pc2"), QStringLiteral("10.0.0.7")},
        {QStringLiteral("pc3"), QStringLiteral("not an address")},
        {QStringLiteral("pc4"), QString()},
    };
    for (const auto &[key, ip] : pcs) {
        dm.exec(QStringLiteral("INSERT INTO PC (KEY, IP) VALUES (:KEY, :IP)"),
                {{QStringLiteral(":KEY"), key},
                 {QStringLiteral(":IP"), ip.isEmpty() ? QVariant() : QVariant(ip)}});
    }

    MessageBoxes::ScopedRecorder boxes;
    TFip16Upd window(dm, 3, paths);
    QCOMPARE(window.windowTitle(), QStringLiteral("IPｱﾄﾞﾚｽ（16）セット"));
    QCOMPARE(window.messageText(), QStringLiteral("ＩＰアドレス（１６進数）セット中"));
    QCOMPARE(window.counterText(), QStringLiteral("0/3"));
    window.show();
    // Centred on the screen.
    const QPoint screenCentre = window.screen()->geometry().center();
    QVERIFY((window.frameGeometry().center() - screenCentre).manhattanLength() <= 2);

    QTRY_VERIFY(window.hasRun());
    QVERIFY(boxes.entries().isEmpty());
    QCOMPARE(window.messageText(), QStringLiteral("ＩＰアドレス（１６進数）セット完了"));
    QCOMPARE(window.counterText(), QStringLiteral("処理件数＝ 3 件"));

    QSqlQuery q = dm.exec(QStringLiteral("SELECT KEY, IP16 FROM PC ORDER BY KEY"));
    QMap<QString, QString> ip16;
    while (q.next())
        ip16.insert(q.value(0).toString(), q.value(1).toString());
    QCOMPARE(ip16.value(QStringLiteral("pc1")), QStringLiteral("C0A8010A"));
    QCOMPARE(ip16.value(QStringLiteral("pc2")), QStringLiteral("0A000007"));
    QCOMPARE(ip16.value(QStringLiteral("pc3")), QString());
    QCOMPARE(ip16.value(QStringLiteral("pc4")), QString());

    auto *close = window.findChild<QPushButton *>(QStringLiteral("CloseBTN"));
    QVERIFY(close && close->isEnabled());
    QCOMPARE(close->text(), QStringLiteral("閉じる"));
    close->click();
    QVERIFY(!window.isVisible());
}

QTEST_MAIN(TestIp16Upd)
#include "tst_win_ip16upd.moc"
