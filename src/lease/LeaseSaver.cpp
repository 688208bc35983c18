#include "LeaseSaver.h"

#include "LeaseReader.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QRegularExpression>

namespace {

const QString KeyCondition = QStringLiteral("WHERE lease = :lease\n"
                                            "  AND lease_No = :lease_No");

} // namespace

QString LeaseSaver::insertLeaseStatement()
{
    return QStringLiteral(
        "INSERT INTO Lease(lease, lease_No, KeiyakuYMD, kikan_tuki, kikan_start, kikan_end, "
        "Bukkenmei, urinusi, keiyaku_kingaku, bukken_kingaku, nengaku, nengaku_zei, maebaraikin, "
        "nen_hosyugaku, keiyaku_bu, Keiyaku_ka, UpdateTime)\n"
        "           VALUES(:lease, :lease_No, :KeiyakuYMD, :kikan_tuki, :kikan_start, :kikan_end, "
        ":Bukkenmei, :urinusi, :keiyaku_kingaku, :bukken_kingaku, :nengaku, :nengaku_zei, "
        ":maebaraikin, :nen_hosyugaku, :keiyaku_bu, :Keiyaku_ka, :UpdateTime)");
}

QString LeaseSaver::updateLeaseStatement()
{
    return QStringLiteral("UPDATE Lease\n"
                          "SET KeiyakuYMD = :KeiyakuYMD,\n"
                          "    kikan_tuki = :kikan_tuki,\n"
                          "    kikan_start = :kikan_start,\n"
                          "    kikan_end = :kikan_end,\n"
                          "    Bukkenmei = :Bukkenmei,\n"
                          "    urinusi = :urinusi,\n"
                          "    keiyaku_kingaku = :keiyaku_kingaku,\n"
                          "    bukken_kingaku = :bukken_kingaku,\n"
                          "    nengaku = :nengaku,\n"
                          "    nengaku_zei = :nengaku_zei,\n"
                          "    maebaraikin = :maebaraikin,\n"
                          "    nen_hosyugaku = :nen_hosyugaku,\n"
                          "    keiyaku_bu = :keiyaku_bu,\n"
                          "    Keiyaku_ka = :Keiyaku_ka,\n"
                          "    UpdateTime = :UpdateTime\n")
        + KeyCondition;
}

QString LeaseSaver::insertMesaiStatement()
{
    return QStringLiteral("INSERT INTO LeaseMesai(lease, lease_No, SiharaiYMD, SiharaiY, SiharaiM, "
                          "kingaku, Zei, hosyuryo, UpdateTime)\n"
                          "           VALUES(:lease, :lease_No, :SiharaiYMD, :SiharaiY, "
                          ":SiharaiM, :kingaku, :Zei, :hosyuryo, :UpdateTime)");
}

QString LeaseSaver::insertLeasePcStatement()
{
    return QStringLiteral("INSERT INTO LeasePC(lease, lease_No, PCKey, UpdateTime)\n"
                          "           VALUES(:lease, :lease_No, :PCKey, :UpdateTime)");
}

QString LeaseSaver::changedText(const LeaseKey &key)
{
    return QStringLiteral("%1(%2) は他のユーザーによって変更されています。\n"
                          "この画面の内容は保存されていません。"
                          "必要な内容を控えてからキャンセルし、開き直してください。")
        .arg(key.lease, key.leaseNo);
}

void LeaseSaver::save(Mode mode, const QVariantMap &params, const QVector<ScheduleRow> &schedule,
                      const QStringList &pcKeys)
{
    m_queries.clear();
    const LeaseKey key {params.value(QStringLiteral("lease")).toString(),
                        params.value(QStringLiteral("lease_No")).toString()};
    StoreTransaction transaction(m_dm);
    // No other copy writes the contract meanwhile: its window, the data
    // creation and the deletion all respect the claim.
    if (m_claim && m_claim->isHeld())
        m_claim->confirm();
    else
        PcClaims::ensureFree(m_dm, ClaimSubject::lease(key.lease, key.leaseNo));
    if (mode == Mode::Update)
        checkUnchanged(key);
    if (mode == Mode::Add)
        InsertLease(params);
    else
        UpdateLease(params);
    InsertMesai(params, schedule);
    InsertLeasePC(params, pcKeys);
    transaction.commit();
}

