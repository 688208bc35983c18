#pragma once

#include "SqlText.h"

#include <QString>

// Reading a statement typed by the user before it is sent: its first word
// and whether it holds more than one statement. These are friendly first
// refusals; the engine itself holds a statement to one (UserStatement).
namespace StatementCheck {

// The first word of the statement, upper-cased, after blanks and comments.
QString firstWord(const QString &sql, SqlText::Syntax syntax = SqlText::Syntax::Standard);
// True when the text holds more than one statement (a semicolon followed by
// anything but blanks and comments, outside literals and comments).
bool hasSeveralStatements(const QString &sql, SqlText::Syntax syntax = SqlText::Syntax::Standard);

// True when the text is one SELECT by these two checks.
bool isOneSelect(const QString &sql, SqlText::Syntax syntax = SqlText::Syntax::Standard);

} // namespace StatementCheck
