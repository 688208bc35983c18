#pragma once

#include <QString>

// Number formats of the views.
namespace DisplayFormat {

// Format "#,#": thousands separators, no decimals, and nothing for 0
// ("1,234"; 0 gives the empty text; -1234 gives "-1,234").
QString thousands(qlonglong value);

} // namespace DisplayFormat
