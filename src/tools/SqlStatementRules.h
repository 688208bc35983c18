#pragma once

#include "store/SqlText.h"

#include <QString>

// What the SQL window does with the statement typed into it. Only the first
// word of the first line decides: statements that change the structure are
// refused, a SELECT runs as a read-only query, DELETE/UPDATE/INSERT run
// after a confirmation, anything else is refused. A text that holds more
// than one statement is refused as well, so that a harmless first word
// cannot carry a second statement past these rules, and so is a text that
// holds a NUL character, where the engines would stop reading.
namespace SqlStatementRules {

enum class Action {
    Refuse, // an error box with the decision's message; nothing runs
    Query, // a read-only SELECT whose rows the grid shows
    Change, // runs after the OK/Cancel confirmation
};

struct Decision
{
    Action action = Action::Refuse;
    QString message; // the error box text when refused
};

// syntax: how the store's engine quotes, so that a semicolon inside a
// PostgreSQL dollar-quoted literal is no second statement.
Decision decide(const QString &statement, SqlText::Syntax syntax = SqlText::Syntax::Standard);

// The first line of the text without the blanks and control characters
// around it; empty for an empty text.
QString firstLine(const QString &statement);

// The question asked before a statement that may change data.
QString confirmationText();

// The texts of the refusals.
QString createRefused();
QString alterRefused();
QString dropRefused();
QString syntaxError();

} // namespace SqlStatementRules
