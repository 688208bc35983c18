#include "StatementCheck.h"

#include "SqlText.h"

namespace StatementCheck {

QString firstWord(const QString &sql, SqlText::Syntax syntax)
{
    QString word;
    bool done = false;
    SqlText::forEachRun(
        sql,
        [&](QStringView run, bool isCode) {
            if (done) // the first word ends at anything that is not code
                return;
            if (!isCode) {
                done = !word.isEmpty();
                return;
            }
            for (QChar c : run) {
                if (c.isLetterOrNumber() || c == u'_') {
                    word += c;
                } else if (!word.isEmpty()) {
                    done = true;
                    return;
                }
            }
        },
        syntax);
    return word.toUpper();
}

bool hasSeveralStatements(const QString &sql, SqlText::Syntax syntax)
{
    bool afterSemicolon = false;
    bool several = false;
    SqlText::forEachRun(
        sql,
        [&](QStringView run, bool isCode) {
            if (several || (!afterSemicolon && !isCode))
                return;
            if (!isCode) {
                // A literal or quoted name after a semicolon starts another
                // statement; a comment does not.
                several = run.startsWith(u'\'') || run.startsWith(u'"');
                return;
            }
            for (QChar c : run) {
                if (afterSemicolon && !c.isSpace() && c != u';') {
                    several = true;
                    return;
                }
                if (c == u';')
                    afterSemicolon = true;
            }
        },
        syntax);
    return several;
}

bool isOneSelect(const QString &sql, SqlText::Syntax syntax)
{
    return firstWord(sql, syntax) == QLatin1String("SELECT") && !hasSeveralStatements(sql, syntax);
}

} // namespace StatementCheck
