#pragma once

#include <QFont>
#include <QHash>
#include <QRawFont>
#include <QString>

// The advances of characters in a font, unhinted (design metrics), so that
// widths measured in layout units scale exactly to any device. Characters
// are measured once per font.
class TextMeasure
{
public:
    // The measure of a font (its pixel size in layout units); kept per
    // font for the thread's lifetime (the main thread's until the
    // application goes).
    static TextMeasure &of(const QFont &font);

    explicit TextMeasure(const QFont &font);

    const QRawFont &rawFont() const { return m_raw; }
    // The advance of one character (a surrogate pair stays one).
    double width(const QString &character);

private:
    QRawFont m_raw;
    QHash<QString, double> m_widths;
};
