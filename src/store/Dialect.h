#pragma once

#include "Schema.h"
#include "SqlText.h"

#include <QSqlDatabase>
#include <QString>
#include <QStringList>
#include <QVector>

enum class Engine { SQLite, PostgreSQL };

// One clause of an ALTER TABLE as the system writes it.
struct AlterClause
{
    enum class Kind { Add, Redefine };
    Kind kind = Kind::Add;
    ColumnDef column;
};

// Everything that differs between the engines lives here. The system's
// statements are kept as written wherever both engines accept them.
class Dialect
{
public:
    explicit Dialect(Engine engine) : m_engine(engine) { }
    Engine engine() const { return m_engine; }

    // The column type as this engine declares it.
    QString columnType(const ColumnDef &column, int width) const;

    // The creation script translated for this engine: the clauses neither
    // engine knows are dropped, names are left unquoted (so every spelling
    // in later statements matches), types are mapped.
    QString createStatement(const TableDef &table) const;
    // The table's further indexes, one CREATE INDEX IF NOT EXISTS each.
    QStringList indexStatements(const TableDef &table) const;

    // The system's ALTER TABLE text (one statement, a clause per line).
    static QString alterScript(const QString &table, const QVector<AlterClause> &clauses);

    // Runs an ALTER TABLE with these clauses as one unit: PostgreSQL takes
    // one statement; SQLite gets one ALTER per added column inside a
    // transaction, and a REDEFINE becomes a change of the declared type in
    // its catalog (SQLite does not enforce widths). Throws StoreError.
    void executeAlter(QSqlDatabase &db, const QString &table,
                      const QVector<AlterClause> &clauses) const;

    // A statement of the system (SELECT/INSERT/UPDATE/DELETE) made fit for
    // this engine: on PostgreSQL the bare word user, which means the session
    // user there, is quoted as the column "user".
    QString translate(const QString &sql) const;

    // Our own SELECT with its ORDER BY at the end, sorting empty values (no
    // value) as SQLite does on every engine: first when ascending, last
    // when descending. PostgreSQL gets NULLS FIRST / NULLS LAST on each
    // item of the last ORDER BY outside parentheses.
    QString withSqliteNullOrder(const QString &sql) const;

    // How this engine quotes literals and names and writes comments.
    SqlText::Syntax syntax() const;

    // A name as this engine spells an identifier created unquoted.
    QString identifier(const QString &name) const;

private:
    Engine m_engine;
};
