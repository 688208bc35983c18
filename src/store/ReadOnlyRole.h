#pragma once

#include <QString>

class TDMdata;

// What keeps a query typed by the user from writing on a PostgreSQL store.
// A read-only transaction alone does not: functions that open their own
// connection (dblink) or act outside the transaction (lo_export, replication
// slots) pass it, and a SET ROLE inside the transaction can be undone by
// the query itself (set_config('role', ...)).
//
// So the table check makes a role of the store's own, "orvane_read_" and
// the database name, that cannot log in and may only read the ten tables,
// and two functions owned by it and run with its rights (SECURITY
// DEFINER): one opens the query as a cursor, the other fetches its rows
// value by value. Inside such a function the server refuses any change of
// role or session user, so the query keeps the role's rights to the end.
// Where the role cannot be had, a query runs in the read-only transaction
// of the login only when that login could not write past it either (no
// superuser or replication rights, no dblink or postgres_fdw in the
// database); otherwise it is refused.
namespace ReadOnlyRole {

// The role of a database (at most 63 bytes, as the server keeps names).
QString roleName(const QString &database);

// Makes or completes the role, its grants and the two functions, inside
// the running table check. A login that may not do so (no right to create
// roles or to grant on the tables) leaves the store without them; queries
// then follow the rules above. Throws StoreError only when the connection
// fails.
void install(TDMdata &dm);

// For the query's own connection, in its read-only transaction.
// The probe takes the role's name as $1 and returns four booleans, as in
// Probe.
QString probeStatement();
struct Probe
{
    bool installed = false; // the role and its functions, for this login
    bool harmless = false; // the role may write nowhere
    bool privilegedLogin = false; // a superuser, or one that may replicate
    bool linksInstalled = false; // dblink or postgres_fdw is in the database

    bool usable() const { return installed && harmless; }
    // Without the role a query runs as the login, if that cannot write
    // past the read-only transaction either.
    bool refused() const { return !usable() && (installed || privilegedLogin || linksInstalled); }
};
// Opens the cursor over wrapped(...) given as $1.
QString openStatement();
// Returns the values of the next rows, one per row of its result, the
// values of each row in column order: at most $1 rows and about $2 bytes;
// $3 holds each column's largest value in bytes (a larger one stops it
// with valueTooLargeState()).
QString fetchStatement();
QByteArray valueTooLargeState();
// The user's statement with its columns as text: an array per row.
QString wrapped(const QString &statement, int columns);

// Why a query is refused.
QString refusalText(const Probe &probe, const QString &role);

} // namespace ReadOnlyRole
