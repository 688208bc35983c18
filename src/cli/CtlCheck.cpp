#include "CtlArguments.h"
#include "CtlCommands.h"

namespace {

// check: the table check and upgrades of the start-up, which opening the
// store for a writing command runs.
class CtlCheck : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("check"); }
    QString usage() const override
    {
        return QStringLiteral("  check              テーブルのチェックと更新\n");
    }
    Access access() const override { return Access::Writes; }
    bool parse(CtlArguments &arguments) override
    {
        return arguments.positional().isEmpty() && !arguments.failed() ? true : arguments.refuse();
    }
    int run(const CtlContext &) override { return CtlSuccess; }
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlCheck()
{
    return std::make_unique<CtlCheck>();
}
