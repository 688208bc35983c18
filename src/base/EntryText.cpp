#include "EntryText.h"

#include "Cp932.h"
#include "InputError.h"

#include <QList>

namespace {

// Characters that input methods and other systems type for a character of
// CP932, and that character.
struct Twin
{
    char16_t typed;
    char16_t stored;
};

constexpr Twin Twins[] = {
    {0x301C, 0xFF5E}, // WAVE DASH → FULLWIDTH TILDE
    {0x2016, 0x2225}, // DOUBLE VERTICAL LINE → PARALLEL TO
    {0x2212, 0xFF0D}, // MINUS SIGN → FULLWIDTH HYPHEN-MINUS
    {0x00A2, 0xFFE0}, // CENT SIGN → FULLWIDTH CENT SIGN
    {0x00A3, 0xFFE1}, // POUND SIGN → FULLWIDTH POUND SIGN
    {0x00AC, 0xFFE2}, // NOT SIGN → FULLWIDTH NOT SIGN
    {0x2014, 0x2015}, // EM DASH → HORIZONTAL BAR
};

} // namespace

namespace EntryText {

QString withCp932Twins(const QString &text)
{
    QString result = text;
    for (QChar &ch : result) {
        for (const Twin &twin : Twins) {
            if (ch.unicode() == twin.typed) {
                ch = QChar(twin.stored);
                break;
            }
        }
    }
    return result;
}

QString firstForeignCharacter(const QString &text)
{
    if (Cp932::roundTrips(text))
        return QString();
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype length
            = text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()
            ? 2
            : 1;
        const QString character = text.mid(i, length);
        if (!Cp932::roundTrips(character))
            return character;
        i += length;
    }
    return QString();
}

QString checked(const QString &caption, const QString &text, int maxBytes)
{
    const QString stored = withCp932Twins(text);
    const QString foreign = firstForeignCharacter(stored);
    if (!foreign.isEmpty())
        throw InputError(foreignCharacterText(caption, foreign));
    if (maxBytes > 0 && Cp932::byteLength(stored) > maxBytes)
        throw InputError(tooLongText(caption, maxBytes));
    return stored;
}

QString foreignCharacterText(const QString &caption, const QString &character)
{
    const char32_t code = character.toUcs4().value(0);
    return QStringLiteral("「%1」に Shift-JIS で表せない文字「%2」(U+%3) があります")
        .arg(caption, character,
             QStringLiteral("%1").arg(uint(code), 4, 16, QLatin1Char('0')).toUpper());
}

QString tooLongText(const QString &caption, int maxBytes)
{
    return QStringLiteral("「%1」は半角%2文字（全角%3文字）までです")
        .arg(caption)
        .arg(maxBytes)
        .arg(maxBytes / 2);
}

} // namespace EntryText
