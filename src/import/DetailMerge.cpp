#include "DetailMerge.h"

#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

namespace {

QString statement(const char *first, const char *mark)
{
    return QLatin1String(first) + QStringLiteral("\nWHERE KEY = :KEY\nAND   NyuryokuKBN = '")
        + QLatin1String(mark) + QLatin1Char('\'');
}

QStringList allStatements()
{
    QStringList s;
    for (const char *table : {"APPLI", "SHARE", "LAN", "PMEMORY", "PRINTER", "DRIVE"}) {
        s << statement(QByteArray("DELETE FROM ").append(table).constData(), "Invaro");
        s << statement(
            QByteArray("UPDATE ").append(table).append(" SET NyuryokuKBN = 'Invaro'").constData(),
            "new");
    }
    return s;
}

} // namespace

DetailMerge::DetailMerge(TDMdata &dm) : m_dm(dm) { }

QStringList DetailMerge::statements(bool appliDel)
{
    QStringList s = allStatements();
    if (!appliDel)
        s.removeFirst();
    return s;
}

void DetailMerge::run(const QString &key, bool appliDel)
{
    if (m_queries.empty()) {
        for (const QString &sql : allStatements())
            m_queries.push_back(m_dm.prepare(sql));
    }
    const ColumnDef &keyColumn = Schema::table(TableId::Appli).columns.at(0);
    const QVariant value = StoreValue::toStore(keyColumn, key, m_dm.engine());
    // All statements or none, whatever the engine, so the rows the file has
    // written stay when the store refuses one of them.
    StoreSavepoint step(m_dm);
    for (size_t i = appliDel ? 0 : 1; i < m_queries.size(); ++i) {
        QSqlQuery &q = m_queries[i];
        q.bindValue(QStringLiteral(":KEY"), value);
        TDMdata::exec(q);
        q.finish();
    }
    step.release();
}
