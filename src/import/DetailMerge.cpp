#include "DetailMerge.h"

#include "TableImage.h"
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

void DetailMerge::run(const QString &key, bool appliDel, const std::vector<TableImage *> &images,
                      bool dryRun)
{
    // Read before the statements change the rows.
    for (TableImage *image : images)
        image->load(image->normalized(image->column(QStringLiteral("Key")), key));
    if (!dryRun)
        run(key, appliDel);
    const QString imported = QStringLiteral("Invaro");
    const QString reported = QStringLiteral("new");
    for (TableImage *image : images) {
        const int kbn = image->column(QStringLiteral("NyuryokuKBN"));
        const bool deletes = appliDel || image->def().id != TableId::Appli;
        image->edit(
            image->normalized(image->column(QStringLiteral("Key")), key),
            [&](TableImage::Row &row) {
                const QVariant &mark = row.at(kbn);
                if (mark.isNull())
                    return true;
                if (deletes && mark.toString() == imported)
                    return false;
                if (mark.toString() == reported)
                    row[kbn] = imported;
                return true;
            },
            true);
    }
}
