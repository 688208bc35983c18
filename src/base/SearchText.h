#pragma once

#include <QString>
#include <QStringList>

// The matching rules of every search box: a text and a query are compared
// in one normal form, in which full-width and half-width letters, digits
// and kana are one form (NFKC), katakana are hiragana, letters have no case
// and a MAC address is found whatever separators it is written with.
namespace SearchText {

// The normal form of a text: NFKC, case folded, katakana as hiragana.
QString normalized(QStringView text);

// The form in which a stored value is searched: its normal form, and for a
// value that is a MAC address (six pairs of hexadecimal digits joined by
// "-", ":" or ".", or three groups of four joined by ".") also its digits
// without separators, after FieldAliasMark. A query word never holds
// FieldAliasMark, so it never matches across the two.
QString fieldText(QStringView value);
inline constexpr QChar FieldAliasMark = QChar(0x0002);

// A query word that looks like a MAC address or part of one (at least three
// pairs joined by "-", ":" or ".", or at least two groups of four joined by
// "."), in its normal form: the same digits without the separators.
// Anything else: empty.
QString macDigits(QStringView normalizedWord);

// A query: the typed text split into words at white space (full-width
// spaces included); a text matches when it contains every word.
class Query
{
public:
    Query() = default;
    explicit Query(QStringView typed);

    bool isEmpty() const { return m_words.isEmpty(); }
    int wordCount() const { return int(m_words.size()); }
    // Whether word i occurs in text (a fieldText, or several joined).
    // From: where to start looking; returns the position of the hit, -1
    // when none.
    qsizetype findWord(int i, QStringView text, qsizetype from = 0) const;
    // Whether the field text (a fieldText) holds every word.
    bool matchesAll(QStringView text) const;
    // Whether a record matches: every word occurs in one of its fields
    // (fieldTexts), each word in any of them.
    bool matchesRecord(const QStringList &fieldTexts) const;

private:
    struct Word
    {
        QString text;
        QString macDigits; // empty unless the word looks like a MAC
    };
    QList<Word> m_words;
};

} // namespace SearchText
