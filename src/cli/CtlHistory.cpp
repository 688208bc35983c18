#include "CtlArguments.h"
#include "CtlCommands.h"
#include "CtlOutput.h"
#include "base/DateText.h"
#include "store/HistoryReader.h"
#include "store/StoreError.h"

#include <QDate>

namespace {

// history [--since YYYY/MM/DD] [--until YYYY/MM/DD] [KEY]: the recorded
// changes, oldest first; history --prune-before YYYY/MM/DD: deletes the
// older lines.
class CtlHistory : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("history"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  history [--since YYYY/MM/DD] [--until YYYY/MM/DD] [KEY]\n"
            "                     変更履歴を古い順に出力する (期間は両端の日を含む)\n"
            "  history --prune-before YYYY/MM/DD\n"
            "                     その日より前の変更履歴を削除する\n");
    }
    Access access() const override { return m_pruneBefore ? Access::Writes : Access::Reads; }
    bool parse(CtlArguments &arguments) override
    {
        m_pruneBefore = arguments.date(QLatin1String("--prune-before"));
        m_filter.since = arguments.date(QLatin1String("--since")).value_or(QDate());
        m_filter.until = arguments.date(QLatin1String("--until")).value_or(QDate());
        const QStringList rest = arguments.positional();
        if (arguments.failed() || rest.size() > 1)
            return arguments.refuse();
        // Pruning takes nothing else.
        if (m_pruneBefore
            && (!rest.isEmpty() || m_filter.since.isValid() || m_filter.until.isValid()))
            return arguments.refuse();
        m_filter.key = rest.value(0);
        return true;
    }
    int run(const CtlContext &c) override
    {
        try {
            if (m_pruneBefore) {
                const int deleted = HistoryReader::pruneBefore(c.dm, *m_pruneBefore);
                c.err << QStringLiteral("%1 より前の変更履歴 %2 件を削除しました")
                             .arg(DateText::shortDate(*m_pruneBefore))
                             .arg(deleted)
                      << Qt::endl;
                return CtlSuccess;
            }
            c.out << QStringLiteral("日時\t操作\tKey\tテーブル\t行\t項目\t変更前\t変更後\n");
            for (const HistoryLine &line : HistoryReader::read(c.dm, m_filter)) {
                const QStringList cells {DateText::shortDate(line.at)
                                             + line.at.time().toString(QStringLiteral(" hh:mm:ss")),
                                         line.operation,
                                         CtlOutput::cell(line.key),
                                         line.table,
                                         CtlOutput::cell(line.rowName),
                                         line.column,
                                         CtlOutput::cell(line.oldValue),
                                         CtlOutput::cell(line.newValue)};
                c.out << cells.join(u'\t') << '\n';
            }
            c.out.flush();
        } catch (const StoreError &e) {
            c.err << e.message() << Qt::endl;
            return CtlFailure;
        }
        return CtlSuccess;
    }

private:
    std::optional<QDate> m_pruneBefore;
    HistoryFilter m_filter;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlHistory()
{
    return std::make_unique<CtlHistory>();
}
