#pragma once

#include <QString>
#include <memory>

class StoreStatement;
class TDMdata;

// A statement of the system on the libpq connection behind the store's Qt
// connection to a PostgreSQL server, prepared once on the server.
std::unique_ptr<StoreStatement> preparePostgresStatement(TDMdata &dm, const QString &sql);
