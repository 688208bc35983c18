#pragma once

#include <QString>
#include <optional>

// The number readers of the import's conversions. Each gives no value when
// the text is not such a number; none of them raises.
namespace ValueReaders {

// A decimal integer with an optional sign that fits 32 bits.
std::optional<int> integer(const QString &text);
// A decimal number with "." as the decimal point and an optional sign and
// exponent; finite.
std::optional<double> decimal(const QString &text);
// A 64-bit value that fits 32 bits.
std::optional<int> fit32(qint64 value);
// The number times a factor, cut towards zero, when it fits 32 bits.
std::optional<int> scaled(double value, double factor);

} // namespace ValueReaders
