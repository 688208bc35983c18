#pragma once

#include "store/Schema.h"

#include <QString>
#include <QStringList>

// The lists of the PC ledger window: the six detail queries of a PC and, for
// the four lists that the window edits, their table, name column and delete
// statement.
namespace LedgerLists {

enum class List { Drive, Printer, Appli, Share, Adapter, Memory };
// The lists the window edits through the detail dialogs.
constexpr List Editable[] = {List::Drive, List::Printer, List::Appli, List::Share};

// The list's statement, one parameter :Key.
QString statement(List list);

// For the editable lists.
TableId table(List list);
// The name column, the second key column of the table ("Drive", ...).
QString nameColumn(List list);
// The delete statement of one row, with :KEY and the name parameter.
QString deleteStatement(List list);
// The name parameter of the delete statement (":DRIVE", ":printer", ...).
QString deleteNameParameter(List list);

} // namespace LedgerLists
