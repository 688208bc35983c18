#include "DetailMerge.h"

#include "TableImage.h"

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

QStringList DetailMerge::statements(bool appliDel)
{
    QStringList s = allStatements();
    if (!appliDel)
        s.removeFirst();
    return s;
}

void DetailMerge::run(const QString &key, bool appliDel, const std::vector<TableImage *> &images)
{
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
            false);
    }
}
