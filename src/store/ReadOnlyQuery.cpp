#include "ReadOnlyQuery.h"

#include "SqlText.h"
#include "StoreError.h"
#include "UDMdata.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace ReadOnlyQuery {

QString firstWord(const QString &sql)
{
    QString word;
    bool done = false;
    SqlText::forEachRun(sql, [&](QStringView run, bool isCode) {
        if (done) // the first word ends at anything that is not code
            return;
        if (!isCode) {
            done = !word.isEmpty();
            return;
        }
        for (QChar c : run) {
            if (c.isLetterOrNumber() || c == u'_') {
                word += c;
            } else if (!word.isEmpty()) {
                done = true;
                return;
            }
        }
    });
    return word.toUpper();
}

bool hasSeveralStatements(const QString &sql)
{
    bool afterSemicolon = false;
    bool several = false;
    SqlText::forEachRun(sql, [&](QStringView run, bool isCode) {
        if (several || (!afterSemicolon && !isCode))
            return;
        if (!isCode) {
            // A literal or quoted name after a semicolon starts another
            // statement; a comment does not.
            several = run.startsWith(u'\'') || run.startsWith(u'"');
            return;
        }
        for (QChar c : run) {
            if (afterSemicolon && !c.isSpace() && c != u';') {
                several = true;
                return;
            }
            if (c == u';')
                afterSemicolon = true;
        }
    });
    return several;
}

Result run(TDMdata &dm, const QString &sql)
{
    if (firstWord(sql) != QLatin1String("SELECT") || hasSeveralStatements(sql))
        throw StoreError(QStringLiteral("SQL文に誤りがあります"));
    if (!dm.isConnected())
        throw StoreError(QStringLiteral("データベースに接続していません"));
    if (dm.inTransaction())
        throw StoreError(QStringLiteral("トランザクションの実行中です"));

    const bool sqlite = dm.engine() == Engine::SQLite;
    QSqlQuery guard(dm.database());
    if (!guard.exec(sqlite ? QStringLiteral("PRAGMA query_only = ON")
                           : QStringLiteral("BEGIN READ ONLY")))
        throw StoreError(guard.lastError().text());
    Result result;
    QString error;
    {
        QSqlQuery q(dm.database());
        q.setForwardOnly(true);
        if (!q.exec(dm.dialect().translate(sql))) {
            error = q.lastError().text();
        } else {
            const QSqlRecord rec = q.record();
            for (int i = 0; i < rec.count(); ++i)
                result.columns << rec.fieldName(i);
            while (q.next()) {
                QVariantList row;
                row.reserve(rec.count());
                for (int i = 0; i < rec.count(); ++i)
                    row << q.value(i);
                result.rows << row;
            }
        }
        q.finish();
    }
    guard.exec(sqlite ? QStringLiteral("PRAGMA query_only = OFF") : QStringLiteral("ROLLBACK"));
    if (!error.isEmpty())
        throw StoreError(error);
    return result;
}

} // namespace ReadOnlyQuery
