// The free text of the PC management sheet, page by page within its line
// budget.

#include "output/PcSheetFreeText.h"

#include <QTest>

namespace {

QStringList numbered(const QString &prefix, int count)
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines << prefix + QString::number(i);
    return lines;
}

// A page as "LineCount:first line>last line"; the line break that starts a
// continuation page is no line.
QString described(const QString &text, int lineCount)
{
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (lines.size() > 1 && lines.first().isEmpty())
        lines.removeFirst();
    return QStringLiteral("%1:%2>%3").arg(lineCount).arg(lines.first(), lines.last());
}

} // namespace

class TstPcSheetFreeText : public QObject
{
    Q_OBJECT

private slots:
    void pages_data()
    {
        QTest::addColumn<int>("drives");
        QTest::addColumn<int>("printers");
        QTest::addColumn<int>("applis");
        QTest::addColumn<int>("remarks");
        QTest::addColumn<QStringList>("pages");
        QTest::newRow("nothing: one empty page") << 0 << 0 << 0 << 0 << QStringList {"0:>"};
        QTest::newRow("no drives: a blank line, then the printers")
            << 0 << 2 << 0 << 0 << QStringList {"4: >P2"};
        QTest::newRow("applications on two sheets, then remarks")
            << 3 << 1 << 60 << 2 << QStringList {"50:【ドライブ情報】>A41", "23:A42>R2"};
        QTest::newRow("applications on three sheets")
            << 0 << 0 << 120 << 0 << QStringList {"50: >A48", "50:A49>A98", "22:A99>A120"};
        QTest::newRow("last line fills the page exactly")
            << 49 << 0 << 0 << 0 << QStringList {"50:【ドライブ情報】>D49"};
        QTest::newRow("header placed at 48 gives 51 lines")
            << 47 << 2 << 0 << 0 << QStringList {"51:【ドライブ情報】>P1", "1:P2>P2"};
        QTest::newRow("header never ends a page")
            << 48 << 2 << 0 << 0 << QStringList {"49:【ドライブ情報】>D48", "4: >P2"};
        QTest::newRow("remarks go on")
            << 0 << 0 << 0 << 60 << QStringList {"50: >R48", "12:R49>R60"};
    }
    void pages()
    {
        QFETCH(int, drives);
        QFETCH(int, printers);
        QFETCH(int, applis);
        QFETCH(int, remarks);
        QFETCH(QStringList, pages);

        PcSheetFreeText freeText;
        freeText.startPc(
            {numbered(QStringLiteral("D"), drives), numbered(QStringLiteral("P"), printers),
             numbered(QStringLiteral("A"), applis), numbered(QStringLiteral("R"), remarks)});
        QStringList got;
        QString all;
        do {
            const QString text = freeText.fillPage();
            got << described(text, freeText.LineCount());
            all += text;
        } while (!freeText.PcDone() && got.size() < 10);
        QCOMPARE(got, pages);
        // Each header comes once per PC, however many sheets it takes.
        QCOMPARE(all.count(u'【'), (drives > 0) + (printers > 0) + (applis > 0) + (remarks > 0));
    }

    void remarkLines_data()
    {
        QTest::addColumn<QString>("biko");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << "a\r\nb" << QStringList {"a", "b"};
        QTest::newRow("LF, last break") << "a\nb\n" << QStringList {"a", "b"};
        QTest::newRow("CR") << "a\rb" << QStringList {"a", "b"};
        QTest::newRow("empty line kept") << "a\r\n\r\nb" << QStringList {"a", "", "b"};
        QTest::newRow("none") << "" << QStringList {};
    }
    void remarkLines()
    {
        QFETCH(QString, biko);
        QFETCH(QStringList, lines);
        QCOMPARE(PcSheetFreeText::remarkLines(biko), lines);
    }
};

QTEST_APPLESS_MAIN(TstPcSheetFreeText)
#include "tst_pcsheet_freetext.moc"
