#include "SqlText.h"

namespace SqlText {

namespace {

// A character of an unquoted name; PostgreSQL also takes $ after the first
// character and every character beyond ASCII.
bool isNameChar(QChar c)
{
    return c.isLetterOrNumber() || c == u'_' || c == u'$' || c.unicode() >= 0x80;
}

// Quoted with doubled quotes inside: '...' or "...".
qsizetype doubledQuoteEnd(const QString &sql, qsizetype i)
{
    const QChar quote = sql[i];
    qsizetype j = i + 1;
    while (j < sql.size()) {
        if (sql[j] == quote) {
            if (j + 1 < sql.size() && sql[j + 1] == quote) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return sql.size();
}

// E'...': a backslash escapes the character after it; a doubled quote
// stands for one. i is the position of the quote.
qsizetype escapeStringEnd(const QString &sql, qsizetype i)
{
    qsizetype j = i + 1;
    while (j < sql.size()) {
        if (sql[j] == u'\\') {
            j += 2;
            continue;
        }
        if (sql[j] == u'\'') {
            if (j + 1 < sql.size() && sql[j + 1] == u'\'') {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return sql.size();
}

// $tag$...$tag$ with an empty tag or one like a name (no digit first, no
// $); -1 when no dollar quote starts at i (a parameter $1, say).
qsizetype dollarQuoteEnd(const QString &sql, qsizetype i)
{
    qsizetype j = i + 1;
    while (j < sql.size() && sql[j] != u'$') {
        const QChar c = sql[j];
        const bool first = j == i + 1;
        if (!(c.isLetter() || c == u'_' || c.unicode() >= 0x80 || (!first && c.isDigit())))
            return -1;
        ++j;
    }
    if (j >= sql.size())
        return -1;
    const QStringView tag = QStringView(sql).mid(i, j - i + 1);
    const qsizetype close = sql.indexOf(tag, j + 1);
    return close < 0 ? sql.size() : close + tag.size();
}

// /* ... */, nested on PostgreSQL.
qsizetype blockCommentEnd(const QString &sql, qsizetype i, bool nested)
{
    int depth = 1;
    qsizetype j = i + 2;
    while (j < sql.size()) {
        if (nested && sql[j] == u'/' && j + 1 < sql.size() && sql[j + 1] == u'*') {
            ++depth;
            j += 2;
        } else if (sql[j] == u'*' && j + 1 < sql.size() && sql[j + 1] == u'/') {
            j += 2;
            if (--depth == 0)
                return j;
        } else {
            ++j;
        }
    }
    return sql.size();
}

} // namespace

qsizetype quotedRunEnd(const QString &sql, qsizetype i, Syntax syntax)
{
    const qsizetype n = sql.size();
    const QChar c = sql[i];
    const bool pg = syntax == Syntax::PostgreSQL;
    const bool afterName = i > 0 && isNameChar(sql[i - 1]);
    if (c == u'\'' || c == u'"')
        return doubledQuoteEnd(sql, i);
    if (c == u'/' && i + 1 < n && sql[i + 1] == u'*')
        return blockCommentEnd(sql, i, pg);
    if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
        const qsizetype j = sql.indexOf(u'\n', i);
        return j < 0 ? n : j;
    }
    if (pg && (c == u'e' || c == u'E') && i + 1 < n && sql[i + 1] == u'\'' && !afterName)
        return escapeStringEnd(sql, i + 1);
    if (pg && c == u'$' && !afterName)
        return dollarQuoteEnd(sql, i);
    return -1;
}

QStringList quotedRunsOf(const QString &sql, Syntax syntax)
{
    QStringList runs;
    forEachRun(
        sql,
        [&](QStringView run, bool isCode) {
            if (!isCode)
                runs << run.toString();
        },
        syntax);
    return runs;
}

} // namespace SqlText
