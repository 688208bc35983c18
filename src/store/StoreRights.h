#pragma once

#include <QString>

class TDMdata;

// What the login of a server store may do with the ten tables: a login
// that connects but may not read and write them (or create them in a new
// database) cannot keep the ledger, and is told so before the store is
// taken into use.
namespace StoreRights {

// Empty when the login has every right it needs (or the store is local or
// opened only to read); otherwise the message naming what it lacks.
// Throws StoreError.
QString missingRights(TDMdata &dm);

} // namespace StoreRights
