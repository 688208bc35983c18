// The free-text area of the PC management sheet: the input's lines become
// the PC's drive, printer, application and remark lines, placed page by
// page, and each page's text is drawn by the variable-text box at a width
// and spacing the first bytes choose.
//
// Rules: the lines wrap as the box wraps them, and every wrapped line is
// shown once, in order, with only the headers between; a page counts the
// lines it shows, at most 50, and the box shows them all; the pages are
// counted beforehand as many as there are; every character of the text is
// placed; nothing is drawn outside the box.

#include "FuzzSupport.h"
#include "layout/LRPanel.h"
#include "layout/LightRep.h"
#include "layout/LightRepEx2.h"
#include "layout/ReportFont.h"
#include "layout/TextMeasure.h"
#include "layout/TextTokens.h"
#include "reports/PcSheetFreeText.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

void ensureGuiApplication()
{
    if (QCoreApplication::instance())
        return;
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "orvane-fuzz";
    static char *argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// Lines of the sections, each marked so that it is known again on a page.
PcSheetFreeText::Sections sectionsOf(const QStringList &lines, const uint8_t counts[3])
{
    PcSheetFreeText::Sections s;
    QStringList *targets[] = {&s.drives, &s.printers, &s.applis};
    qsizetype next = 0;
    for (int k = 0; k < 3; ++k) {
        for (int i = 0; i < counts[k] && !lines.isEmpty(); ++i, ++next)
            *targets[k] << QStringLiteral("#%1 %2").arg(next).arg(lines.at(next % lines.size()));
    }
    for (const QString &line : lines)
        s.remarks << QStringLiteral("#%1 %2").arg(next++).arg(line);
    return s;
}

// The sheet's free-text box at the width the input chooses (the sheet's
// own height, spacing and leading otherwise), on a panel in the panel's
// 12-unit gothic.
TLRVariableText &freeTextBox(int width, int charSpace, int wordSpace)
{
    static TLightRep page;
    static auto *panel = new TLRLayoutPanel(&page);
    static auto *item = [] {
        panel->setFont(ReportFont::gothic(12));
        auto *text = new TLRVariableText(panel);
        text->setWordWrap(true);
        text->setLeading(0);
        return text;
    }();
    item->setBounds(20, 20, width, 609);
    item->setCharSpace(charSpace);
    item->setWordSpace(wordSpace);
    return *item;
}

void checkDrawn(TLRVariableText &item, const QString &text)
{
    const QRect box = item.bounds();
    QImage image(box.width() + 40, box.height() + 40, QImage::Format_RGB32);
    image.fill(Qt::white);
    item.setText(text);
    {
        QPainter painter(&image);
        item.draw(painter, box, 1.0, false);
    }
    for (int y = 0; y < image.height(); ++y) {
        const QRgb *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        const bool beside = y >= box.top() && y <= box.bottom();
        for (int x = 0; x < image.width(); ++x) {
            if (beside && x == box.left())
                x = box.right() + 1; // the box itself may hold anything
            if (line[x] != qRgb(255, 255, 255))
                Fuzz::fail(QStringLiteral("drawn outside the box at %1,%2").arg(x).arg(y));
        }
    }

    // The lines counted for the page are the lines the box shows: none
    // falls below it, where it would be cut off.
    TextMeasure &measure = TextMeasure::of(item.Font());
    TextTokens::Spacing spacing;
    spacing.width = box.width();
    spacing.charSpace = item.CharSpace();
    spacing.wordSpace = item.WordSpace();
    const QVector<TextTokens::Placed> placed = TextTokens::place(
        TextTokens::tokenize(text), spacing, [&](const QString &c) { return measure.width(c); });
    const int lineHeight = item.Font().pixelSize() + item.Leading();
    for (const TextTokens::Placed &p : placed)
        Fuzz::check((p.line + 1) * lineHeight <= box.height(),
                    QStringLiteral("line %1 below the box").arg(p.line));

    const QVector<TextTokens::Token> tokens = TextTokens::tokenize(text);
    qsizetype characters = 0;
    for (const TextTokens::Token &t : tokens)
        characters += TextTokens::characters(t.chars).size();
    const QVector<TextTokens::Placed> fixed
        = TextTokens::place(tokens, spacing, [](const QString &c) {
              return c.size() > 1 || c.at(0) > u'\xff' ? 12.0 : 6.0;
          });
    Fuzz::check(fixed.size() == characters, QStringLiteral("characters lost in placing"));
}

// The lines the area shows, in order, are the wrapped lines of the
// sections with only headers and the blank lines before them between.
void checkPlaced(const QStringList &shown, const QStringList &expectedParts)
{
    static const QStringList headers
        = {QStringLiteral("【ドライブ情報】"), QStringLiteral("【プリンタ情報】"),
           QStringLiteral("【アプリケーション情報】"), QStringLiteral("【備　考】"),
           QStringLiteral(" ")};
    qsizetype next = 0;
    int extra = 0;
    for (const QString &line : shown) {
        if (next < expectedParts.size() && line == expectedParts.at(next)) {
            ++next;
            continue;
        }
        Fuzz::check(headers.contains(line), QStringLiteral("line not of the text: %1").arg(line));
        ++extra;
    }
    Fuzz::check(next == expectedParts.size(), QStringLiteral("lines lost"));
    Fuzz::check(extra <= headers.size() + 2, QStringLiteral("headers repeated"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 6)
        return 0;
    ensureGuiApplication();
    // 240 to 1023 units: the headers, which are not wrapped, fit on a line.
    const int width = 240 + (data[0] | (data[1] & 3) << 8) % 784;
    TLRVariableText &box = freeTextBox(width, data[2] % 8, data[2] / 8 % 16);
    const uint8_t counts[3] = {data[3], data[4], data[5]};
    const QString text = QString::fromUtf8(Fuzz::bytes(data + 6, size - 6));
    const QStringList lines = PcSheetFreeText::remarkLines(text);

    const PcSheetFreeText::Sections sections = sectionsOf(lines, counts);
    QStringList expectedParts;
    for (const QString &line :
         sections.drives + sections.printers + sections.applis + sections.remarks)
        expectedParts += box.wrapLines(line);
    PcSheetFreeText freeText;
    freeText.setWrap([&box](const QString &line) { return box.wrapLines(line); });
    freeText.startPc(sections);
    QStringList shown;
    int pages = 0;
    while (pages <= expectedParts.size() + 1 && !freeText.PcDone()) {
        const QString pageText = freeText.fillPage();
        ++pages;
        // A page that goes on with a section starts with a line break,
        // which the box does not show as a line.
        QStringList pageLines = pageText.split(QStringLiteral("\r\n"));
        if (pageLines.first().isEmpty())
            pageLines.removeFirst();
        Fuzz::check(freeText.LineCount() <= PcSheetFreeText::PageLines
                        && freeText.LineCount() == pageLines.size(),
                    QStringLiteral("%1 lines counted on a page of %2")
                        .arg(freeText.LineCount())
                        .arg(pageLines.size()));
        shown += pageLines;
        checkDrawn(box, pageText);
    }
    Fuzz::check(freeText.PcDone(), QStringLiteral("the free text never ends"));
    Fuzz::check(freeText.pageCount() == pages, QStringLiteral("pages miscounted"));
    checkPlaced(shown, expectedParts);
    return 0;
}
