// The free text of the PC management sheet, page by page within its line
// budget.

#include "reports/PcSheetFreeText.h"

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
        QTest::newRow("a header needs room for its first line")
            << 47 << 2 << 0 << 0 << QStringList {"48:【ドライブ情報】>D47", "4: >P2"};
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

    // With lines wrapped ten characters a line: each wrapped line counts,
    // a line goes on on the next page where it stopped, nothing is lost,
    // and the pages are counted beforehand.
    void wrappedLines_data()
    {
        QTest::addColumn<int>("applis"); // of 25 characters, 3 lines each
        QTest::addColumn<int>("remark"); // one line of this many characters
        QTest::addColumn<QList<int>>("lineCounts");
        QTest::newRow("wrapped lines count") << 20 << 0 << QList<int> {50, 12};
        QTest::newRow("a line longer than a page") << 0 << 1200 << QList<int> {50, 50, 22};
    }
    void wrappedLines()
    {
        QFETCH(int, applis);
        QFETCH(int, remark);
        QFETCH(QList<int>, lineCounts);
        PcSheetFreeText::Sections sections;
        for (int i = 0; i < applis; ++i)
            sections.applis << QStringLiteral("A%1").arg(i, 24, 10, QLatin1Char('x'));
        if (remark > 0) {
            for (int i = 0; sections.remarks.value(0).size() < remark; ++i)
                sections.remarks
                    = QStringList {sections.remarks.value(0) + QString::number(i % 10)};
        }
        PcSheetFreeText freeText;
        freeText.setWrap([](const QString &line) {
            QStringList parts;
            for (qsizetype at = 0; at < line.size(); at += 10)
                parts << line.mid(at, 10);
            return parts;
        });
        freeText.startPc(sections);
        QCOMPARE(freeText.pageCount(), lineCounts.size());
        QList<int> got;
        QString all;
        do {
            all += freeText.fillPage();
            got << freeText.LineCount();
            QCOMPARE(freeText.page(), got.size());
        } while (!freeText.PcDone() && got.size() < 10);
        QCOMPARE(got, lineCounts);
        all.remove(QStringLiteral("\r\n"));
        QVERIFY(all.contains((sections.applis + sections.remarks).join(QString())));
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
