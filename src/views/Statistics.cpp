#include "Statistics.h"

#include "DisplayFormat.h"
#include "store/StoreStatement.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <cmath>

namespace Statistics {

namespace {

struct GroupingDef
{
    const char16_t *column; // the column shown as Komoku
    const char16_t *groupBy; // the term of the GROUP BY line as written
    const char16_t *komokuTitle;
    const char16_t *kensuTitle;
};

const GroupingDef &definition(Grouping grouping)
{
    static const GroupingDef defs[] = {
        {u"Win_Type", u"Komoku", u"ＯＳ種別", u"台数"}, {u"Bu", u"Komoku", u"部", u"台数"},
        {u"Maker", u"Komoku", u"メーカ", u"台数"},      {u"Keijyo", u"Keijyo", u"形状", u"台数"},
        {u"Key", u"Komoku", u"キー", u"クロック"},
    };
    return defs[static_cast<int>(grouping)];
}

// The statement's lines; forStore folds NULL and '' of the group value into
// one group (see storeStatement).
QStringList lines(Grouping grouping, bool forStore)
{
    const GroupingDef &def = definition(grouping);
    const QString column = QString::fromUtf16(def.column);
    if (grouping == Grouping::Clock) {
        // Grouping by the primary key makes every row a group of its own:
        // the store is spared the grouping (on SQLite it walks the key's
        // index and looks up every row, several times slower).
        if (forStore)
            return {QStringLiteral("SELECT Key as Komoku, CPU_Clock as Kensu FROM PC"),
                    QStringLiteral(" WHERE TEKKYOYMD is null"),
                    QStringLiteral(" ORDER BY Kensu DESC")};
        return {QStringLiteral("SELECT Key as Komoku, CPU_Clock as Kensu FROM PC"),
                QStringLiteral(" WHERE TEKKYOYMD is null"), QStringLiteral(" GROUP BY Komoku"),
                QStringLiteral(" ORDER BY Kensu DESC")};
    }
    const QString folded = QStringLiteral("COALESCE(%1, '')").arg(column);
    QString groupBy = QString::fromUtf16(def.groupBy);
    if (forStore && groupBy == column)
        groupBy = folded;
    return {QStringLiteral("SELECT %1 as Komoku, Count(*) AS Kensu FROM PC")
                .arg(forStore ? folded : column),
            QStringLiteral(" WHERE TEKKYOYMD is null"), QStringLiteral(" GROUP BY ") + groupBy,
            QStringLiteral(" ORDER BY Kensu DESC")};
}

} // namespace

QStringList statementLines(Grouping grouping)
{
    return lines(grouping, false);
}

QString storeStatement(Grouping grouping)
{
    return lines(grouping, true).join(u'\n');
}

QString komokuTitle(Grouping grouping)
{
    return QString::fromUtf16(definition(grouping).komokuTitle);
}

QString kensuTitle(Grouping grouping)
{
    return QString::fromUtf16(definition(grouping).kensuTitle);
}

QVector<Row> run(TDMdata &dm, Grouping grouping)
{
    // Empty values sort as SQLite sorts them, whatever the engine. The
    // clocks are a row per PC: read without Qt SQL's bookkeeping per value.
    const std::unique_ptr<StoreStatement> q
        = StoreStatement::prepare(dm, dm.dialect().withSqliteNullOrder(storeStatement(grouping)));
    q->exec();
    QVector<Row> rows;
    while (q->next())
        rows.append({q->value(0), q->value(1)});
    q->finish();
    return rows;
}

QStringList totalStatementLines()
{
    return {QStringLiteral("SELECT COUNT(*) AS CNT FROM PC"),
            QStringLiteral("WHERE TEKKYOYMD is null")};
}

qlonglong totalCount(TDMdata &dm)
{
    QSqlQuery q = dm.exec(totalStatementLines().join(u'\n'));
    const qlonglong count = q.next() ? q.value(0).toLongLong() : 0;
    q.finish();
    return count;
}

qlonglong totalOf(Grouping grouping, const QVector<Row> &rows)
{
    if (grouping == Grouping::Clock)
        return rows.size();
    qlonglong total = 0;
    for (const Row &row : rows)
        total += row.kensu.toLongLong();
    return total;
}

QString totalText(qlonglong count)
{
    return QStringLiteral("全台数：") + DisplayFormat::thousands(count) + QStringLiteral(" 台");
}

QString komokuText(const QVariant &komoku)
{
    return komoku.isNull() ? QString() : komoku.toString();
}

QVector<ChartPoint> pieSlices(const QVector<Row> &rows)
{
    QVector<ChartPoint> slices;
    slices.reserve(rows.size());
    for (const Row &row : rows)
        slices.append({komokuText(row.komoku), row.kensu.toDouble()});
    return slices;
}

QVector<ChartPoint> clockBars(const QVector<Row> &rows)
{
    QVector<ChartPoint> bars;
    bars.reserve(rows.size());
    for (auto it = rows.crbegin(); it != rows.crend(); ++it)
        bars.append({komokuText(it->komoku), roundHalfEven(it->kensu.toDouble())});
    return bars;
}

double roundHalfEven(double value)
{
    const double nearest = std::round(value); // halves away from zero
    if (std::fabs(value - std::trunc(value)) == 0.5)
        return 2.0 * std::round(value / 2.0);
    return nearest;
}

} // namespace Statistics
