#include "PcLedger.h"

#include "base/InputError.h"
#include "base/TextHelpers.h"
#include "store/HistoryRecorder.h"
#include "store/RecordCursor.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSqlQuery>

using LedgerLists::List;

namespace {

QueryRows readList(TDMdata &dm, List list, const QString &key)
{
    QSqlQuery q
        = dm.exec(LedgerLists::statement(list), {{QStringLiteral(":Key"), StoreValue::text(key)}});
    return QueryRows::read(q);
}

} // namespace

PcLedger::PcLedger(TDMdata &dm, QObject *parent)
    : QObject(parent), m_dm(dm), m_pc(TableId::PC), m_tpc(dm, TableId::PC), m_work(dm), m_claim(dm)
{
    connect(&m_pc, &RowBuffer::valueChanged, this, &PcLedger::pcValueChanged);
    connect(&m_claim, &PcClaim::lost, this, &PcLedger::claimLost);
}

PcLedger::~PcLedger() = default;

QString PcLedger::deletedText(const QString &key)
{
    return QStringLiteral("%1 は他のユーザーによって削除されています").arg(key);
}

void PcLedger::beginNew()
{
    m_claim.release();
    m_loading = true;
    m_pc.append();
    m_loading = false;
    m_work.load(QString());
    m_adapters = readList(m_dm, List::Adapter, QString());
    m_memory = readList(m_dm, List::Memory, QString());
}

bool PcLedger::beginEdit(const QString &key)
{
    m_claim.take(key);
    try {
        RecordCursor cursor(m_dm, TableId::PC);
        cursor.open();
        if (!cursor.locate({key})) {
            m_claim.release();
            return false;
        }
        QVector<QVariant> values;
        for (const ColumnDef &c : m_pc.def().columns)
            values << cursor.value(c.name);
        const QString stored = cursor.text(QStringLiteral("Key"));
        m_work.load(stored);
        m_adapters = readList(m_dm, List::Adapter, stored);
        m_memory = readList(m_dm, List::Memory, stored);
        m_loading = true;
        m_pc.edit(values);
        m_loading = false;
    } catch (const StoreError &) {
        m_loading = false;
        m_claim.release();
        throw;
    }
    return true;
}

void PcLedger::pcValueChanged(const QString &field)
{
    if (m_loading || !m_pc.isEditing())
        return;
    if (field == QLatin1String("IP"))
        m_pc.setValue(QStringLiteral("IP16"), IPToIP16(m_pc.text(QStringLiteral("IP"))));
    else if (field == QLatin1String("Key") && m_pc.state() == RowBuffer::State::Insert)
        m_work.rekey(key());
}

QueryRows PcLedger::list(List list) const
{
    switch (list) {
    case List::Adapter:
        return m_adapters;
    case List::Memory:
        return m_memory;
    default:
        return m_work.list(list);
    }
}

void PcLedger::appendDetail(RowBuffer &row) const
{
    row.append();
    row.setValue(QStringLiteral("Key"), key());
}

bool PcLedger::editDetail(List list, const QString &name, RowBuffer &row) const
{
    QVector<QVariant> values;
    if (!m_work.read(list, name, values))
        return false;
    row.edit(values);
    return true;
}

void PcLedger::postDetail(List list, RowBuffer &row)
{
    m_work.post(list, row);
    row.posted();
}

void PcLedger::deleteDetail(List list, const QString &name)
{
    m_work.remove(list, name);
}

void PcLedger::save(const QDate &today)
{
    const bool isNew = m_pc.state() == RowBuffer::State::Insert;
    m_pc.setValue(QStringLiteral("UpdateYMD"), today);
    const QString pcKey = key();
    if (pcKey.isEmpty())
        throw StoreError(FieldErrorText::required(QStringLiteral("Key")));

    // The table object and the history's statement are made ready before
    // the transaction, which they outlive (see DetailWorkCopy).
    m_tpc.cancel();
    if (!m_tpc.isOpen())
        m_tpc.open();
    HistoryRecorder history(m_dm, History::manual());
    StoreTransaction transaction(m_dm);
    m_claim.confirm();
    if (isNew) {
        if (m_tpc.locate({pcKey}))
            throw StoreError(FieldErrorText::duplicateKey(QStringLiteral("Key"), m_pc.def().name));
        m_tpc.append();
        for (const ColumnDef &c : m_pc.def().columns)
            m_tpc.setValue(c.name, m_pc.value(c.name));
    } else {
        if (!m_tpc.locate({pcKey}))
            throw StoreError(deletedText(pcKey));
        m_tpc.edit();
        for (const QString &field : m_pc.changedFields())
            m_tpc.setValue(field, m_pc.value(field));
    }
    m_tpc.post();
    // A new PC is one line of the history, its detail rows none.
    const QVector<QVariant> before = m_pc.startValues();
    const QVector<QVariant> after = m_pc.values();
    history.rowChanged(TableId::PC, pcKey, isNew ? nullptr : &before, &after);
    m_work.apply(pcKey, isNew ? nullptr : &history);
    transaction.commit();

    m_pc.posted();
    m_claim.release();
}

void PcLedger::discard()
{
    if (m_pc.isEditing())
        m_pc.cancel();
    m_claim.release();
}

bool PcLedger::storeAnswers() const
{
    if (!m_dm.isConnected())
        return false;
    try {
        m_dm.exec(QStringLiteral("SELECT COUNT(*) FROM PC WHERE 1 = 0"));
        return true;
    } catch (const StoreError &) {
        return false;
    }
}
