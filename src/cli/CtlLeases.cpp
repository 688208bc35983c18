#include "CtlArguments.h"
#include "CtlCommands.h"
#include "CtlOutput.h"
#include "base/DateText.h"
#include "lease/LeaseDue.h"
#include "store/StoreError.h"

#include <QDate>

namespace {

// leases [--within DAYS] [--as-of YYYY/MM/DD]: what is due on each contract,
// for a scheduled mail.
class CtlLeases : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("leases"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  leases [--within DAYS] [--as-of YYYY/MM/DD]\n"
            "                     契約ごとの終了日・残回数・残額・対象PC台数・期限を出力する\n"
            "                     (期限間近: 今日を含むDAYS日以内に終了、既定90日。期限切れ:\n"
            "                     終了後も撤去日のないPCが契約を指している。--as-of: "
            "今日の代わり)\n");
    }
    Access access() const override { return Access::Reads; }
    bool parse(CtlArguments &arguments) override
    {
        m_withinDays = arguments.count(QLatin1String("--within"),
                                       QStringLiteral("日数に誤りがあります: %1"));
        m_asOf = arguments.date(QLatin1String("--as-of"));
        return !arguments.failed() && arguments.positional().isEmpty() ? true : arguments.refuse();
    }
    int run(const CtlContext &c) override
    {
        const QDate today = m_asOf.value_or(QDate::currentDate());
        QVector<LeaseDue::Row> rows;
        try {
            rows = LeaseDue::rows(c.dm, today, m_withinDays.value_or(LeaseDue::DefaultWithinDays));
        } catch (const StoreError &e) {
            c.err << e.message() << Qt::endl;
            return CtlFailure;
        }
        c.out << QStringLiteral(
            "リース会社\t契約№\tリース終了日\t残回数\t残額\t対象PC台数\t期限\n");
        for (const LeaseDue::Row &row : std::as_const(rows)) {
            const QStringList cells {CtlOutput::cell(row.key.lease),
                                     CtlOutput::cell(row.key.leaseNo),
                                     DateText::shortDate(row.end),
                                     QString::number(row.figures.paymentsDue),
                                     QString::number(row.figures.amountDue),
                                     QString::number(row.figures.coveredPcs),
                                     LeaseDue::markText(row.mark)};
            c.out << cells.join(u'\t') << '\n';
        }
        c.out.flush();
        return CtlSuccess;
    }

private:
    std::optional<int> m_withinDays;
    std::optional<QDate> m_asOf;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlLeases()
{
    return std::make_unique<CtlLeases>();
}
