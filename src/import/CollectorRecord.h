#pragma once

#include "ImportError.h"
#include "StringList2.h"

#include <QDate>

// Positional access to the fields of one split record. Reading a field
// that the record does not have raises ImportError: the rule that reads it
// fails, and with it the file.
class CollectorRecord
{
public:
    enum Field { Key = 0, Group, Item, SubItem, Contents, Unit, Renewalday };

    explicit CollectorRecord(const TStringList2 &fields) : m_fields(fields) { }

    bool has(Field field) const { return m_fields.has(field); }
    // Throws ImportError when the record has no such field.
    const QString &at(Field field) const;

    const QString &key() const { return at(Key); }
    const QString &group() const { return at(Group); }
    const QString &item() const { return at(Item); }
    const QString &subItem() const { return at(SubItem); }
    const QString &contents() const { return at(Contents); }
    const QString &unit() const { return at(Unit); }
    // ParseYMD of the Renewalday field.
    QDate renewalDate() const;

private:
    const TStringList2 &m_fields;
};

// The text without blanks and control characters (codes 0 to 32) at both
// ends; other white space, such as the full-width blank, stays.
QString TrimBlanks(const QString &text);
