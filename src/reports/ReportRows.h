#pragma once

#include <QHash>
#include <QSqlQuery>
#include <QString>
#include <QVariant>
#include <QVector>

struct TableDef;

// The rows of one SELECT over a table or a join, read completely (so no
// statement stays open on the store), their values typed after the tables'
// catalog columns. Fields are looked up without regard to case, as
// PostgreSQL reports names in lower case.
class ReportRows
{
public:
    ReportRows() = default;

    // Executes a prepared statement whose parameters are bound and reads
    // its rows; the statement is finished afterwards. Throws StoreError.
    static ReportRows read(QSqlQuery &query, const TableDef &table);
    // The same over a join: a column is typed after the first of the
    // tables that has it, and a name the query gives twice is its first
    // column of that name. When only is not empty, just the columns it
    // names are kept.
    static ReportRows read(QSqlQuery &query, const QVector<const TableDef *> &tables,
                           const QStringList &only = {});

    int size() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    bool hasField(const QString &field) const;
    // null for no value or an unknown field.
    QVariant value(int row, const QString &field) const;
    // The value as text: text as stored, numbers plainly, dates in the
    // short date form; empty for no value.
    QString text(int row, const QString &field) const;

    static QString displayText(const QVariant &value);

private:
    QHash<QString, int> m_index; // lower-case name -> column
    QVector<QVector<QVariant>> m_rows;
};
