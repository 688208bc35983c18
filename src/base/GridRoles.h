#pragma once

#include <Qt>

// Item data roles shared by the grids' models.
namespace GridRoles {

// The value as plain text for copying: text as stored, numbers without
// thousands separators, dates in the short date form, empty for no value.
// Models that do not provide it are copied from their display text.
constexpr int PlainText = Qt::UserRole + 1;

} // namespace GridRoles
