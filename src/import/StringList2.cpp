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
    // The fields' strings are reused from one line to the next: a field no
    // one else holds keeps its buffer, so most lines allocate nothing.
    qsizetype count = 0;
    const auto nextField = [&]() -> QString & {
        if (count == m_fields.size())
            m_fields.emplace_back();
        QString &field = m_fields[count++];
        field.resize(0);
        return field;
    };
    const qsizetype nul = line.indexOf(QChar(0));
    if (nul >= 0)
        line = line.left(nul);
    const qsizetype n = line.size();
    qsizetype i = 0;
    while (i < n && isBlankOrControl(line[i]))
        ++i;
    while (i < n) {
        QString &field = nextField();
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
            field.append(line.mid(start, i - start));
        }
        while (i < n && isBlankOrControl(line[i]))
            ++i;
        if (i < n && line[i] == u',') {
            ++i;
            while (i < n && isBlankOrControl(line[i]))
                ++i;
        }
    }
    m_fields.resize(count);
}

QStringList SplitRecord(QStringView line)
{
    TStringList2 list;
    list.SplitRecord(line);
    return list.fields();
}
