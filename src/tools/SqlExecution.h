#pragma once

#include <QString>

class TDMdata;

namespace SqlExecution {

// Runs one statement that changes data (DELETE, UPDATE, INSERT) in a
// transaction of its own and commits it; on an error nothing of it stays.
// Throws StoreError with the store's text.
void executeChange(TDMdata &dm, const QString &statement);

} // namespace SqlExecution
