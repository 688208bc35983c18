#include "LeaseContract.h"

#include "base/Cp932.h"
#include "base/DateEntry.h"
#include "base/DateText.h"
#include "base/EntryText.h"
#include "base/TextHelpers.h"
#include "store/Schema.h"
#include "store/StoreValue.h"

#include <QSqlRecord>
#include <limits>

size_t qHash(const LeaseKey &key, size_t seed)
{
    return qHashMulti(seed, key.lease, key.leaseNo);
}

namespace LeaseContract {

namespace {

// A whole number of digits that fits the 32-bit column; throws otherwise.
int digitsValue(const QString &text, const Field &field)
{
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    if (!IsDigits(text) || !ok || value > std::numeric_limits<qint32>::max())
        throw ConversionError(FieldErrorText::notInteger(text, field.label));
    return static_cast<int>(value);
}

QVariant paramOf(const Field &field, const QString &typed)
{
    const QString text = typed.trimmed();
    switch (field.kind) {
    case Kind::Text:
        return EntryText::checked(field.label, typed,
                                  Schema::table(TableId::Lease).column(field.column)->width);
    case Kind::Date:
        if (text.isEmpty())
            return QVariant(QMetaType(QMetaType::QDate));
        return QDate::fromString(NormalizeDateText(text), QStringLiteral("yyyy/MM/dd"));
    case Kind::Term:
        if (text.isEmpty())
            return QVariant(QMetaType(QMetaType::Int));
        return digitsValue(text, field);
    case Kind::Amount:
        return text.isEmpty() ? 0 : digitsValue(text, field);
    }
    return typed;
}

} // namespace

const QVector<Field> &fields()
{
    static const QVector<Field> all {
        {QStringLiteral("lease"), QStringLiteral("リース会社"), Kind::Text},
        {QStringLiteral("lease_No"), QStringLiteral("契約№"), Kind::Text},
        {QStringLiteral("KeiyakuYMD"), QStringLiteral("契約日"), Kind::Date},
        {QStringLiteral("kikan_tuki"), QStringLiteral("契約期間（月）"), Kind::Term},
        {QStringLiteral("kikan_start"), QStringLiteral("リース開始日"), Kind::Date},
        {QStringLiteral("kikan_end"), QStringLiteral("リース終了日"), Kind::Date},
        {QStringLiteral("Bukkenmei"), QStringLiteral("物件名"), Kind::Text},
        {QStringLiteral("urinusi"), QStringLiteral("売　主"), Kind::Text},
        {QStringLiteral("keiyaku_kingaku"), QStringLiteral("契約金額"), Kind::Amount},
        {QStringLiteral("bukken_kingaku"), QStringLiteral("物件金額"), Kind::Amount},
        {QStringLiteral("nengaku"), QStringLiteral("年額"), Kind::Amount},
        {QStringLiteral("nengaku_zei"), QStringLiteral("年額（税）"), Kind::Amount},
        {QStringLiteral("maebaraikin"), QStringLiteral("前払金"), Kind::Amount},
        {QStringLiteral("nen_hosyugaku"), QStringLiteral("年間保守額"), Kind::Amount},
        {QStringLiteral("keiyaku_bu"), QStringLiteral("契約部門（部）"), Kind::Text},
        {QStringLiteral("Keiyaku_ka"), QStringLiteral("契約部門（課）"), Kind::Text},
    };
    return all;
}

LeaseKey keyOf(const QString &lease, const QString &leaseNo)
{
    const TableDef &table = Schema::table(TableId::Lease);
    return {Cp932::truncate(EntryText::withCp932Twins(lease),
                            table.column(QStringLiteral("lease"))->width),
            Cp932::truncate(EntryText::withCp932Twins(leaseNo),
                            table.column(QStringLiteral("lease_No"))->width)};
}

QVariantMap SetLeaseParams(const Texts &texts, const QDateTime &now)
{
    const TableDef &table = Schema::table(TableId::Lease);
    QVariantMap params;
    for (const Field &field : fields()) {
        const QString text = texts.value(field.column);
        // The key columns take no empty value.
        if (table.isKeyColumn(field.column) && text.trimmed().isEmpty())
            throw FieldError(field.column, FieldErrorText::required(field.label));
        try {
            params.insert(field.column, paramOf(field, text));
        } catch (const InputError &e) {
            throw FieldError(field.column, e.message());
        }
    }
    const LeaseKey key
        = keyOf(texts.value(QStringLiteral("lease")), texts.value(QStringLiteral("lease_No")));
    params.insert(QStringLiteral("lease"), key.lease);
    params.insert(QStringLiteral("lease_No"), key.leaseNo);
    params.insert(QStringLiteral("UpdateTime"), now);
    return params;
}

Texts textsOf(const QSqlRecord &record)
{
    const TableDef &table = Schema::table(TableId::Lease);
    Texts texts;
    for (const Field &field : fields()) {
        const int i = record.indexOf(field.column);
        const QVariant value = i < 0
            ? QVariant()
            : StoreValue::fromStore(*table.column(field.column), record.value(i));
        if (value.isNull())
            texts.insert(field.column, QString());
        else if (field.kind == Kind::Date)
            texts.insert(field.column, DateText::shortDate(value.toDate()));
        else
            texts.insert(field.column, value.toString());
    }
    return texts;
}

} // namespace LeaseContract
