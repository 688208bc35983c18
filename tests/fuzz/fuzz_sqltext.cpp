// Statement text as the SQL window and "orvanectl sql" read it (a SQL file
// in CP932): the runs of code, literals, quoted names and comments, the
// first-word and several-statement checks, the window's decision, the
// trailing semicolon, and the translations for SQLite and PostgreSQL.
//
// Rules, on both engines' syntax: the runs cover the text exactly; the
// translations change no literal, quoted name or comment (PostgreSQL only
// quotes the word user); a statement taken as one SELECT or change holds
// one statement and no NUL.

#include "FuzzSupport.h"
#include "base/Cp932.h"
#include "store/Dialect.h"
#include "store/SqlText.h"
#include "store/StatementCheck.h"
#include "store/UserStatement.h"
#include "tools/SqlStatementRules.h"

namespace {

using SqlText::Syntax;

struct Runs
{
    QString joined;
    QStringList other; // literals, quoted names and comments
};

Runs runsOf(const QString &sql, Syntax syntax)
{
    Runs runs;
    SqlText::forEachRun(
        sql,
        [&](QStringView run, bool isCode) {
            Fuzz::check(!run.isEmpty(), QStringLiteral("empty run"));
            runs.joined += run;
            if (!isCode)
                runs.other << run.toString();
        },
        syntax);
    return runs;
}

// The literals, quoted names and comments, without the "user" quoted for
// PostgreSQL.
QStringList otherThanUser(const QString &sql)
{
    QStringList other = runsOf(sql, Syntax::PostgreSQL).other;
    other.removeAll(QStringLiteral("\"user\""));
    return other;
}

// The checks and the window's decision read the text as the engine does.
void checkStatement(const QString &sql, Syntax syntax)
{
    Fuzz::check(runsOf(sql, syntax).joined == sql, QStringLiteral("runs do not cover the text"));

    const bool several = StatementCheck::hasSeveralStatements(sql, syntax);
    if (StatementCheck::isOneSelect(sql, syntax))
        Fuzz::check(StatementCheck::firstWord(sql, syntax) == QLatin1String("SELECT") && !several,
                    QStringLiteral("isOneSelect disagrees"));
    const SqlStatementRules::Decision decision = SqlStatementRules::decide(sql, syntax);
    if (decision.action != SqlStatementRules::Action::Refuse) {
        Fuzz::check(!several, QStringLiteral("several statements let through"));
        Fuzz::check(!UserStatement::hasNul(sql), QStringLiteral("NUL let through"));
    } else {
        Fuzz::check(!decision.message.isEmpty(), QStringLiteral("refused without a message"));
    }

    const QString sent = UserStatement::withoutTrailingSemicolon(sql, syntax);
    Fuzz::check(sql.startsWith(sent), QStringLiteral("trailing semicolon cut more than its end"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString sql = Cp932::decode(Fuzz::bytes(data, size));
    checkStatement(sql, Syntax::Standard);
    checkStatement(sql, Syntax::PostgreSQL);

    const Dialect sqlite(Engine::SQLite);
    const Dialect postgres(Engine::PostgreSQL);
    Fuzz::check(sqlite.translate(sql) == sql && sqlite.withSqliteNullOrder(sql) == sql,
                QStringLiteral("SQLite text changed"));
    const QString translated = postgres.translate(sql);
    Fuzz::check(
        otherThanUser(translated) == otherThanUser(sql),
        QStringLiteral("PostgreSQL translation changed a literal or comment: %1").arg(translated));
    const QString ordered = postgres.withSqliteNullOrder(sql);
    Fuzz::check(runsOf(ordered, Syntax::PostgreSQL).other == runsOf(sql, Syntax::PostgreSQL).other,
                QStringLiteral("null order changed a literal or comment: %1").arg(ordered));
    return 0;
}
