#pragma once

#include "CollectorRecord.h"
#include "TableImage.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// How a PC rule turns the record's Contents into its field.
enum class PcConversion {
    Text, // Contents as it is
    Integer, // decimal integer; unreadable: the field keeps its value
    KbInteger, // Integer, times 1024 for unit "MB"; the unit field becomes "KB"
    Float, // decimal number; unreadable: the field keeps its value
    Flag, // Integer, only when Contents is digits only
    WindowsVersion, // Text, then Win_Type and SP from the stored version
    IpAddress, // Text, and IP16 from it
};

// One row of the PC mapping: which records (Group, Item, SubItem) feed
// which PC field, and how.
struct PcRule
{
    int number; // position in the table, from 1
    QString group;
    QStringList items; // one of these
    QStringList subItems; // one of these; empty: any SubItem, not read
    PcConversion conversion;
    QString field; // PC column
    QString unitField; // Integer, Float: receives Unit; KbInteger: "KB"
};

// The 80 PC rules, in the order they are applied.
const QVector<PcRule> &PcRuleTable();

// The PC rules bound to the columns of the PC table.
class PcRules
{
public:
    explicit PcRules(const TableImage &pc);

    // Applies every matching rule, in table order, to the PC row. Throws
    // ImportError when a rule reads a field the record does not have
    // outside a conversion.
    void apply(const CollectorRecord &record, TableImage::Row &row) const;

private:
    struct Bound
    {
        const PcRule *rule;
        int field;
        int unitField; // -1 for none
    };

    void applyOne(const Bound &b, const CollectorRecord &record, TableImage::Row &row) const;

    const TableImage &m_pc;
    QHash<QString, QVector<Bound>> m_byGroup; // rules of a Group, in table order
    int m_winType;
    int m_sp;
    int m_ip16;
};
