#pragma once

#include <QRect>
#include <cmath>

// Layout units: one unit is one screen pixel at 96 per inch, 3.78 units per
// millimetre. Pages, panels and items are placed in units; drawing turns
// them into device pixels at a scale (device pixels per unit).
namespace LayoutUnits {

constexpr int PerInch = 96;
constexpr int Per100mm = 378;

// The nearest integer, halves to even (2.5 -> 2, 3.5 -> 4).
inline int roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double fraction = value - floor;
    if (fraction > 0.5)
        return int(floor) + 1;
    if (fraction < 0.5)
        return int(floor);
    return std::fmod(floor, 2.0) == 0.0 ? int(floor) : int(floor) + 1;
}

// A unit value on the device: value × scale, rounded halves to even.
inline int toDevice(double units, double scale)
{
    return roundHalfEven(units * scale);
}

// Millimetres in units, rounded halves to even.
inline int fromMillimetres(double mm)
{
    return roundHalfEven(mm * Per100mm / 100.0);
}

// A font size in points (1/72 inch) as a character height in units.
inline int fromPoints(double points)
{
    return roundHalfEven(points * PerInch / 72.0);
}

} // namespace LayoutUnits
