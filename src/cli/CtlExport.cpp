#include "CtlArguments.h"
#include "CtlCommands.h"
#include "CtlOutput.h"

namespace {

// The tables that "export" writes, by the names it takes.
std::optional<TableId> exportTableId(const QString &name)
{
    static const QList<QPair<QString, TableId>> tables {
        {QStringLiteral("pc"), TableId::PC},
        {QStringLiteral("drive"), TableId::Drive},
        {QStringLiteral("printer"), TableId::Printer},
        {QStringLiteral("appli"), TableId::Appli},
    };
    for (const auto &t : tables) {
        if (name.compare(t.first, Qt::CaseInsensitive) == 0)
            return t.second;
    }
    return std::nullopt;
}

// export TABLE FILE: a table as the CSV export of the window writes it.
class CtlExport : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("export"); }
    QString usage() const override
    {
        return QStringLiteral("  export TABLE FILE  "
                              "テーブル(pc, drive, printer, appli)をCSVファイルに出力する\n");
    }
    Access access() const override { return Access::Reads; }
    bool parse(CtlArguments &arguments) override
    {
        const QStringList rest = arguments.positional();
        if (arguments.failed() || rest.size() != 2)
            return arguments.refuse();
        m_table = exportTableId(rest[0]);
        if (!m_table)
            return arguments.refuse(QStringLiteral("出力できないテーブルです: %1").arg(rest[0]));
        m_file = rest[1];
        return true;
    }
    int run(const CtlContext &c) override
    {
        return CtlOutput::written(c, CsvExport(c.dm, *m_table).writeFile(m_file), m_file);
    }

private:
    std::optional<TableId> m_table;
    QString m_file;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlExport()
{
    return std::make_unique<CtlExport>();
}
