#include "DisplayFormat.h"

namespace DisplayFormat {

QString thousands(qlonglong value)
{
    if (value == 0)
        return QString();
    QString digits = QString::number(value < 0 ? -value : value);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, u',');
    return value < 0 ? u'-' + digits : digits;
}

} // namespace DisplayFormat
