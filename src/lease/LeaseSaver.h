#pragma once

#include "LeaseContract.h"
#include "store/Schema.h"
#include "store/StoreError.h"

#include <QSqlQuery>
#include <QStringList>
#include <deque>
#include <optional>

class PcClaim;
class TDMdata;

// The contract to update is gone: another copy deleted it meanwhile.
class LeaseGoneError : public StoreError
{
public:
    LeaseGoneError() : StoreError(QStringLiteral("修正対象データが見つかりません")) { }
};

// The contract changed since the window read it: another copy saved it.
class LeaseChangedError : public StoreError
{
public:
    using StoreError::StoreError;
};

// Writes a contract with its whole schedule and its covered PCs as one
// store transaction: either all of it is written or, on any error, none of
// it.
class LeaseSaver
{
public:
    enum class Mode { Add, Update };

    explicit LeaseSaver(TDMdata &dm) : m_dm(dm) { }

    // The window's claim on the contract, confirmed inside the save's
    // transaction; without one the contract must not be claimed by
    // another copy.
    void setClaim(PcClaim *claim) { m_claim = claim; }
    // Updating: the contract's UpdateTime as the window read it. A contract
    // changed since (its UpdateTime is another) is not overwritten.
    void setReadStamp(const QVariant &stamp) { m_readStamp = stamp; }

    // params as LeaseContract::SetLeaseParams gives them; the schedule in
    // date order, the PC keys in key order. Adding inserts the contract;
    // updating rewrites it and replaces its schedule and PCs. Throws
    // StoreError with the store's text, LeaseGoneError when the contract to
    // update is gone, LeaseChangedError when it changed since it was read,
    // ClaimError when another copy holds it; the store is then unchanged.
    void save(Mode mode, const QVariantMap &params, const QVector<ScheduleRow> &schedule,
              const QStringList &pcKeys);

    // The message of a contract that another copy changed meanwhile.
    static QString changedText(const LeaseKey &key);

    // The statements as the store receives them.
    static QString insertLeaseStatement();
    static QString updateLeaseStatement();
    static QString insertMesaiStatement();
    static QString insertLeasePcStatement();

private:
    void InsertLease(const QVariantMap &params);
    void UpdateLease(const QVariantMap &params);
    void InsertMesai(const QVariantMap &params, const QVector<ScheduleRow> &schedule);
    void InsertLeasePC(const QVariantMap &params, const QStringList &pcKeys);
    // Binds each named parameter of the statement found in values, as the
    // store keeps the column of that name in table.
    void bind(QSqlQuery &query, TableId table, const QVariantMap &values) const;
    // A prepared statement kept until the next save: PostgreSQL frees a
    // statement only once a failed transaction is rolled back.
    QSqlQuery &prepare(const QString &sql);

    void checkUnchanged(const LeaseKey &key);

    TDMdata &m_dm;
    PcClaim *m_claim = nullptr;
    std::optional<QVariant> m_readStamp;
    std::deque<QSqlQuery> m_queries;
};
