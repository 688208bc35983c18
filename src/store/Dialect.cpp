#include "Dialect.h"

#include "SqlText.h"
#include "StoreError.h"

#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>

namespace {

void run(QSqlDatabase &db, const QString &sql, const QVariantMap &params = {})
{
    QSqlQuery q(db);
    // PostgreSQL prepares only queries and data changes, not DDL.
    if (params.isEmpty()) {
        if (!q.exec(sql))
            throw StoreError(q.lastError());
        return;
    }
    if (!q.prepare(sql))
        throw StoreError(q.lastError());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(it.key(), it.value());
    if (!q.exec())
        throw StoreError(q.lastError());
}

QVariant scalar(QSqlDatabase &db, const QString &sql, const QVariantMap &params = {})
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw StoreError(q.lastError());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(it.key(), it.value());
    if (!q.exec())
        throw StoreError(q.lastError());
    QVariant v = q.next() ? q.value(0) : QVariant();
    q.finish();
    return v;
}

// Changes the declared type of one column in SQLite's own catalog. SQLite
// keeps text of any length in a CHARACTER(n) column, so only the recorded
// declaration changes; the rows stay as they are.
void redefineSqliteColumn(QSqlDatabase &db, const QString &table, const QString &column,
                          const QString &newType)
{
    const QVariantMap nameParam {{QStringLiteral(":name"), table}};
    const QString createSql = scalar(db,
                                     QStringLiteral("SELECT sql FROM sqlite_master "
                                                    "WHERE type = 'table' AND name = :name "
                                                    "COLLATE NOCASE"),
                                     nameParam)
                                  .toString();
    if (createSql.isEmpty())
        throw StoreError(QStringLiteral("テーブル %1 がありません").arg(table));
    const QRegularExpression decl(
        QStringLiteral("([\\s,(])(\"?%1\"?)\\s+[A-Za-z]+(\\s*\\(\\s*\\d+\\s*\\))?")
            .arg(QRegularExpression::escape(column)),
        QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = decl.match(createSql);
    if (!m.hasMatch())
        throw StoreError(QStringLiteral("列 %1 がありません").arg(column));
    QString changed = createSql;
    changed.replace(m.capturedStart(0), m.capturedLength(0),
                    m.captured(1) + m.captured(2) + QLatin1Char(' ') + newType);
    if (changed == createSql)
        return;
    const int version = scalar(db, QStringLiteral("PRAGMA schema_version")).toInt();
    run(db, QStringLiteral("PRAGMA writable_schema = ON"));
    try {
        run(db,
            QStringLiteral("UPDATE sqlite_master SET sql = :sql "
                           "WHERE type = 'table' AND name = :name COLLATE NOCASE"),
            {{QStringLiteral(":sql"), changed}, {QStringLiteral(":name"), table}});
        run(db, QStringLiteral("PRAGMA schema_version = %1").arg(version + 1));
    } catch (...) {
        run(db, QStringLiteral("PRAGMA writable_schema = OFF"));
        throw;
    }
    run(db, QStringLiteral("PRAGMA writable_schema = OFF"));
}

} // namespace

QString Dialect::columnType(const ColumnDef &column, int width) const
{
    const bool pg = m_engine == Engine::PostgreSQL;
    switch (column.type) {
    case ColumnType::Character:
        // PostgreSQL's CHARACTER(n) pads with blanks and counts characters;
        // VARCHAR(n) keeps the text as written. Widths are cut in CP932
        // bytes before a value reaches the store, so n always suffices.
        return pg ? QStringLiteral("VARCHAR(%1)").arg(width)
                  : QStringLiteral("CHARACTER(%1)").arg(width);
    case ColumnType::Integer:
        return QStringLiteral("INTEGER");
    case ColumnType::Float:
        return pg ? QStringLiteral("DOUBLE PRECISION") : QStringLiteral("FLOAT");
    case ColumnType::Date:
        return QStringLiteral("DATE");
    case ColumnType::Timestamp:
        return QStringLiteral("TIMESTAMP");
    case ColumnType::Memo:
        return QStringLiteral("TEXT");
    }
    return {};
}

SqlText::Syntax Dialect::syntax() const
{
    return m_engine == Engine::PostgreSQL ? SqlText::Syntax::PostgreSQL : SqlText::Syntax::Standard;
}

QString Dialect::identifier(const QString &name) const
{
    if (m_engine == Engine::PostgreSQL
        && name.compare(QLatin1String("user"), Qt::CaseInsensitive) == 0)
        return QStringLiteral("\"user\"");
    return name;
}

QString Dialect::createStatement(const TableDef &table) const
{
    QStringList parts;
    for (const ColumnDef &c : table.columns) {
        if (!c.inCreateScript)
            continue;
        QString line = identifier(c.name) + QLatin1Char(' ')
            + columnType(c, c.createdWidth > 0 ? c.createdWidth : c.width);
        if (c.notNull)
            line += QStringLiteral(" NOT NULL");
        parts << line;
    }
    QStringList keys;
    for (const QString &k : table.primaryKey)
        keys << identifier(k);
    parts << QStringLiteral("PRIMARY KEY (%1)").arg(keys.join(QStringLiteral(", ")));
    return QStringLiteral("CREATE TABLE IF NOT EXISTS %1\n(\n%2\n)")
        .arg(table.name, parts.join(QStringLiteral(",\n")));
}

