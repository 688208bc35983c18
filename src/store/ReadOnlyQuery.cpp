#include "ReadOnlyQuery.h"

#include "StoreError.h"
#include "UDMdata.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

// Walks the statement, calling code(i) for each character that lies
// outside literals, quoted names and comments.
template <typename F> void forEachCodeChar(const QString &sql, F code)
{
    const int n = int(sql.size());
    int i = 0;
    while (i < n) {
        const QChar c = sql[i];
        if (c == u'\'' || c == u'"') {
            int j = i + 1;
            while (j < n && !(sql[j] == c && !(j + 1 < n && sql[j + 1] == c)))
                j += (sql[j] == c) ? 2 : 1;
            i = j + 1;
        } else if (c == u'/' && i + 1 < n && sql[i + 1] == u'*') {
            const int j = int(sql.indexOf(QLatin1String("*/"), i + 2));
            i = j < 0 ? n : j + 2;
        } else if (c == u'-' && i + 1 < n && sql[i + 1] == u'-') {
            const int j = int(sql.indexOf(u'\n', i));
            i = j < 0 ? n : j;
        } else {
            if (!code(i))
                return;
            ++i;
        }
    }
}

} // namespace

namespace ReadOnlyQuery {

QString firstWord(const QString &sql)
{
    QString word;
    forEachCodeChar(sql, [&](int i) {
        const QChar c = sql[i];
        if (c.isLetterOrNumber() || c == u'_') {
            word += c;
            return true;
        }
        return word.isEmpty(); // blanks before the word are skipped
    });
    return word.toUpper();
}

bool hasSeveralStatements(const QString &sql)
{
    bool afterSemicolon = false;
    bool several = false;
    forEachCodeChar(sql, [&](int i) {
        const QChar c = sql[i];
        if (afterSemicolon && !c.isSpace() && c != u';') {
            several = true;
            return false;
        }
        if (c == u';')
            afterSemicolon = true;
        return true;
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
