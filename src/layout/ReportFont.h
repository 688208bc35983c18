#pragma once

#include <QFont>
#include <QString>

// The faces of printed sheets, chosen here and nowhere else: the IPA gothics
// that the setup installs, which the PDF output embeds. The fixed-pitch one
// sets half-width characters half an em wide and full-width ones a whole
// em; the proportional one is for lists.
namespace ReportFont {

QString fixedPitchFamily();
QString proportionalFamily();

// The gothic face with a character height of unitHeight layout units (the
// font's pixel size while it is in units; drawing scales it to the device).
QFont gothic(int unitHeight, bool bold = false);
// The proportional gothic face, likewise.
QFont proportional(int unitHeight, bool bold = false);

// A font of layout units drawn at a scale: its pixel size scaled, halves to
// even, at least one pixel.
QFont scaled(const QFont &unitFont, double scale);

} // namespace ReportFont