QString Dialect::alterScript(const QString &table, const QVector<AlterClause> &clauses)
{
    QStringList lines;
    for (const AlterClause &c : clauses)
        lines << QStringLiteral("%1 \"%2\" %3")
                     .arg(c.kind == AlterClause::Kind::Add ? QStringLiteral("ADD")
                                                           : QStringLiteral("REDEFINE"),
                          c.column.name, c.column.typeText());
    return QStringLiteral("ALTER TABLE \"%1\"\n").arg(table) + lines.join(QStringLiteral(",\n"));
}

void Dialect::executeAlter(QSqlDatabase &db, const QString &table,
                           const QVector<AlterClause> &clauses) const
{
    if (clauses.isEmpty())
        return;
    if (m_engine == Engine::PostgreSQL) {
        QStringList parts;
        for (const AlterClause &c : clauses) {
            const QString type = columnType(c.column, c.column.width);
            if (c.kind == AlterClause::Kind::Add)
                parts << QStringLiteral("ADD %1 %2").arg(identifier(c.column.name), type);
            else
                parts << QStringLiteral("ALTER COLUMN %1 TYPE %2")
                             .arg(identifier(c.column.name), type);
        }
        run(db, QStringLiteral("ALTER TABLE %1\n").arg(table) + parts.join(QStringLiteral(",\n")));
        return;
    }
    // SQLite takes one column per ALTER; a savepoint keeps the group whole.
    run(db, QStringLiteral("SAVEPOINT orvane_alter"));
    try {
        for (const AlterClause &c : clauses) {
            const QString type = columnType(c.column, c.column.width);
            if (c.kind == AlterClause::Kind::Add)
                run(db,
                    QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                        .arg(table, identifier(c.column.name), type));
            else
                redefineSqliteColumn(db, table, c.column.name, type);
        }
    } catch (...) {
        QSqlQuery(db).exec(QStringLiteral("ROLLBACK TO orvane_alter"));
        QSqlQuery(db).exec(QStringLiteral("RELEASE orvane_alter"));
        throw;
    }
    run(db, QStringLiteral("RELEASE orvane_alter"));
}

QString Dialect::withSqliteNullOrder(const QString &sql) const
{
    if (m_engine != Engine::PostgreSQL)
        return sql;
    // The statement's code with literals, quoted names and comments blanked
    // out, so words and commas are only found where they are code.
    QString code;
    code.reserve(sql.size());
    SqlText::forEachRun(
        sql,
        [&](QStringView run, bool isCode) {
            code += isCode ? run.toString() : QString(run.size(), u' ');
        },
        SqlText::Syntax::PostgreSQL);
    static const QRegularExpression orderBy(QStringLiteral("\\bORDER\\s+BY\\b"),
                                            QRegularExpression::CaseInsensitiveOption);
    qsizetype start = -1;
    for (auto it = orderBy.globalMatch(code); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (code.left(m.capturedStart()).count(u'(') == code.left(m.capturedStart()).count(u')'))
            start = m.capturedEnd();
    }
    if (start < 0)
        return sql;

    // The items: split at commas outside parentheses.
    QList<qsizetype> ends;
    int depth = 0;
    for (qsizetype i = start; i < code.size(); ++i) {
        if (code[i] == u'(')
            ++depth;
        else if (code[i] == u')')
            --depth;
        else if (code[i] == u',' && depth == 0)
            ends.append(i);
    }
    ends.append(code.size());

    static const QRegularExpression descending(QStringLiteral("\\bDESC\\s*$"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression placed(QStringLiteral("\\bNULLS\\b"),
                                           QRegularExpression::CaseInsensitiveOption);
    QString out = sql.left(start);
    qsizetype from = start;
    for (qsizetype end : std::as_const(ends)) {
        const QString item = code.mid(from, end - from);
        qsizetype last = end;
        while (last > from && code[last - 1].isSpace())
            --last;
        out += sql.mid(from, last - from);
        if (!item.contains(placed) && !item.trimmed().isEmpty()) {
            out += item.contains(descending) ? QStringLiteral(" NULLS LAST")
                                             : QStringLiteral(" NULLS FIRST");
        }
        out += sql.mid(last, end - last + (end < sql.size() ? 1 : 0));
        from = end + 1;
    }
    return out;
}

QString Dialect::translate(const QString &sql) const
{
    if (m_engine != Engine::PostgreSQL)
        return sql;
    // Quote the word user outside literals of every form, quoted names and
    // comments; a parameter named :user stays as it is.
    QString out;
    out.reserve(sql.size() + 8);
    // A name may hold $ after its first character (user$1 is no user).
    auto isWordChar = [](QChar c) { return c.isLetterOrNumber() || c == u'_' || c == u'$'; };
    SqlText::forEachRun(
        sql,
        [&](QStringView run, bool isCode) {
            if (!isCode) {
                out += run;
                return;
            }
            qsizetype i = 0;
            while (i < run.size()) {
                if (!isWordChar(run[i])) {
                    out += run[i++];
                    continue;
                }
                qsizetype j = i;
                while (j < run.size() && isWordChar(run[j]))
                    ++j;
                const QStringView word = run.mid(i, j - i);
                const bool parameter = i > 0 && run[i - 1] == u':';
                if (!parameter && word.compare(QLatin1String("user"), Qt::CaseInsensitive) == 0)
                    out += QStringLiteral("\"user\"");
                else
                    out += word;
                i = j;
            }
        },
        SqlText::Syntax::PostgreSQL);
    return out;
}
