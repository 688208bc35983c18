#pragma once

#include <QString>
#include <QStringView>

// Reading statement text: what lies in string literals ('...'), quoted
// names ("...") and comments (/* ... */, -- ...) is no statement text.
namespace SqlText {

// Calls visit(run, isCode) for consecutive runs of the statement: code
// runs, and literal/quoted/comment runs (with their delimiters). An
// unterminated literal or comment runs to the end. Doubled quotes stay
// inside their literal.
template <typename Visit> void forEachRun(const QString &sql, Visit visit)
{
    const qsizetype n = sql.size();
    qsizetype codeStart = 0;
    qsizetype i = 0;
    auto flushCode = [&](qsizetype end) {
        if (end > codeStart)
            visit(QStringView(sql).mid(codeStart, end - codeStart), true);
    };
    while (i < n) {
        const QChar c = sql[i];
        qsizetype end = -1;
        if (c == u'\'' || c == u'"') {
            qsizetype j = i + 1;
            while (j < n) {
                if (sql[j] == c) {
                    if (j + 1 < n && sql[j + 1] == c) {
                        j += 2;
                        continue;
                    }
                    break;
                }
                ++j;
            }
            end = qMin(j + 1, n);
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const qsizetype j = sql.indexOf(QLatin1String("*/"), i + 2);
            end = j < 0 ? n : j + 2;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const qsizetype j = sql.indexOf(u'\n', i);
            end = j < 0 ? n : j;
        }
        if (end < 0) {
            ++i;
            continue;
        }
        flushCode(i);
        visit(QStringView(sql).mid(i, end - i), false);
        i = end;
        codeStart = end;
    }
    flushCode(n);
}

} // namespace SqlText
