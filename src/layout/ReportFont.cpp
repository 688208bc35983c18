#include "ReportFont.h"

#include "LayoutUnits.h"

namespace ReportFont {

QString fixedPitchFamily()
{
    return QStringLiteral("IPAGothic");
}

QString proportionalFamily()
{
    return QStringLiteral("IPAPGothic");
}

namespace {

QFont face(const QString &family, QFont::StyleHint hint, int unitHeight, bool bold)
{
    QFont font(family);
    font.setStyleHint(hint);
    font.setPixelSize(qMax(1, unitHeight));
    font.setBold(bold);
    // The same advances on the screen and on the printer.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

} // namespace

QFont gothic(int unitHeight, bool bold)
{
    return face(fixedPitchFamily(), QFont::TypeWriter, unitHeight, bold);
}

QFont proportional(int unitHeight, bool bold)
{
    return face(proportionalFamily(), QFont::SansSerif, unitHeight, bold);
}

QFont scaled(const QFont &unitFont, double scale)
{
    QFont font(unitFont);
    font.setPixelSize(qMax(1, LayoutUnits::toDevice(unitFont.pixelSize(), scale)));
    return font;
}

} // namespace ReportFont
