#pragma once

#include "LeaseContract.h"
#include "store/Schema.h"
#include "store/StoreError.h"

#include <QSqlQuery>
#include <QStringList>
#include <deque>

class TDMdata;

// The contract to update is gone: another copy deleted it meanwhile.
class LeaseGoneError : public StoreError
{
public:
    LeaseGoneError() : StoreError(QStringLiteral("修正対象データが見つかりません")) { }
};

// Writes a contract with its whole schedule and its covered PCs as one
// store transaction: either all of it is written or, on any error, none of
// it.
class LeaseSaver
{
public:
    enum class Mode { Add, Update };

    explicit LeaseSaver(TDMdata &dm) : m_dm(dm) { }

    // params as LeaseContract::SetLeaseParams gives them; the schedule in
    // date order, the PC keys in key order. Adding inserts the contract;
    // updating rewrites it and replaces its schedule and PCs. Throws
    // StoreError with the store's text, or LeaseGoneError when the contract
    // to update is gone; the store is then unchanged.
    void save(Mode mode, const QVariantMap &params, const QVector<ScheduleRow> &schedule,
              const QStringList &pcKeys);

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

    TDMdata &m_dm;
    std::deque<QSqlQuery> m_queries;
};
