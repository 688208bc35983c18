#include "CtlArguments.h"
#include "CtlCommands.h"
#include "CtlOutput.h"
#include "store/StatementCheck.h"
#include "store/StoreError.h"
#include "store/UDMdata.h"
#include "store/UserStatement.h"

#include <atomic>
#include <csignal>

namespace {

// The statement Ctrl+C stops. A signal handler may only touch lock-free
// state; cancel() is written for that.
std::atomic<UserStatement *> interruptible {nullptr};

extern "C" void stopStatement(int)
{
    if (UserStatement *statement = interruptible.load())
        statement->cancel();
}

// Ctrl+C stops the statement while this lives, instead of the program.
class InterruptStops
{
public:
    explicit InterruptStops(UserStatement &statement)
    {
        interruptible.store(&statement);
        m_previous = std::signal(SIGINT, stopStatement);
    }
    ~InterruptStops()
    {
        std::signal(SIGINT, m_previous);
        interruptible.store(nullptr);
    }
    InterruptStops(const InterruptStops &) = delete;
    InterruptStops &operator=(const InterruptStops &) = delete;

private:
    void (*m_previous)(int) = SIG_DFL;
};

// sql [--time-limit SECONDS] "SELECT ...": one read-only statement, its rows
// tab-separated as they come.
class CtlSql : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("sql"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  sql [--time-limit SECONDS] \"SELECT ...\"\n"
            "                     SELECT文を一つ実行し、タブ区切りで出力する\n"
            "                     (既定では300秒で中止する。0は無制限。Ctrl+Cで中止)\n");
    }
    Access access() const override { return Access::Reads; }
    bool parse(CtlArguments &arguments) override
    {
        // PostgreSQL takes a limit of at most 24 days; a day is plenty, and
        // 0 is none.
        if (const std::optional<int> limit = arguments.count(
                QLatin1String("--time-limit"), QStringLiteral("秒数に誤りがあります: %1"),
                CtlArguments::SecondsInADay))
            m_timeLimit = *limit;
        const QStringList rest = arguments.positional();
        if (arguments.failed() || rest.size() != 1)
            return arguments.refuse();
        m_text = rest.first();
        return true;
    }
    int run(const CtlContext &c) override
    {
        if (UserStatement::hasNul(m_text)) {
            c.err << UserStatement::nulText() << Qt::endl;
            return CtlFailure;
        }
        if (!StatementCheck::isOneSelect(m_text, c.dm.dialect().syntax())) {
            c.err << QStringLiteral("SQL文に誤りがあります") << Qt::endl;
            return CtlFailure;
        }
        try {
            std::unique_ptr<UserStatement> statement
                = UserStatement::connect(c.dm.connectedSettings(), UserStatement::Mode::Query);
            const InterruptStops interrupt(*statement);
            UserStatement::Limits limits;
            limits.seconds = m_timeLimit;
            statement->start(m_text, limits);
            // Rows go out as they come, so no result has to fit in memory.
            c.out << statement->columns().join(u'\t') << '\n';
            QVariantList row;
            QStringList cells;
            while (statement->next(row)) {
                cells.clear();
                for (const QVariant &v : std::as_const(row))
                    cells << CtlOutput::cell(v);
                c.out << cells.join(u'\t') << '\n';
            }
            statement->finish();
        } catch (const StoreError &e) {
            c.out.flush();
            c.err << e.message() << Qt::endl;
            return CtlFailure;
        }
        c.out.flush();
        return CtlSuccess;
    }

private:
    int m_timeLimit = UserStatement::Limits().seconds;
    QString m_text;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlSql()
{
    return std::make_unique<CtlSql>();
}
