#include "SearchText.h"

#include <algorithm>

namespace SearchText {

namespace {

bool isAscii(QStringView text)
{
    for (QChar c : text)
        if (c.unicode() >= 0x80)
            return false;
    return true;
}

bool isHexDigit(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= u'0' && u <= u'9') || (u >= u'a' && u <= u'f') || (u >= u'A' && u <= u'F');
}

// Groups of hexadecimal digits of one length, joined by one separator:
// the number of groups, or 0 when the text is not of that shape.
int hexGroups(QStringView text, qsizetype groupLength, QChar separator)
{
    if (text.isEmpty())
        return 0;
    int groups = 0;
    qsizetype run = 0;
    for (QChar c : text) {
        if (c == separator) {
            if (run != groupLength)
                return 0;
            ++groups;
            run = 0;
        } else if (isHexDigit(c)) {
            ++run;
        } else {
            return 0;
        }
    }
    return run == groupLength ? groups + 1 : 0;
}

QString withoutSeparators(QStringView text)
{
    QString digits;
    digits.reserve(text.size());
    for (QChar c : text)
        if (isHexDigit(c))
            digits.append(c);
    return digits;
}

// How a text written with "-", ":" or "." joins its groups: the counts of
// pairs and of groups of four, whichever separator the text uses.
struct MacShape
{
    int pairs = 0;
    int quads = 0;
};

MacShape macShape(QStringView text)
{
    MacShape shape;
    shape.pairs
        = qMax(qMax(hexGroups(text, 2, u'-'), hexGroups(text, 2, u':')), hexGroups(text, 2, u'.'));
    shape.quads = hexGroups(text, 4, u'.');
    return shape;
}

} // namespace

QString normalized(QStringView text)
{
    if (isAscii(text))
        return text.toString().toLower();
    QString result = text.toString().normalized(QString::NormalizationForm_KC).toCaseFolded();
    for (QChar &c : result) {
        // Katakana ァ (U+30A1) to ヶ (U+30F6) have their hiragana twins
        // 0x60 below; ー and the iteration marks stay.
        const char16_t u = c.unicode();
        if (u >= 0x30A1 && u <= 0x30F6)
            c = QChar(char16_t(u - 0x60));
    }
    return result;
}

QString fieldText(QStringView value)
{
    QString text = normalized(value);
    const MacShape shape = macShape(text);
    if (shape.pairs == 6 || shape.quads == 3)
        text += FieldAliasMark + withoutSeparators(text);
    return text;
}

QString macDigits(QStringView normalizedWord)
{
    const MacShape shape = macShape(normalizedWord);
    if ((shape.pairs >= 3 && shape.pairs <= 6) || (shape.quads >= 2 && shape.quads <= 3))
        return withoutSeparators(normalizedWord);
    return QString();
}

Query::Query(QStringView typed)
{
    // NFKC makes a full-width space an ordinary one; tabs and line breaks
    // separate words too.
    const QString text = normalized(typed);
    qsizetype start = -1;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        const bool space = i == text.size() || text.at(i).isSpace() || text.at(i).unicode() < 0x20;
        if (!space && start < 0) {
            start = i;
        } else if (space && start >= 0) {
            const QString word = text.mid(start, i - start);
            m_words.append({word, macDigits(word)});
            start = -1;
        }
    }
}

qsizetype Query::findWord(int i, QStringView text, qsizetype from) const
{
    const Word &word = m_words.at(i);
    const qsizetype at = text.indexOf(word.text, from);
    if (word.macDigits.isEmpty())
        return at;
    const qsizetype digitsAt = text.indexOf(word.macDigits, from);
    if (at < 0)
        return digitsAt;
    return digitsAt < 0 ? at : qMin(at, digitsAt);
}

bool Query::matchesAll(QStringView text) const
{
    for (int i = 0; i < wordCount(); ++i)
        if (findWord(i, text) < 0)
            return false;
    return true;
}

bool Query::matchesRecord(const QStringList &fieldTexts) const
{
    for (int i = 0; i < wordCount(); ++i) {
        const bool found
            = std::any_of(fieldTexts.begin(), fieldTexts.end(),
                          [&](const QString &field) { return findWord(i, field) >= 0; });
        if (!found)
            return false;
    }
    return true;
}

} // namespace SearchText
