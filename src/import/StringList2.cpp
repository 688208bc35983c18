#include "StringList2.h"

namespace {

// Characters that are skipped before a field and around a separator.
bool isBlankOrControl(QChar ch)
{
    return ch.unicode() >= 1 && ch.unicode() <= 32;
}

} // namespace

void TStringList2::SplitRecord(QStringView line)
{
    m_fields.clear();
    const qsizetype nul = line.indexOf(QChar(0));
    if (nul >= 0)
        line = line.left(nul);
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n && isBlankOrControl(line[i]))
        ++i;
    while (i < n) {
        QString field;
        if (line[i] == u'"') {
            // Quoted: up to the next quote that is not doubled; a doubled
            // quote stands for one.
            ++i;
            while (i < n) {
                if (line[i] == u'"') {
                    if (i + 1 < n && line[i + 1] == u'"') {
                        field += u'"';
                        i += 2;
                        continue;
                    }
                    ++i; // the closing quote
                    break;
                }
                field += line[i];
                ++i;
            }
        } else {
            // Unquoted: up to a comma or a control character; blanks stay.
            const qsizetype start = i;
            while (i < n && line[i] != u',' && line[i].unicode() >= 32)
                ++i;
            field = line.mid(start, i - start).toString();
        }
        m_fields.append(field);
        while (i < n && isBlankOrControl(line[i]))
            ++i;
        if (i < n && line[i] == u',') {
            ++i;
            while (i < n && isBlankOrControl(line[i]))
                ++i;
        }
    }
}

QStringList SplitRecord(QStringView line)
{
    TStringList2 list;
    list.SplitRecord(line);
    return list.fields();
}
