#include "CtlArguments.h"
#include "CtlCommands.h"
#include "maintenance/TableDump.h"

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
            "  restore [--allow-shrink] FILE\n"
            "                     PCテーブルの内容をダンプファイルの内容で置き換える\n"
            "                     "
            "(一つのトランザクションで行い、誤りがあればテーブルは変わらない。\n"
            "                     "
            "行がないか現在の半分未満のファイルは --allow-shrink がなければ復元しない)\n");
    }
    Access access() const override { return Access::Writes; }
    bool parse(CtlArguments &arguments) override
    {
        m_allowShrink = arguments.flag(QLatin1String("--allow-shrink"));
        const QStringList rest = arguments.positional();
        if (arguments.failed() || rest.size() != 1)
            return arguments.refuse();
        m_file = rest.first();
        return true;
    }
    int run(const CtlContext &c) override
    {
        const TableDump::RestoreResult result = TableDump::restore(
            c.dm, TableId::PC, m_file,
            m_allowShrink ? TableDump::Shrink::Allow : TableDump::Shrink::Refuse);
        if (!result.ok) {
            c.err << QStringLiteral("復元できませんでした (テーブルは変更されていません): %1")
                         .arg(QDir::toNativeSeparators(m_file))
                  << Qt::endl
                  << result.error << Qt::endl;
            if (result.shrinkRefused)
                c.err << QStringLiteral("それでも復元するには --allow-shrink を指定してください")
                      << Qt::endl;
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
    bool m_allowShrink = false;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlRestore()
{
    return std::make_unique<CtlRestore>();
}
