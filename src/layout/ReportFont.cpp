#include "ReportFont.h"

#include "LayoutUnits.h"

namespace ReportFont {

QString fixedPitchFamily()
{
    return QStringLiteral("IPAGothic");
}

QFont gothic(int unitHeight, bool bold)
{
    QFont font(fixedPitchFamily());
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(qMax(1, unitHeight));
    font.setBold(bold);
    // The same advances on the screen and on the printer.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setKerning(false);
    return font;
}

QFont scaled(const QFont &unitFont, double scale)
{
    QFont font(unitFont);
    font.setPixelSize(qMax(1, LayoutUnits::toDevice(unitFont.pixelSize(), scale)));
    return font;
}

} // namespace ReportFont
