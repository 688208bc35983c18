#include "Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

// Characters that code page 932 cannot represent are written as "?" (one
// byte), as Windows does with its default character. ICU would emit its own
// substitute 0xFC 0xFC, which reads back as garbage, so such characters are
// replaced here one by one. Widths and truncation count the same "?", so a
// value that was cut to a width still fits after it has been encoded.

namespace {

constexpr auto CodecName = "windows-31j";

bool isTurnedControl(char16_t code)
{
    return code == 0x1A || code == 0x1C || code == 0x7F;
}

bool hasTurnedControl(const QByteArray &bytes)
{
    for (char byte : bytes) {
        if (isTurnedControl(static_cast<unsigned char>(byte)))
            return true;
    }
    return false;
}

bool hasTurnedControl(const QString &text)
{
    for (QChar ch : text) {
        if (isTurnedControl(ch.unicode()))
            return true;
    }
    return false;
}

QString decodeRun(const QByteArray &bytes)
{
    QStringDecoder decoder(CodecName, QStringConverter::Flag::Stateless);
    QString text = decoder.decode(bytes);
    // ICU gives U+FFFD for a pair of bytes of the right form that names no
    // character (0x83 0xDF); like any other byte that is no character, it
    // reads as U+001A.
    text.replace(QChar::ReplacementCharacter, QChar(0x1A));
    return text;
}

bool isAscii(const QString &text)
{
    for (QChar ch : text) {
        if (ch.unicode() >= 0x80)
            return false;
    }
    return true;
}

// The bytes of one code point (one or two UTF-16 units), or "?" when the code
// page has no such character.
QByteArray encodeCodePoint(QStringView codePoint)
{
    if (codePoint.size() == 1 && codePoint.front().unicode() < 0x80)
        return QByteArray(1, char(codePoint.front().unicode()));
    QStringEncoder encoder(CodecName, QStringConverter::Flag::Stateless);
    QByteArray bytes = encoder.encode(codePoint);
    if (encoder.hasError() || bytes.isEmpty())
        return QByteArrayLiteral("?");
    return bytes;
}

// Length of the code point starting at index i: 2 for a surrogate pair.
qsizetype codePointLength(const QString &text, qsizetype i)
{
    if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
        return 2;
    return 1;
}

int codePointBytes(QStringView codePoint)
{
    const char16_t first = codePoint.front().unicode();
    if (first < 0x80)
        return 1;
    if (first >= 0xFF61 && first <= 0xFF9F) // half-width katakana
        return 1;
    return int(encodeCodePoint(codePoint).size());
}

} // namespace

namespace Cp932 {

QByteArray encode(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();

    QByteArray bytes;
    if (!hasTurnedControl(text)) {
        QStringEncoder encoder(CodecName, QStringConverter::Flag::Stateless);
        bytes = encoder.encode(text);
        if (!encoder.hasError())
            return bytes;
        bytes.clear();
    }

    // Some character has no code, or is a control code ICU turns around:
    // encode one by one, substituting "?".
    for (qsizetype i = 0; i < text.size();) {
        const qsizetype len = codePointLength(text, i);
        bytes += encodeCodePoint(QStringView(text).mid(i, len));
        i += len;
    }
    return bytes;
}

QString decode(const QByteArray &bytes)
{
    if (!hasTurnedControl(bytes))
        return decodeRun(bytes);
    // The runs between the three control codes. A run that ends in a lead
    // byte is decoded with a blank after it, as the control code that
    // follows would be: the lead byte then reads as U+001A, like any byte
    // that is no character, instead of being dropped.
    QString text;
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto code = static_cast<unsigned char>(bytes[i]);
        if (!isTurnedControl(code))
            continue;
        text += decodeRun(bytes.mid(start, i - start) + ' ').chopped(1);
        text += QChar(char16_t(code));
        start = i + 1;
    }
    text += decodeRun(bytes.mid(start));
    return text;
}

bool roundTrips(const QString &text)
{
    return isAscii(text) || decode(encode(text)) == text;
}

int byteLength(const QString &text)
{
    if (isAscii(text))
        return int(text.size());
    return int(encode(text).size());
}

QString truncate(const QString &text, int maxBytes)
{
    if (maxBytes <= 0)
        return QString();
    if (text.size() <= maxBytes && isAscii(text))
        return text;
    // No character takes more than two bytes: most texts fit without
    // asking the converter.
    if (text.size() * 2 <= maxBytes)
        return text;
    if (byteLength(text) <= maxBytes)
        return text;

    int used = 0;
    qsizetype i = 0;
    while (i < text.size()) {
        const qsizetype len = codePointLength(text, i);
        const int bytes = codePointBytes(QStringView(text).mid(i, len));
        if (used + bytes > maxBytes)
            break;
        used += bytes;
        i += len;
    }
    return text.left(i);
}

QByteArray utf8Mark()
{
    return QByteArrayLiteral("\xEF\xBB\xBF");
}

QByteArray encodeFile(const QString &text)
{
    return roundTrips(text) ? encode(text) : utf8Mark() + text.toUtf8();
}

QString decodeFile(const QByteArray &bytes)
{
    if (bytes.startsWith(utf8Mark())) {
        // Past the mark, a text that itself starts with U+FEFF keeps it.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
        return utf8(QByteArrayView(bytes).sliced(utf8Mark().size()));
    }
    return decode(bytes);
}

} // namespace Cp932
