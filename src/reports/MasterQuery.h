#pragma once

#include "ReportRows.h"
#include "ReportStatement.h"
#include "layout/LRDataSet.h"
#include "store/Schema.h"

#include <QSqlQuery>
#include <QVariantList>
#include <QVector>

class TDMdata;

// The master data set of a report over one table: the statement decides
// which rows and in which order; opening it reads only their keys, and the
// current row is read by its key when the set moves there. So a report
// over thousands of PCs holds their keys, not their rows, and no statement
// stays open on the store. A row deleted meanwhile is passed over. An
// empty statement is a set without rows. Store errors throw StoreError.
class MasterQuery : public LRDataSet
{
    Q_OBJECT

public:
    MasterQuery(TDMdata &dm, TableId table, const ReportStatement &statement,
                QObject *parent = nullptr);

    bool isOpen() const override { return m_open; }
    void open() override;
    void first() override;
    void next() override;
    bool eof() const override { return !m_open || m_pos >= m_keys.size(); }
    bool hasField(const QString &field) const override;
    QString displayText(const QString &field) const override;

    QVariant value(const QString &field) const;
    int recordCount() const { return int(m_keys.size()); }
    // The position of the current row, from 0.
    int position() const { return m_pos; }
    // The first key column of every row, in order.
    QStringList keys() const;

private:
    void moveTo(int pos);

    TDMdata &m_dm;
    const TableDef &m_table;
    ReportStatement m_statement;
    bool m_open = false;
    QVector<QVariantList> m_keys;
    int m_pos = 0;
    QSqlQuery m_rowQuery;
    bool m_rowPrepared = false;
    ReportRows m_row;
};
