#include "DirectRowEdit.h"

#include "RowBuffer.h"
#include "base/InputError.h"
#include "store/HistoryRecorder.h"
#include "store/RecordCursor.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/UDMdata.h"

DirectRowEdit::DirectRowEdit(TDMdata &dm, TableId table)
    : m_dm(dm), m_cursor(dm, table), m_claim(dm)
{ }

bool DirectRowEdit::begin(const QVariantList &key, RowBuffer &row)
{
    m_claim.take(key.value(0).toString());
    try {
        m_cursor.cancel();
        if (!m_cursor.isOpen())
            m_cursor.open();
        if (!m_cursor.locate(key)) {
            m_claim.release();
            return false;
        }
        QVector<QVariant> values;
        for (const ColumnDef &c : row.def().columns)
            values << m_cursor.value(c.name);
        row.edit(values);
    } catch (const StoreError &) {
        m_claim.release();
        throw;
    }
    return true;
}

void DirectRowEdit::post(RowBuffer &row)
{
    const TableDef &def = row.def();
    const QString missing = row.missingKeyField();
    if (!missing.isEmpty())
        throw StoreError(FieldErrorText::required(missing));
    m_cursor.cancel();
    HistoryRecorder history(m_dm, History::manual());
    StoreTransaction transaction(m_dm);
    m_claim.confirm();
    if (row.key() != row.startKey() && m_cursor.locate(row.key()))
        throw StoreError(
            FieldErrorText::duplicateKey(def.primaryKey.join(QStringLiteral(", ")), def.name));
    if (!m_cursor.locate(row.startKey()))
        throw StoreError(QStringLiteral("%1 は他のユーザーによって削除されています")
                             .arg(row.startKey().value(1).toString()));
    m_cursor.edit();
    for (const QString &field : row.changedFields())
        m_cursor.setValue(field, row.value(field));
    m_cursor.post();
    const QVector<QVariant> before = row.startValues();
    const QVector<QVariant> after = row.values();
    history.rowChanged(def.id, row.startKey().value(0).toString(), &before, &after);
    transaction.commit();
    row.posted();
}

void DirectRowEdit::end()
{
    m_claim.release();
}
