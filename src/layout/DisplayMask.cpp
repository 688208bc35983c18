#include "DisplayMask.h"

#include <QStringList>
#include <cmath>

namespace {

struct NumberSection
{
    QString prefix; // literal text before the first placeholder
    QString suffix; // literal text after the last placeholder
    int intZeros = 0; // '0' placeholders before the decimal point
    int fracZeros = 0; // '0' placeholders after it
    int fracDigits = 0; // all placeholders after it
    bool thousands = false;
};

NumberSection parseSection(const QString &section)
{
    NumberSection s;
    bool seenPlaceholder = false;
    bool afterPoint = false;
    QString literal;
    for (qsizetype i = 0; i < section.size(); ++i) {
        const QChar c = section[i];
        if (c == u'"' || c == u'\'') {
            const qsizetype end = section.indexOf(c, i + 1);
            literal += section.mid(i + 1, end < 0 ? -1 : end - i - 1);
            i = end < 0 ? section.size() : end;
            continue;
        }
        if (c == u'0' || c == u'#') {
            if (!seenPlaceholder)
                s.prefix = literal;
            literal.clear();
            seenPlaceholder = true;
            if (afterPoint) {
                ++s.fracDigits;
                if (c == u'0')
                    s.fracZeros = s.fracDigits;
            } else if (c == u'0') {
                ++s.intZeros;
            }
            continue;
        }
        if (c == u'.' && seenPlaceholder) {
            afterPoint = true;
            continue;
        }
        if (c == u',' && seenPlaceholder && !afterPoint) {
            s.thousands = true;
            continue;
        }
        literal += c;
    }
    if (seenPlaceholder)
        s.suffix = literal;
    else
        s.prefix = literal;
    return s;
}

QString groupThousands(QString digits)
{
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return digits;
}

bool isPlaceholder(QChar c)
{
    static const QString placeholders = QStringLiteral("LlAaCc09#");
    return placeholders.contains(c);
}

} // namespace

namespace DisplayMask {

bool looksNumeric(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (!(c.isDigit() && c.unicode() < 0x80) && c != u'+' && c != u'-' && c != u'.')
            return false;
    }
    return true;
}

QString formatNumber(double value, const QString &mask)
{
    const QStringList sections = mask.split(u';');
    QString section = sections.value(0);
    bool withSign = value < 0;
    if (value < 0 && sections.size() > 1 && !sections[1].isEmpty()) {
        section = sections[1];
        withSign = false;
    } else if (value == 0 && sections.size() > 2 && !sections[2].isEmpty()) {
        section = sections[2];
    }
    const NumberSection s = parseSection(section);

    const double factor = std::pow(10.0, s.fracDigits);
    const double rounded = std::round(std::fabs(value) * factor); // halves away from zero
    QString digits = QString::number(rounded, 'f', 0);
    while (digits.size() <= s.fracDigits)
        digits.prepend(u'0');
    QString integer = digits.left(digits.size() - s.fracDigits);
    QString fraction = digits.right(s.fracDigits);
    while (integer.size() > 1 && integer.startsWith(u'0'))
        integer.remove(0, 1);
    if (integer == QLatin1String("0"))
        integer.clear();
    while (integer.size() < s.intZeros)
        integer.prepend(u'0');
    while (fraction.size() > s.fracZeros && fraction.endsWith(u'0'))
        fraction.chop(1);
    if (s.thousands)
        integer = groupThousands(integer);

    QString number = integer;
    if (!fraction.isEmpty())
        number += u'.' + fraction;
    if (withSign && rounded != 0)
        number.prepend(u'-');
    return s.prefix + number + s.suffix;
}

QString formatText(const QString &text, const QString &mask)
{
    const QStringList fields = mask.split(u';');
    const QString pattern = fields.value(0);
    const bool textHasLiterals = fields.size() > 1 && fields[1].trimmed() != QLatin1String("0");
    enum class Case { Keep, Upper, Lower } letterCase = Case::Keep;
    QString out;
    qsizetype t = 0;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        QChar c = pattern[i];
        if (c == u'!')
            continue;
        if (c == u'<' && i + 1 < pattern.size() && pattern[i + 1] == u'>') {
            letterCase = Case::Keep;
            ++i;
            continue;
        }
        if (c == u'>' || c == u'<') {
            letterCase = c == u'>' ? Case::Upper : Case::Lower;
            continue;
        }
        bool literal = !isPlaceholder(c);
        if (c == u'\\' && i + 1 < pattern.size()) {
            c = pattern[++i];
            literal = true;
        }
        if (literal) {
            out += c;
            if (textHasLiterals && t < text.size() && text[t] == c)
                ++t;
            continue;
        }
        QChar taken = t < text.size() ? text[t++] : QChar(u' ');
        if (letterCase == Case::Upper)
            taken = taken.toUpper();
        else if (letterCase == Case::Lower)
            taken = taken.toLower();
        out += taken;
    }
    return out;
}

QString apply(const QString &text, const QString &mask)
{
    if (mask.isEmpty() || text.isEmpty())
        return text;
    if (looksNumeric(text)) {
        bool ok = false;
        const double value = text.toDouble(&ok);
        if (ok)
            return formatNumber(value, mask);
    }
    return formatText(text, mask);
}

} // namespace DisplayMask
