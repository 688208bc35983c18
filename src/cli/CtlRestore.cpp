#include "CtlArguments.h"
#include "CtlCommands.h"
#include "output/TableDump.h"

#include <QDir>

namespace {

// restore FILE: the PC table's rows replaced by those of a dump, in one
// transaction.
class CtlRestore : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("restore"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  restore FILE       PCテーブルの内容をダンプファイルの内容で置き換える\n"
            "                     "
            "(一つのトランザクションで行い、誤りがあればテーブルは変わらない)\n");
    }
    Access access() const override { return Access::Writes; }
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
        const TableDump::RestoreResult result = TableDump::restore(c.dm, TableId::PC, m_file);
        if (!result.ok) {
            c.err << QStringLiteral("復元できませんでした (テーブルは変更されていません): %1")
                         .arg(QDir::toNativeSeparators(m_file))
                  << Qt::endl
                  << result.error << Qt::endl;
            return CtlFailure;
        }
        c.verbose << QStringLiteral("%1 件を復元しました: %2")
                         .arg(result.rows)
                         .arg(QDir::toNativeSeparators(m_file))
                  << Qt::endl;
        return CtlSuccess;
    }

private:
    QString m_file;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlRestore()
{
    return std::make_unique<CtlRestore>();
}
