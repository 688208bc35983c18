#include "CtlArguments.h"
#include "CtlCommands.h"
#include "ledger/PcMerge.h"
#include "store/StoreError.h"

namespace {

// merge --into NEWKEY OLDKEY: the old entry of a PC merged into its new
// one; where both have a ledger value the new one's is kept, and said so.
class CtlMerge : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("merge"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  merge --into NEWKEY OLDKEY\n"
            "                     OLDKEY のPCを NEWKEY のPCに統合する (台帳の値は NEWKEY に\n"
            "                     ない項目だけ引き継ぎ、手入力の明細とリースの対象PCを移して\n"
            "                     OLDKEY を削除する。撤去日は引き継がない)\n");
    }
    Access access() const override { return Access::Writes; }
    bool parse(CtlArguments &arguments) override
    {
        const std::optional<QString> into = arguments.value(QLatin1String("--into"));
        const QStringList rest = arguments.positional();
        if (arguments.failed() || !into || into->isEmpty() || rest.size() != 1
            || rest.first().isEmpty())
            return arguments.refuse();
        m_newerKey = *into;
        m_olderKey = rest.first();
        return true;
    }
    int run(const CtlContext &c) override
    {
        PcMerge::Result result;
        PcMerge::Plan plan;
        try {
            plan = PcMerge::Plan::read(c.dm, m_newerKey, m_olderKey);
            result = PcMerge::merge(c.dm, plan);
        } catch (const StoreError &e) {
            c.err << QStringLiteral("統合できませんでした (何も変更していません): %1 → %2")
                         .arg(m_olderKey, m_newerKey)
                  << Qt::endl
                  << e.message() << Qt::endl;
            return CtlFailure;
        }
        // What the newer PC did not take from the older one.
        for (const int i : plan.kept()) {
            const PcMerge::LedgerColumn &column = PcMerge::ledgerColumns().at(i);
            c.out << QStringLiteral(
                         "%1: %2 の値「%3」を残しました (%4 の値「%5」は引き継いでいません)\n")
                         .arg(column.caption, m_newerKey,
                              plan.text(PcMerge::Side::Newer, column.name), m_olderKey,
                              plan.text(PcMerge::Side::Older, column.name));
        }
        for (const PcMerge::DetailRow &row : plan.details()) {
            if (!row.moves)
                c.out << QStringLiteral("%1「%2」: %3 に同じ名前の行があるため、%4 "
                                        "の手入力の行は移していません\n")
                             .arg(PcMerge::tableCaption(row.table), row.name, m_newerKey,
                                  m_olderKey);
        }
        c.out.flush();
        c.verbose << QStringLiteral("%1 を %2 に統合しました (台帳の値 %3 件、手入力の明細 %4 行、"
                                    "リースの対象PC %5 件を移しました)")
                         .arg(m_olderKey, m_newerKey)
                         .arg(result.values)
                         .arg(result.rows)
                         .arg(result.leases)
                  << Qt::endl;
        return CtlSuccess;
    }

private:
    QString m_newerKey;
    QString m_olderKey;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlMerge()
{
    return std::make_unique<CtlMerge>();
}
