#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

// Reading statement text: what lies in string literals, quoted names and
// comments is no statement text.
//
// Standard syntax (SQLite): '...' literals and "..." names with doubled
// quotes inside, /* ... */ and -- comments. PostgreSQL adds E'...' with
// backslash escapes, dollar quoting ($$...$$, $tag$...$tag$) and nested
// block comments.
namespace SqlText {

enum class Syntax { Standard, PostgreSQL };

// Where the literal, quoted name or comment that starts at position i ends
// (the position after it; the end of the text when it is never closed), or
// -1 when none starts there.
qsizetype quotedRunEnd(const QString &sql, qsizetype i, Syntax syntax);

// Calls visit(run, isCode) for consecutive runs of the statement: code
// runs, and literal/quoted/comment runs (with their delimiters and an E
// prefix). An unterminated literal or comment runs to the end.
template <typename Visit>
void forEachRun(const QString &sql, Visit visit, Syntax syntax = Syntax::Standard)
{
    const qsizetype n = sql.size();
    qsizetype codeStart = 0;
    qsizetype i = 0;
    while (i < n) {
        const qsizetype end = quotedRunEnd(sql, i, syntax);
        if (end < 0) {
            ++i;
            continue;
        }
        if (i > codeStart)
            visit(QStringView(sql).mid(codeStart, i - codeStart), true);
        visit(QStringView(sql).mid(i, end - i), false);
        i = end;
        codeStart = end;
    }
    if (n > codeStart)
        visit(QStringView(sql).mid(codeStart, n - codeStart), true);
}

// The literal, quoted name and comment runs of the statement, in order.
QStringList quotedRunsOf(const QString &sql, Syntax syntax = Syntax::Standard);

} // namespace SqlText
