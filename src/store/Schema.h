#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The one catalog of the store's tables: every table, column, type, width
// and key. Creation statements, width cutting, exports and dumps come from
// here.

enum class ColumnType { Character, Integer, Float, Date, Timestamp, Memo };

struct ColumnDef
{
    QString name;
    ColumnType type = ColumnType::Character;
    int width = 0; // bytes of CP932 for Character
    bool notNull = false;
    int createdWidth = 0; // width in the creation script when it differs
    bool inCreateScript = true; // false: only an upgrade adds the column
    bool identity = false; // numbered by the store on insert (History.Id)

    // "CHARACTER(32)", "INTEGER", ... as the system's statements write it.
    QString typeText(int overrideWidth = 0) const;
};

// The ten tables, then PcClaim: the claims between copies of the program
// on one SQLite store (see PcClaims.h), History: the changes made to the
// PCs' data (see HistoryRecorder.h), and DistinctPc: pairs of PCs the user
// said are not one PC (see ledger/DistinctPcs.h). None is one of the ten.
enum class TableId {
    PC,
    Appli,
    Printer,
    Drive,
    Share,
    LAN,
    PMEMORY,
    Lease,
    LeaseMesai,
    LeasePC,
    PcClaim,
    History,
    DistinctPc
};

// An index besides the primary key.
struct IndexDef
{
    QString name;
    QStringList columns;
};

struct TableDef
{
    TableId id;
    QString name; // as the creation script names it ("PC", "PMEMORY")
    QString openName; // as the table object opens it ("PC", "Pmemory")
    QString objectName; // "Tpc"
    QString scriptName; // "QpcCRT"
    QString description; // DESCRIPTION clause, empty for none
    QString checkStatus; // status text while the table check runs
    QStringList primaryKey;
    QVector<ColumnDef> columns;
    QVector<IndexDef> indexes;

    // Case-insensitive lookups; -1 / nullptr when absent.
    int indexOf(const QString &column) const;
    const ColumnDef *column(const QString &column) const;
    bool isKeyColumn(const QString &column) const;
};

namespace Schema {

// The ten tables in the order of the table check.
const QVector<TableDef> &tables();
// The table of claims that copies sharing a SQLite store hold on PCs. The
// table check creates it after the ten.
const TableDef &claimTable();
// The table of changes to the PCs' data, one line per changed value or per
// added or removed row. The table check creates it after the ten; an older
// program that knows nothing of it works on beside it.
const TableDef &historyTable();
// The pairs of PCs that look alike but that the user marked as two PCs, so
// the search for duplicates leaves them out. The table check creates it
// after the ten, like the history.
const TableDef &distinctPcTable();
const TableDef &table(TableId id);
// Whether the table holds a PC's rows: PC itself and its six detail tables
// (their key is the PC key). Claims on PCs and the history of changes
// cover these tables.
bool holdsPcRows(TableId id);
// Case-insensitive lookup by table name; nullptr when unknown.
const TableDef *find(const QString &name);

// The creation script as the system writes it (one statement, several
// lines), before any translation for an engine.
QString createScript(const TableDef &table);

} // namespace Schema
