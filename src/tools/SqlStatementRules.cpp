#include "SqlStatementRules.h"

#include "store/StatementCheck.h"
#include "store/UserStatement.h"

namespace SqlStatementRules {

namespace {

bool isBlank(QChar c)
{
    return c.unicode() <= u' ';
}

} // namespace

QString createRefused()
{
    return QStringLiteral("CREATE操作は禁止です");
}

QString alterRefused()
{
    return QStringLiteral("ALTER操作は禁止です");
}

QString dropRefused()
{
    return QStringLiteral("DROP操作は禁止です");
}

QString syntaxError()
{
    return QStringLiteral("SQL文に誤りがあります");
}

QString confirmationText()
{
    return QStringLiteral("このSQLはﾃﾞｰﾀを変更する可能性があります\r\n続行しますか？");
}

QString firstLine(const QString &statement)
{
    qsizetype end = 0;
    while (end < statement.size() && statement[end] != u'\n' && statement[end] != u'\r')
        ++end;
    qsizetype from = 0;
    while (from < end && isBlank(statement[from]))
        ++from;
    while (end > from && isBlank(statement[end - 1]))
        --end;
    return statement.mid(from, end - from);
}

Decision decide(const QString &statement, SqlText::Syntax syntax)
{
    if (UserStatement::hasNul(statement))
        return {Action::Refuse, UserStatement::nulText()};
    const QString line = firstLine(statement);
    const QString six = line.left(6).toUpper();
    const QString five = line.left(5).toUpper();
    const QString four = line.left(4).toUpper();

    if (six == QLatin1String("CREATE"))
        return {Action::Refuse, createRefused()};
    if (five == QLatin1String("ALTER"))
        return {Action::Refuse, alterRefused()};
    if (four == QLatin1String("DROP"))
        return {Action::Refuse, dropRefused()};

    Action action = Action::Refuse;
    if (six == QLatin1String("SELECT"))
        action = Action::Query;
    else if (six == QLatin1String("DELETE") || six == QLatin1String("UPDATE")
             || six == QLatin1String("INSERT"))
        action = Action::Change;
    // One statement per run: whatever follows a semicolon (outside
    // literals and comments) would otherwise run unchecked.
    if (action == Action::Refuse || StatementCheck::hasSeveralStatements(statement, syntax))
        return {Action::Refuse, syntaxError()};
    return {action, QString()};
}

} // namespace SqlStatementRules
