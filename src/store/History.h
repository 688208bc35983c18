#pragma once

#include "Schema.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

// The history of the PCs' data (Schema::historyTable): what the lines say
// and how a change becomes lines. HistoryRecorder writes them,
// HistoryReader reads them.
//
// A line is one changed value (ColumnName set), or one added or removed
// row (ColumnName empty, NewValue "追加" or "削除"). A PC added or deleted
// as a whole is one line of table PC; its detail rows make no lines.
namespace History {

// The operations that change the PCs' data.
QString importing(); // 取込: the import of collector files and its network selection
QString manual(); // 手入力: the ledger window, the dialogs, the corrections, the grid
QString restoring(); // 復元: a dump loaded in place of a table
QString merging(); // 統合: two PCs made one
QString deleting(); // 削除: PCs deleted from the list
QStringList operations();

// NewValue of a whole-row line.
QString addedText();
QString removedText();

// Whether a column's changes are recorded: not the stamps that every write
// sets (UpdateYMD, InvaroYMD, AddYMD) nor the printer's marker column.
bool isTracked(const ColumnDef &column);

// The user of the operating system and the computer: "user@computer".
QString who();

struct ColumnChange
{
    QString column;
    QString oldValue;
    QString newValue;
};

// The tracked columns whose values differ between two rows, each row's
// values given in the order of columns (typed, or as the store gives
// them), compared by their texts.
QVector<ColumnChange> changes(const QVector<ColumnDef> &columns, const QVector<QVariant> &before,
                              const QVector<QVariant> &after);

// The row's name in a line: its second key value (application, printer,
// drive, share, adapter or memory module number); empty for the PC row.
QString rowName(const TableDef &table, const QVector<QVariant> &row);

} // namespace History
