#include "TextTokens.h"

#include <QStringList>

namespace TextTokens {

bool isDoubleByte(char32_t code)
{
    if (code < 0x80)
        return false;
    if (code >= 0xFF61 && code <= 0xFF9F) // half-width katakana
        return false;
    // The yen sign and the overline share single bytes with '\' and '~'.
    if (code == 0xA5 || code == 0x203E)
        return false;
    return true;
}

namespace {

bool isKutoten(QChar c)
{
    return c == u'。' || c == u'、';
}

} // namespace

QVector<Token> tokenize(const QString &text)
{
    QVector<Token> tokens;
    Token current;
    const auto flush = [&](Token::End end) {
        current.end = end;
        tokens.append(current);
        current = Token();
    };
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const QChar c = text[i];
        if (c == u'\r' || c == u'\n') {
            i += (c == u'\r' && i + 1 < n && text[i + 1] == u'\n') ? 2 : 1;
            flush(Token::End::LineBreak);
            continue;
        }
        if (c == u' ') {
            ++i;
            flush(Token::End::Blank);
            continue;
        }
        const bool pair = c.isHighSurrogate() && i + 1 < n && text[i + 1].isLowSurrogate();
        const char32_t code = pair ? QChar::surrogateToUcs4(c, text[i + 1]) : c.unicode();
        if (!isDoubleByte(code)) {
            current.chars += c;
            ++i;
            continue;
        }
        if (!current.chars.isEmpty())
            flush(Token::End::Plain);
        current.chars = text.mid(i, pair ? 2 : 1);
        i += pair ? 2 : 1;
        while (i < n && isKutoten(text[i]))
            current.chars += text[i++];
        flush(Token::End::Plain);
    }
    if (!current.chars.isEmpty())
        flush(Token::End::Plain);
    return tokens;
}

QStringList characters(const QString &chars)
{
    QStringList list;
    for (qsizetype i = 0; i < chars.size(); ++i) {
        const bool pair
            = chars[i].isHighSurrogate() && i + 1 < chars.size() && chars[i + 1].isLowSurrogate();
        list.append(chars.mid(i, pair ? 2 : 1));
        if (pair)
            ++i;
    }
    return list;
}

namespace {

// Lays the tokens out as place() describes: onChar(character, x, line) for
// every character drawn, onBlank(line) for every blank a token ends in.
template <typename OnChar, typename OnBlank>
void layOut(const QVector<Token> &tokens, const Spacing &spacing, const WidthOf &widthOf,
            OnChar onChar, OnBlank onBlank)
{
    double x = 0;
    int line = 0;
    const auto newLine = [&] {
        x = 0;
        ++line;
    };
    for (const Token &token : tokens) {
        const QStringList chars = characters(token.chars);
        QVector<double> widths;
        widths.reserve(chars.size());
        double extent = 0;
        for (const QString &ch : chars) {
            widths.append(widthOf(ch));
            extent += widths.last();
        }
        if (!chars.isEmpty())
            extent += spacing.charSpace * (chars.size() - 1);
        if (spacing.wordWrap && x > 0 && x + extent > spacing.width)
            newLine();
        const bool breakWithin = spacing.wordWrap && extent > spacing.width;
        for (int k = 0; k < chars.size(); ++k) {
            if (breakWithin && x > 0 && x + widths[k] > spacing.width)
                newLine();
            onChar(chars[k], x, line);
            x += widths[k];
            if (k + 1 < chars.size())
                x += spacing.charSpace;
        }
        if (token.end == Token::End::Blank) {
            onBlank(line);
            x += spacing.wordSpace;
        } else if (!chars.isEmpty()) {
            x += spacing.charSpace;
        }
        if (token.end == Token::End::LineBreak && x > 0)
            newLine();
    }
}

} // namespace

QVector<Placed> place(const QVector<Token> &tokens, const Spacing &spacing, const WidthOf &widthOf)
{
    QVector<Placed> placed;
    layOut(
        tokens, spacing, widthOf,
        [&](const QString &ch, double x, int line) {
            placed.append({ch, x, line});
        },
        [](int) {});
    return placed;
}

QStringList wrapLines(const QString &text, const Spacing &spacing, const WidthOf &widthOf)
{
    if (text.isEmpty())
        return {};
    // Most lines fit as they are: at most the width of every character,
    // spacing and word space, and no line break.
    double most = 0;
    bool breaks = false;
    for (const QString &ch : characters(text)) {
        if (ch == u'\r' || ch == u'\n') {
            breaks = true;
            break;
        }
        most += ch == u' ' ? spacing.wordSpace : widthOf(ch) + spacing.charSpace;
    }
    if (!breaks && (most <= spacing.width || !spacing.wordWrap))
        return {text};

    QStringList lines;
    const auto at = [&](int line) -> QString & {
        while (lines.size() <= line)
            lines.append(QString());
        return lines[line];
    };
    layOut(
        tokenize(text), spacing, widthOf,
        [&](const QString &ch, double, int line) { at(line) += ch; },
        [&](int line) { at(line) += u' '; });
    return lines;
}

} // namespace TextTokens
