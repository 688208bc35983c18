// The tokens of the flowing text and their places on lines.

#include "layout/TextTokens.h"

#include <QTest>

using TextTokens::Token;

namespace {

// Tokens written as their characters, "_" after one that ends in a blank,
// "/" after one that ends in a line break, joined by "|".
QString written(const QVector<Token> &tokens)
{
    QStringList parts;
    for (const Token &t : tokens)
        parts << t.chars + (t.end == Token::End::Blank ? QStringLiteral("_") : QString())
                + (t.end == Token::End::LineBreak ? QStringLiteral("/") : QString());
    return parts.join(u'|');
}

// Half-width characters 6 units wide, full-width ones 12.
double width(const QString &ch)
{
    return TextTokens::isDoubleByte(ch.at(0).unicode()) ? 12 : 6;
}

} // namespace

class TstTextTokens : public QObject
{
    Q_OBJECT

private slots:
    void tokenize_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("tokens");
        QTest::newRow("words keep their blank") << "ab cd"
                                                << "ab_|cd";
        QTest::newRow("each full-width character alone") << "全容量 40 KB"
                                                         << "全|容|量|_|40_|KB";
        QTest::newRow("full-width after half-width") << "ABC全角"
                                                     << "ABC|全|角";
        QTest::newRow("kuten and touten join") << "です。次、"
                                               << "で|す。|次、";
        QTest::newRow("kuten after half-width stands alone") << "x。"
                                                             << "x|。";
        QTest::newRow("CR LF ends a token") << "a\r\nb"
                                            << "a/|b";
        QTest::newRow("lone CR and LF break too") << "A\nB\rC"
                                                  << "A/|B/|C";
        QTest::newRow("break first") << "\r\nA"
                                     << "/|A";
        QTest::newRow("half-width katakana is single-byte") << "ﾃﾞｰﾀ abc"
                                                            << "ﾃﾞｰﾀ_|abc";
        QTest::newRow("two blanks") << "a  b"
                                    << "a_|_|b";
    }
    void tokenize()
    {
        QFETCH(QString, text);
        QFETCH(QString, tokens);
        QCOMPARE(written(TextTokens::tokenize(text)), tokens);
    }

    void place_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("boxWidth");
        QTest::addColumn<bool>("wordWrap");
        QTest::addColumn<double>("charSpace");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("xs"); // of every character, when given

        QTest::newRow("break at line start gives no empty line")
            << "A\r\n\r\nB" << 100.0 << true << 0.0 << QStringList {"A", "B"} << "";
        QTest::newRow("a blank line is drawn")
            << "A\r\n \r\nB" << 100.0 << true << 0.0 << QStringList {"A", "", "B"} << "";
        QTest::newRow("first break of a page")
            << "\r\nA" << 100.0 << true << 0.0 << QStringList {"A"} << "";
        QTest::newRow("full-width wraps, never before kuten")
            << "あいうえお。かき" << 48.0 << true << 0.0 << QStringList {"あいうえ", "お。かき"}
            << "0,12,24,36,0,12,24,36";
        QTest::newRow("words wrap whole")
            << "abc def ghi" << 50.0 << true << 0.0 << QStringList {"abcdef", "ghi"}
            << "0,6,12,23,29,35,0,6,12";
        QTest::newRow("no wrap") << "abc def ghi" << 50.0 << false << 0.0
                                 << QStringList {"abcdefghi"} << "";
        QTest::newRow("a word wider than the box breaks between characters")
            << "ab abcdefghijklm" << 30.0 << true << 0.0
            << QStringList {"ab", "abcde", "fghij", "klm"}
            << "0,6,0,6,12,18,24,0,6,12,18,24,0,6,12";
        QTest::newRow("no wrap, no break")
            << "abcdefghij" << 30.0 << false << 0.0 << QStringList {"abcdefghij"} << "";
        QTest::newRow("character and word spacing")
            << "ab c全" << 100.0 << true << 2.0 << QStringList {"abc全"} << "0,8,19,27";
    }
    void place()
    {
        QFETCH(QString, text);
        QFETCH(double, boxWidth);
        QFETCH(bool, wordWrap);
        QFETCH(double, charSpace);
        QFETCH(QStringList, lines);
        QFETCH(QString, xs);

        TextTokens::Spacing spacing;
        spacing.width = boxWidth;
        spacing.wordWrap = wordWrap;
        spacing.charSpace = charSpace;
        const QVector<TextTokens::Placed> placed
            = TextTokens::place(TextTokens::tokenize(text), spacing, width);
        // A blank line places nothing: the line count comes from the
        // text's breaks.
        QStringList got(lines.size());
        QStringList positions;
        for (const TextTokens::Placed &p : placed) {
            QVERIFY(p.line < got.size());
            got[p.line] += p.character;
            positions << QString::number(p.x);
        }
        QCOMPARE(got, lines);
        if (!xs.isEmpty())
            QCOMPARE(positions.join(u','), xs);
    }

    // The lines a text makes, blanks kept: each drawn alone is one line
    // placed as it was in the whole text.
    void wrapLines_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("words") << "abc def ghi" << QStringList {"abc def ", "ghi"};
        QTest::newRow("full-width") << "あいうえお。かき" << QStringList {"あいうえ", "お。かき"};
        QTest::newRow("long word")
            << "x abcdefghijklmn" << QStringList {"x ", "abcdefgh", "ijklmn"};
        QTest::newRow("breaks") << "A\r\n\r\nB\r\n" << QStringList {"A", "B"};
        QTest::newRow("a blank") << " " << QStringList {" "};
        QTest::newRow("nothing") << "" << QStringList {};
    }
    void wrapLines()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        TextTokens::Spacing spacing;
        spacing.width = 48;
        const QStringList got = TextTokens::wrapLines(text, spacing, width);
        QCOMPARE(got, lines);
        const QVector<TextTokens::Placed> whole
            = TextTokens::place(TextTokens::tokenize(text), spacing, width);
        QStringList xs;
        for (const TextTokens::Placed &p : whole)
            xs << QString::number(p.x);
        QStringList alone;
        for (const QString &line : got) {
            for (const TextTokens::Placed &p :
                 TextTokens::place(TextTokens::tokenize(line), spacing, width)) {
                QCOMPARE(p.line, 0);
                alone << QString::number(p.x);
            }
        }
        QCOMPARE(alone, xs);
    }
};

QTEST_APPLESS_MAIN(TstTextTokens)
#include "tst_texttokens.moc"
