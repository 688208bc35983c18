#include "CtlArguments.h"
#include "CtlCommands.h"
#include "CtlOutput.h"
#include "ledger/PcDuplicates.h"
#include "store/StoreError.h"

namespace {

// duplicates: the pairs of PCs that are probably one PC entered twice,
// highest score first, the newer PC of each first.
class CtlDuplicates : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("duplicates"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  duplicates         同じPCと思われる2台の組を点数の高い順に出力する\n"
            "                     (Key1 "
            "が新しいPC。撤去日のある組は最後。別のPCとした組は出さない)\n");
    }
    Access access() const override { return Access::Reads; }
    bool parse(CtlArguments &arguments) override
    {
        return !arguments.failed() && arguments.positional().isEmpty() ? true : arguments.refuse();
    }
    int run(const CtlContext &c) override
    {
        PcDuplicates::Result result;
        try {
            result = PcDuplicates::find(c.dm);
        } catch (const StoreError &e) {
            c.err << e.message() << Qt::endl;
            return CtlFailure;
        }
        c.out << QStringLiteral("Key1\tKey2\t点数\t根拠\n");
        for (const PcDuplicates::Pair &pair : std::as_const(result.pairs)) {
            const QStringList cells {CtlOutput::cell(pair.newerKey), CtlOutput::cell(pair.olderKey),
                                     QString::number(pair.score),
                                     CtlOutput::cell(pair.evidenceText())};
            c.out << cells.join(u'\t') << '\n';
        }
        c.out.flush();
        for (const PcDuplicates::SharedValue &value : std::as_const(result.shared))
            c.verbose << QStringLiteral("%1 台に共通のため根拠にしませんでした: %2")
                             .arg(value.pcs)
                             .arg(value.text)
                      << Qt::endl;
        return CtlSuccess;
    }
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlDuplicates()
{
    return std::make_unique<CtlDuplicates>();
}
