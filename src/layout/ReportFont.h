#pragma once

#include <QFont>
#include <QString>

// The face of printed sheets, chosen here and nowhere else: the IPA gothic
// that the setup installs (fixed-pitch: half-width characters half an em
// wide, full-width ones a whole em), which the PDF output embeds.
namespace ReportFont {

QString fixedPitchFamily();

// The gothic face with a character height of unitHeight layout units (the
// font's pixel size while it is in units; drawing scales it to the device).
QFont gothic(int unitHeight, bool bold = false);

// A font of layout units drawn at a scale: its pixel size scaled, halves to
// even, at least one pixel.
QFont scaled(const QFont &unitFont, double scale);

} // namespace ReportFont
