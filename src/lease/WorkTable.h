#pragma once

#include <QSqlQuery>
#include <QVariantMap>
#include <QVector>

class TDMdata;

// Statements on the working tables of the lease window, which live in the
// store's private in-memory database.
namespace WorkTable {

// Drops the table if it exists and creates it anew. Throws StoreError.
void recreate(TDMdata &dm, const QString &name, const QString &columns);

// Prepares, binds and executes a statement on the in-memory database.
// Throws StoreError.
QSqlQuery exec(TDMdata &dm, const QString &sql, const QVariantMap &params = {});

// Executes one prepared statement once per parameter set, all in one
// transaction: all rows or, on an error, none. Throws StoreError.
void execEach(TDMdata &dm, const QString &sql, const QVector<QVariantMap> &rows);

// A date as the working tables keep it (ISO text, so that text order is
// date order), and back.
QVariant dateValue(const QDate &date);
QDate dateOf(const QVariant &value);

} // namespace WorkTable