void LeaseSaver::checkUnchanged(const LeaseKey &key)
{
    if (!m_readStamp)
        return;
    const std::optional<QVariant> now = LeaseReader::stamp(m_dm, key);
    if (!now)
        throw LeaseGoneError();
    const bool same = now->isNull() || m_readStamp->isNull()
        ? now->isNull() == m_readStamp->isNull()
        : now->toDateTime() == m_readStamp->toDateTime();
    if (!same)
        throw LeaseChangedError(changedText(key));
}

void LeaseSaver::InsertLease(const QVariantMap &params)
{
    QSqlQuery &insert = prepare(insertLeaseStatement());
    bind(insert, TableId::Lease, params);
    TDMdata::exec(insert);
}

void LeaseSaver::UpdateLease(const QVariantMap &params)
{
    QSqlQuery &update = prepare(updateLeaseStatement());
    bind(update, TableId::Lease, params);
    TDMdata::exec(update);
    // Another copy may have deleted the contract meanwhile: its schedule and
    // PCs are not written without it.
    if (update.numRowsAffected() == 0)
        throw LeaseGoneError();
    for (const char *table : {"LeaseMesai", "LeasePC"}) {
        QSqlQuery &remove
            = prepare(QStringLiteral("DELETE from %1\n").arg(QLatin1String(table)) + KeyCondition);
        bind(remove, TableId::Lease, params);
        TDMdata::exec(remove);
    }
}

void LeaseSaver::InsertMesai(const QVariantMap &params, const QVector<ScheduleRow> &schedule)
{
    if (schedule.isEmpty())
        return;
    QSqlQuery &insert = prepare(insertMesaiStatement());
    const auto amount = [](const QVariant &v) { return v.isNull() ? QVariant(0) : v; };
    for (const ScheduleRow &row : schedule) {
        bind(insert, TableId::LeaseMesai,
             {{QStringLiteral("lease"), params.value(QStringLiteral("lease"))},
              {QStringLiteral("lease_No"), params.value(QStringLiteral("lease_No"))},
              {QStringLiteral("SiharaiYMD"), row.date},
              {QStringLiteral("SiharaiY"), row.date.year()},
              {QStringLiteral("SiharaiM"), row.date.month()},
              {QStringLiteral("kingaku"), amount(row.kingaku)},
              {QStringLiteral("Zei"), amount(row.zei)},
              {QStringLiteral("hosyuryo"), amount(row.hosyuryo)},
              {QStringLiteral("UpdateTime"), QDateTime::currentDateTime()}});
        TDMdata::exec(insert);
    }
}

void LeaseSaver::InsertLeasePC(const QVariantMap &params, const QStringList &pcKeys)
{
    if (pcKeys.isEmpty())
        return;
    QSqlQuery &insert = prepare(insertLeasePcStatement());
    for (const QString &key : pcKeys) {
        bind(insert, TableId::LeasePC,
             {{QStringLiteral("lease"), params.value(QStringLiteral("lease"))},
              {QStringLiteral("lease_No"), params.value(QStringLiteral("lease_No"))},
              {QStringLiteral("PCKey"), key},
              {QStringLiteral("UpdateTime"), QDateTime::currentDateTime()}});
        TDMdata::exec(insert);
    }
}

void LeaseSaver::bind(QSqlQuery &query, TableId table, const QVariantMap &values) const
{
    const TableDef &def = Schema::table(table);
    static const QRegularExpression parameter(QStringLiteral(":(\\w+)"));
    for (auto it = parameter.globalMatch(query.lastQuery()); it.hasNext();) {
        const QString name = it.next().captured(1);
        for (auto v = values.cbegin(); v != values.cend(); ++v) {
            if (v.key().compare(name, Qt::CaseInsensitive) != 0)
                continue;
            query.bindValue(QLatin1Char(':') + name,
                            StoreValue::toStore(*def.column(v.key()), v.value(), m_dm.engine()));
            break;
        }
    }
}

QSqlQuery &LeaseSaver::prepare(const QString &sql)
{
    m_queries.push_back(m_dm.prepare(sql));
    return m_queries.back();
}
