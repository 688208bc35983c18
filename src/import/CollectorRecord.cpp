#include "CollectorRecord.h"

#include "base/TextHelpers.h"

namespace {

const char *fieldName(CollectorRecord::Field field)
{
    static const char *const names[]
        = {"Key", "Group", "Item", "SubItem", "Contents", "Unit", "Renewalday"};
    return names[field];
}

} // namespace

const QString &CollectorRecord::at(Field field) const
{
    if (!m_fields.has(field))
        throw ImportError(
            QStringLiteral("%1 の列がありません").arg(QLatin1String(fieldName(field))));
    return m_fields.at(field);
}

QDate CollectorRecord::renewalDate() const
{
    return ParseYMD(at(Renewalday));
}

QString TrimBlanks(const QString &text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin].unicode() <= 32)
        ++begin;
    while (end > begin && text[end - 1].unicode() <= 32)
        --end;
    if (begin == 0 && end == text.size())
        return text;
    return text.mid(begin, end - begin);
}
