#include "CtlArguments.h"
#include "CtlCommands.h"
#include "CtlOutput.h"
#include "base/AppSettings.h"
#include "import/ImportPreview.h"
#include "import/ImportRun.h"
#include "store/UDMdata.h"

namespace {

// The progress where it is shown (a terminal, --verbose), every failure
// on err.
class ImportPrinter : public ImportObserver
{
public:
    ImportPrinter(QTextStream &progress, QTextStream &err) : m_progress(progress), m_err(err) { }
    void progress(const QString &text) override
    {
        if (!text.isEmpty())
            m_progress << text.trimmed() << Qt::endl;
    }
    void fileMessage(const QString &text) override { m_err << text << Qt::endl; }
    void fileFailed(const QString &text, const QString &reason, int line) override
    {
        m_err << text << QStringLiteral(": ") << reason;
        if (line > 0)
            m_err << QStringLiteral(" (%1 行目)").arg(line);
        m_err << Qt::endl;
    }
    void fatal(const QString &text) override { m_err << text << Qt::endl; }

private:
    QTextStream &m_progress;
    QTextStream &m_err;
};

// Prints what the import would change: a header line, a line per file,
// PC and table, the sums last.
void printPreview(QTextStream &out, const ImportPreview &preview)
{
    const auto line = [&](const ImportPreview::Line &l) {
        out << QStringList {CtlOutput::cell(l.file),
                            CtlOutput::cell(l.key),
                            l.table,
                            QString::number(l.added),
                            QString::number(l.changed),
                            QString::number(l.removed),
                            QString::number(l.hand)}
                   .join(u'\t')
            << '\n';
    };
    out << ImportPreview::header().join(u'\t') << '\n';
    for (const ImportPreview::Line &l : preview.lines())
        line(l);
    line(preview.total());
    out.flush();
}

// import [--dry-run] [--lock-wait SECONDS] FOLDER: the window's import over
// a folder, or what it would change.
class CtlImport : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("import"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  import [--dry-run] [--lock-wait SECONDS] FOLDER\n"
            "                     収集ファイル(*.csv)のフォルダを取り込む\n"
            "                     (他のコピーのロックを1ファイルにつき最大SECONDS秒待つ)\n"
            "                     --dry-run: 何も書き込まず、ファイル・テーブルごとに追加・変更・\n"
            "                     削除される行数と変更される手入力の数を出力する\n");
    }
    Access access() const override { return m_dryRun ? Access::Reads : Access::Writes; }
    bool parse(CtlArguments &arguments) override
    {
        m_dryRun = arguments.flag(QLatin1String("--dry-run"));
        // Milliseconds of a wait beyond a day would not fit the store's
        // setting.
        m_lockWait = arguments.count(QLatin1String("--lock-wait"),
                                     QStringLiteral("秒数に誤りがあります: %1"),
                                     CtlArguments::SecondsInADay);
        const QStringList rest = arguments.positional();
        if (arguments.failed() || rest.size() != 1)
            return arguments.refuse();
        m_folder = rest.first();
        return true;
    }
    void prepare(TDMdata &dm) const override
    {
        if (m_lockWait)
            dm.setLockWait(*m_lockWait * 1000);
    }
    int run(const CtlContext &c) override
    {
        // The options and networks of the settings, as the window imports.
        ImportOptions options;
        options.appliDel = c.settings.appliDel;
        options.network1 = {c.settings.net.ipAddr, c.settings.net.subNetMask};
        options.network2 = {c.settings.net.ipAddr2, c.settings.net.subNetMask2};

        ImportPrinter printer(c.progress, c.err);
        ImportPreview preview(c.dm);
        preview.setKeepsDetails(false); // the table shows the counts only
        const ImportSummary s = m_dryRun
            ? ImportRun(c.dm, printer).preview(m_folder, options, preview)
            : ImportRun(c.dm, printer).run(m_folder, options);
        if (m_dryRun && !s.stopped)
            printPreview(c.out, preview);
        const bool failed = s.failed > 0 || s.empty > 0 || s.stopped || s.folderUnreadable;
        // The counts go with the failures; a run that went well is quiet.
        (failed ? c.err : c.verbose)
            << QStringLiteral("ファイル %1 件: 取込 %2 件、エラー %3 件、空 %4 件、対象外 %5 件%6")
                   .arg(s.files)
                   .arg(s.imported)
                   .arg(s.failed)
                   .arg(s.empty)
                   .arg(s.skipped)
                   .arg(s.stopped ? QStringLiteral("、中断") : QString())
            << (m_dryRun ? QStringLiteral(" (確認のみ、何も書き込んでいません)") : QString())
            << Qt::endl;
        return failed ? CtlFailure : CtlSuccess;
    }

private:
    bool m_dryRun = false;
    std::optional<int> m_lockWait; // seconds
    QString m_folder;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlImport()
{
    return std::make_unique<CtlImport>();
}
