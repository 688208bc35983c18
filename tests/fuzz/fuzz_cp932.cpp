// The CP932 codec, from both sides: the input as bytes of a file, and the
// same input read as UTF-16 units as a text to store.
//
// Rules: bytes below 0x80 read as themselves; bytes that decode without a
// fault decode the same after a round through encode; a text that round-trips comes back unchanged,
// and every text comes back unchanged from the file form (CP932, or UTF-8 behind its mark); widths
// count the encoded bytes, and truncate gives a head of the text that fits without splitting a
// character.

#include "FuzzSupport.h"
#include "base/Cp932.h"

namespace {

void checkBytes(const QByteArray &bytes)
{
    const QString text = Cp932::decode(bytes);
    bool ascii = true;
    for (char byte : bytes)
        ascii = ascii && static_cast<unsigned char>(byte) < 0x80;
    if (ascii)
        Fuzz::check(text == QString::fromLatin1(bytes),
                    QStringLiteral("a byte below 0x80 did not read as itself"));
    // Bytes that are no character read as U+001A, like the byte 0x1A.
    if (text.count(QChar(0x1A)) != bytes.count('\x1A'))
        return;
    Fuzz::check(Cp932::decode(Cp932::encode(text)) == text,
                QStringLiteral("valid CP932 changed by a round trip"));
    Fuzz::check(Cp932::roundTrips(text), QStringLiteral("decoded text does not round-trip"));
}

void checkText(const QString &text)
{
    const QByteArray encoded = Cp932::encode(text);
    Fuzz::check(Cp932::byteLength(text) == encoded.size(),
                QStringLiteral("byteLength is not the encoded size"));
    if (Cp932::roundTrips(text))
        Fuzz::check(Cp932::decode(encoded) == text, QStringLiteral("round trip changed the text"));
    // UTF-8 cannot carry a lone surrogate, which no real text holds.
    if (text.isValidUtf16())
        Fuzz::check(Cp932::decodeFile(Cp932::encodeFile(text)) == text,
                    QStringLiteral("file form changed the text"));

    for (int width : {0, 1, 2, 3, 7, 32, 255}) {
        const QString head = Cp932::truncate(text, width);
        Fuzz::check(text.startsWith(head), QStringLiteral("truncate is no head of the text"));
        Fuzz::check(Cp932::byteLength(head) <= width,
                    QStringLiteral("truncate exceeds %1 bytes").arg(width));
        const qsizetype cut = head.size();
        if (cut == text.size())
            continue;
        const bool pair = text.at(cut).isHighSurrogate() && cut + 1 < text.size()
            && text.at(cut + 1).isLowSurrogate();
        Fuzz::check(cut == 0 || !text.at(cut).isLowSurrogate()
                        || !text.at(cut - 1).isHighSurrogate(),
                    QStringLiteral("truncate splits a surrogate pair"));
        // The next character would not have fitted.
        Fuzz::check(Cp932::byteLength(text.left(cut + (pair ? 2 : 1))) > width,
                    QStringLiteral("truncate at %1 bytes cut too early").arg(width));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes = Fuzz::bytes(data, size);
    checkBytes(bytes);
    // The same bytes as UTF-16 units, lone surrogates included.
    QString text;
    for (size_t i = 0; i + 1 < size; i += 2)
        text += QChar(char16_t(data[i] | data[i + 1] << 8));
    checkText(text);
    return 0;
}
