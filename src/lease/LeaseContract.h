#pragma once

#include "base/InputError.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariant>
#include <QVariantMap>
#include <QVector>

class QSqlRecord;

// A contract's key: lease company and contract number.
struct LeaseKey
{
    QString lease;
    QString leaseNo;

    friend bool operator==(const LeaseKey &, const LeaseKey &) = default;
};
size_t qHash(const LeaseKey &key, size_t seed = 0);

// One payment of a contract's schedule; an amount without a value is a
// null QVariant.
struct ScheduleRow
{
    QDate date;
    QVariant kingaku;
    QVariant zei;
    QVariant hosyuryo;
};

// A contract as the lease window edits it: one text per field, converted to
// the columns' types only when saving.
namespace LeaseContract {

enum class Kind { Text, Date, Term, Amount };

struct Field
{
    QString column;
    QString label; // the label in the window, used in messages
    Kind kind;
};

// The fields in the order of the window and of the statements (the time
// stamp is not among them).
const QVector<Field> &fields();

// The texts of the fields by column name.
using Texts = QHash<QString, QString>;

// A text that its field cannot take; names the field's column.
class FieldError : public InputError
{
public:
    FieldError(const QString &column, const QString &message)
        : InputError(message), m_column(column)
    { }
    QString column() const { return m_column; }

private:
    QString m_column;
};

// The key of the texts as the store keeps them: CP932 twins in place of
// their characters, cut to the key columns' widths (for looking up a key
// while it is typed; SetLeaseParams refuses a key that is too long).
LeaseKey keyOf(const QString &lease, const QString &leaseNo);

// The parameters of the contract's statements by column name: texts as
// typed (with CP932 twins, EntryText), dates (null when empty), the term
// (null when empty) and the amounts (0 when empty), and UpdateTime = now.
// Throws FieldError for an empty key, a text with a character CP932 lacks
// or longer than its column, a date that does not read, a term or amount
// that is not a whole number of digits or too large.
QVariantMap SetLeaseParams(const Texts &texts, const QDateTime &now);

// A Lease row as the window's texts: dates yyyy/mm/dd, numbers plainly,
// empty for no value.
Texts textsOf(const QSqlRecord &record);

} // namespace LeaseContract
