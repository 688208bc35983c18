#pragma once

#include <QString>
#include <QStringList>

class TDMdata;

// Deleting PCs with all their detail rows.
namespace PcDeletion {

// The question asked before deleting these keys (in list order): the first
// key, for several PCs "、" and "他n台", then the warning. Lines break with
// LF CR.
QString confirmationText(const QStringList &keys);

// The statements run for each key, in order: the detail tables, then PC.
// The lease tables are left alone: a contract keeps the rows naming a
// deleted PC.
QStringList statements();

// The rows that belong to one PC beside its PC row: its detail rows, and
// the lease contracts' rows that name it as a covered PC.
struct RelatedRows
{
    int details = 0;
    int leases = 0;
};
// How many there are in the store. Throws StoreError.
RelatedRows relatedRows(TDMdata &dm, const QString &key);
// The statements deleting them (parameter :KEY), for a PC row deleted in
// the table maintenance window.
QStringList relatedStatements();
// The question asked before deleting one PC row with its rows: the key,
// the warning, the counts, lines broken with LF CR.
QString confirmationText(const QString &key, const RelatedRows &rows);

// Deletes the PCs in one transaction; on any failure the transaction is
// rolled back (no PC of the batch is deleted) and StoreError is thrown,
// ClaimError when another copy of the program is editing one of them.
void deletePcs(TDMdata &dm, const QStringList &keys);

} // namespace PcDeletion
