#include "CtlArguments.h"
#include "CtlCommands.h"
#include "base/AppSettings.h"
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

// import [--lock-wait SECONDS] FOLDER: the window's import over a folder.
class CtlImport : public CtlCommand
{
public:
    QString name() const override { return QStringLiteral("import"); }
    QString usage() const override
    {
        return QStringLiteral(
            "  import [--lock-wait SECONDS] FOLDER\n"
            "                     収集ファイル(*.csv)のフォルダを取り込む\n"
            "                     (他のコピーのロックを1ファイルにつき最大SECONDS秒待つ)\n");
    }
    Access access() const override { return Access::Writes; }
    bool parse(CtlArguments &arguments) override
    {
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
        const ImportSummary s = ImportRun(c.dm, printer).run(m_folder, options);
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
            << Qt::endl;
        return failed ? CtlFailure : CtlSuccess;
    }

private:
    std::optional<int> m_lockWait; // seconds
    QString m_folder;
};

} // namespace

std::unique_ptr<CtlCommand> makeCtlImport()
{
    return std::make_unique<CtlImport>();
}
