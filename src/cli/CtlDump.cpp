#include "CtlArguments.h"
#include "CtlCommands.h"
#include "CtlOutput.h"
#include "maintenance/TableDump.h"

namespace {

// dump FILE: the PC table as a dump file.
class CtlDump : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("dump"); }
    QString usage() const override
    {
        return QStringLiteral("  dump FILE          PCテーブルをダンプファイルに出力する\n");
    }
    Access access() const override { return Access::Reads; }
    bool parse(CtlArguments &arguments) override
    {
        const QStringList rest = arguments.positional();
        if (arguments.failed() || rest.size() != 1)
            return arguments.refuse();
        m_file = rest.first();
        return true;
    }
    int run(const CtlContext &c) override
    {
        return CtlOutput::written(c, TableDump::write(c.dm, TableId::PC, m_file), m_file);
    }

private:
    QString m_file;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlDump()
{
    return std::make_unique<CtlDump>();
}
