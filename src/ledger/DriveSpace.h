#pragma once

#include <QString>
#include <optional>

// The space rules of a drive row: after each new value the used and the
// free space add up to the total. The three numbers are compared as they
// stand (units are not taken into account); no value counts as 0.
struct DriveSpace
{
    qint64 capa = 0;
    qint64 used = 0;
    qint64 free = 0;

    bool operator==(const DriveSpace &) const = default;

    enum class Column { Capa, Used, Free };

    // The numbers after a new value of one column: a new total cuts the used
    // space to it and gives the rest as free space; a new used (free) space
    // gives the rest of the total as free (used) space. None when the value
    // is refused: a used or free space above the total, or one whose rest
    // would be above the total (a negative value).
    std::optional<DriveSpace> changed(Column column, qint64 value) const;

    // The message of a refused value.
    static QString refusedText();
};
