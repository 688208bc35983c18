// Statement text as the SQL window and "orvanectl sql" read it (a SQL file
// in CP932): the runs of code, literals, quoted names and comments, the
// first-word and several-statement checks, the window's decision, the
// trailing semicolon, and the translations for SQLite and PostgreSQL.
//
// Rules: the runs cover the text exactly; the translations change no
// literal, quoted name or comment (PostgreSQL only quotes the word user);
// a statement taken as one SELECT or change holds one statement.

#include "FuzzSupport.h"
#include "base/Cp932.h"
#include "store/Dialect.h"
#include "store/SqlText.h"
#include "store/StatementCheck.h"
#include "store/UserStatement.h"
#include "tools/SqlStatementRules.h"

namespace {

struct Runs
{
    QString joined;
    QStringList other; // literals, quoted names and comments
};

Runs runsOf(const QString &sql)
{
    Runs runs;
    SqlText::forEachRun(sql, [&](QStringView run, bool isCode) {
        Fuzz::check(!run.isEmpty(), QStringLiteral("empty run"));
        runs.joined += run;
        if (!isCode)
            runs.other << run.toString();
    });
    return runs;
}

// The literals, quoted names and comments, without the "user" quoted for
// PostgreSQL.
QStringList otherThanUser(const QString &sql)
{
    QStringList other = runsOf(sql).other;
    other.removeAll(QStringLiteral("\"user\""));
    return other;
}

// The word user right beside a quoted name ("user""x" for user"x", and
// "x""user" for "x"user): the translation joins the two into one name
// (tests/fuzz/pending/sqltext), so the rule on literals is not asked of such
// a text until that is mended.
bool userBesideQuotedName(const QString &sql)
{
    bool userEnds = false;
    bool quoteEnds = false;
    bool found = false;
    SqlText::forEachRun(sql, [&](QStringView run, bool isCode) {
        if (isCode && quoteEnds && run.startsWith(QLatin1String("user"), Qt::CaseInsensitive))
            found = true;
        if (!isCode && userEnds && run.startsWith(u'"'))
            found = true;
        userEnds = isCode && run.endsWith(QLatin1String("user"), Qt::CaseInsensitive);
        quoteEnds = !isCode && run.size() > 1 && run.startsWith(u'"') && run.endsWith(u'"');
    });
    return found;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString sql = Cp932::decode(Fuzz::bytes(data, size));
    Fuzz::check(runsOf(sql).joined == sql, QStringLiteral("runs do not cover the text"));

    const bool several = StatementCheck::hasSeveralStatements(sql);
    if (StatementCheck::isOneSelect(sql))
        Fuzz::check(StatementCheck::firstWord(sql) == QLatin1String("SELECT") && !several,
                    QStringLiteral("isOneSelect disagrees"));
    const SqlStatementRules::Decision decision = SqlStatementRules::decide(sql);
    if (decision.action != SqlStatementRules::Action::Refuse)
        Fuzz::check(!several, QStringLiteral("several statements let through"));
    else
        Fuzz::check(!decision.message.isEmpty(), QStringLiteral("refused without a message"));

    const QString sent = UserStatement::withoutTrailingSemicolon(sql);
    Fuzz::check(sql.startsWith(sent), QStringLiteral("trailing semicolon cut more than its end"));

    const Dialect sqlite(Engine::SQLite);
    const Dialect postgres(Engine::PostgreSQL);
    Fuzz::check(sqlite.translate(sql) == sql && sqlite.withSqliteNullOrder(sql) == sql,
                QStringLiteral("SQLite text changed"));
    const QString translated = postgres.translate(sql);
    Fuzz::check(
        userBesideQuotedName(sql) || otherThanUser(translated) == otherThanUser(sql),
        QStringLiteral("PostgreSQL translation changed a literal or comment: %1").arg(translated));
    const QString ordered = postgres.withSqliteNullOrder(sql);
    Fuzz::check(runsOf(ordered).other == runsOf(sql).other,
                QStringLiteral("null order changed a literal or comment: %1").arg(ordered));
    return 0;
}
