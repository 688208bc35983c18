#include "CtlArguments.h"
#include "CtlCommands.h"
#include "CtlOutput.h"
#include "store/StoreError.h"
#include "views/LedgerSearch.h"

namespace {

// find [--in KIND[,KIND...]] TEXT...: the search of 「ﾂｰﾙ → 検索...」, for
// scripts. Exit 0 with matches, 1 without.
class CtlFind : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("find"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  find [--in pc|appli|printer|share|lan|lease] TEXT...\n"
            "                     台帳全体を検索する(全角半角・かなカナ・大小文字を区別しない、\n"
            "                     MACアドレスは区切り文字を問わない、複数の語はすべてを含む行)。\n"
            "                     種類・Key・項目・値を出力し、該当なしは終了コード1\n");
    }
    Access access() const override { return Access::Reads; }
    bool parse(CtlArguments &arguments) override
    {
        m_kinds.clear();
        if (const std::optional<QString> in = arguments.value(QLatin1String("--in"))) {
            for (const QString &name : in->split(u',', Qt::SkipEmptyParts)) {
                const std::optional<LedgerSearch::Kind> kind = LedgerSearch::kindOfName(name);
                if (!kind)
                    return arguments.refuse(
                        QStringLiteral("--in には %1 のいずれかを指定してください")
                            .arg(LedgerSearch::kindNames().join(u'|')));
                m_kinds.append(*kind);
            }
        }
        if (arguments.failed())
            return arguments.refuse();
        m_text = arguments.positional().join(u' ');
        if (arguments.failed())
            return false;
        if (m_text.trimmed().isEmpty())
            return arguments.refuse(QStringLiteral("検索する文字列を指定してください"));
        return true;
    }
    int run(const CtlContext &c) override
    {
        LedgerSearch search;
        try {
            search.load(c.dm, m_kinds);
        } catch (const StoreError &e) {
            c.err << e.message() << Qt::endl;
            return CtlFailure;
        }
        const QList<LedgerSearch::Hit> hits = search.find(m_text);
        c.out << QStringLiteral("種類\tKey\t項目\t値\n");
        for (const LedgerSearch::Hit &hit : hits) {
            const QStringList cells {LedgerSearch::kindText(hit.kind), CtlOutput::cell(hit.key),
                                     hit.column, CtlOutput::cell(hit.value)};
            c.out << cells.join(u'\t') << '\n';
        }
        c.out.flush();
        c.verbose << QStringLiteral("%1 件見つかりました").arg(hits.size()) << Qt::endl;
        return hits.isEmpty() ? CtlFailure : CtlSuccess;
    }

private:
    QList<LedgerSearch::Kind> m_kinds;
    QString m_text;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlFind()
{
    return std::make_unique<CtlFind>();
}
