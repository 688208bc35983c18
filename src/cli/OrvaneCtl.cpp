#include "OrvaneCtl.h"

#include "CtlArguments.h"
#include "CtlCommands.h"
#include "base/AppSettings.h"
#include "base/IniFile.h"
#include "base/OrvaneVersion.h"
#include "base/ProgramPaths.h"
#include "base/TextHelpers.h"
#include "import/Ip16Backfill.h"
#include "store/ConnectionReason.h"
#include "store/StoreConnection.h"
#include "store/StoreError.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QDir>
#include <QFileInfo>

namespace {

// Prints the table check's texts; a back-fill the window would ask for is
// run at once.
class CheckPrinter : public TableCheckObserver
{
public:
    CheckPrinter(TDMdata &dm, QTextStream &verbose) : m_dm(dm), m_verbose(verbose) { }
    void status(const QString &text) override
    {
        if (!text.isEmpty())
            m_verbose << text << Qt::endl;
    }
    void ip16BackfillNeeded(int count) override
    {
        m_verbose << QStringLiteral("ＩＰアドレス（１６進数）セット中 (%1 件)").arg(count)
                  << Qt::endl;
        const int done = Ip16Backfill::run(m_dm, {});
        m_verbose << QStringLiteral("処理件数＝ %1 件").arg(done) << Qt::endl;
    }

private:
    TDMdata &m_dm;
    QTextStream &m_verbose;
};

// Where the texts go that a quiet run does not print.
class NullDevice : public QIODevice
{
public:
    NullDevice() { open(QIODevice::WriteOnly); }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *, qint64 length) override { return length; }
};

} // namespace

// The options before the command's name.
struct OrvaneCtl::Options
{
    QString iniPath;
    QString dataDir;
    bool verbose = false;
};

OrvaneCtl::OrvaneCtl(const QString &programFile, QTextStream &out, QTextStream &err)
    : m_programFile(programFile), m_out(out), m_err(err)
{ }

QString OrvaneCtl::usage()
{
    QString text
        = QStringLiteral("使い方: orvanectl [--ini FILE] [--data DIR] [--verbose] COMMAND\n");
    for (const std::unique_ptr<CtlCommand> &command : ctlCommands())
        text += command->usage();
    text += QStringLiteral(
        "  --ini FILE         設定ファイル (既定: プログラムと同じフォルダの Orvane.INI。\n"
        "                     インストールしたプログラムでは ~/.config/Orvane/Orvane.INI)\n"
        "  --data DIR         "
        "設定ファイルのDB設定の代わりに、このローカルのデータフォルダを使う\n"
        "  --verbose          経過とテーブルのチェックの表示 (取込の経過は端末では常に表示)\n"
        "  -h, --help         この使い方を表示する\n"
        "  --version          バージョンを表示する\n");
    return text;
}

int OrvaneCtl::run(const QStringList &arguments)
{
    const auto refuse = [&](const QString &message) {
        if (!message.isEmpty())
            m_err << message << Qt::endl;
        m_err << usage();
        return UsageOrConnection;
    };
    if (arguments.contains(QLatin1String("-h")) || arguments.contains(QLatin1String("--help"))) {
        m_out << usage();
        return Success;
    }

    // The tool's own options come before the command's name, the command's
    // after it.
    Options options;
    qsizetype i = 0;
    for (; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("--ini") && hasValue)
            options.iniPath = arguments[++i];
        else if (a == QLatin1String("--data") && hasValue)
            options.dataDir = arguments[++i];
        else if (a == QLatin1String("--verbose"))
            options.verbose = true;
        else if (a == QLatin1String("--version")) {
            m_out << QStringLiteral("orvanectl " ORVANE_VERSION) << Qt::endl;
            return Success;
        } else if (a.startsWith(QLatin1String("--")))
            return refuse(QStringLiteral("不明なオプションです: %1").arg(a));
        else
            break;
    }
    const QString name = arguments.value(i);
    std::unique_ptr<CtlCommand> command;
    for (std::unique_ptr<CtlCommand> &candidate : ctlCommands()) {
        if (candidate->name() == name)
            command = std::move(candidate);
    }
    if (!command)
        return refuse(QString());
    CtlArguments commandArguments(arguments.mid(i + 1));
    if (!command->parse(commandArguments))
        return refuse(commandArguments.error());

    NullDevice nowhere;
    QTextStream quiet(&nowhere);
    QTextStream &verbose = options.verbose ? m_err : quiet;
    QTextStream &progress = options.verbose || m_errIsTerminal ? m_err : quiet;

    const ProgramPaths paths(QFileInfo(m_programFile).absolutePath() + QStringLiteral("/Orvane"));
    AppSettings settings(paths.defaultDataDir());
    TDMdata dm;
    if (const int opened = openStore(options, *command, settings, dm, verbose); opened != Success)
        return opened;
    return command->run(CtlContext {m_out, m_err, progress, verbose, dm, settings});
}

int OrvaneCtl::openStore(const Options &options, const CtlCommand &command, AppSettings &settings,
                         TDMdata &dm, QTextStream &verbose)
{
    // A command that only reads makes no folder and no store.
    const bool writes = command.access() == StoreAccess::Writes;
    const ProgramPaths paths(QFileInfo(m_programFile).absolutePath() + QStringLiteral("/Orvane"));
    const IniFile ini(options.iniPath.isEmpty() ? paths.iniPath() : options.iniPath);
    settings.readAtStart(ini, {}, LocalIPAddress);

    StoreSettings store = StoreConnection::toStoreSettings(settings.db);
    if (!options.dataDir.isEmpty()) {
        // Made for a writing command when missing, one level only, like
        // the program's own PCDB.
        if (writes && !QFileInfo(options.dataDir).isDir() && !QDir().mkdir(options.dataDir)) {
            m_err << QStringLiteral("データフォルダを作成できません: %1")
                         .arg(QDir::toNativeSeparators(options.dataDir))
                  << Qt::endl;
            return UsageOrConnection;
        }
        store = StoreSettings();
        store.mode = StoreSettings::Mode::Local;
        store.folder = options.dataDir;
    } else if (writes && store.mode == StoreSettings::Mode::Local
               && QDir(store.folder) == QDir(paths.defaultDataDir())) {
        const QString error = StoreConnection::ensureDefaultDataFolder(paths.homeDir());
        if (!error.isEmpty()) {
            m_err << error << Qt::endl;
            return UsageOrConnection;
        }
    }

    dm.setSettings(store);
    dm.setAccess(command.access());
    command.prepare(dm);
    // No one to ask at a terminal run by a scheduler: a server store needs
    // its user name in the settings.
    dm.setLoginPrompt([this](QString &, QString &) {
        m_err << QStringLiteral("設定ファイルにユーザ名がありません") << Qt::endl;
        return false;
    });
    try {
        dm.open();
        CheckPrinter printer(dm, verbose);
        dm.checkTables(printer);
    } catch (const StoreError &e) {
        // The reason in Japanese where the connection itself failed.
        m_err << QStringLiteral("データベースへの接続に失敗しました") << Qt::endl
              << (dm.isConnected() ? e.message() : ConnectionReason::of(dm.settings(), e.message()))
              << Qt::endl;
        return UsageOrConnection;
    }
    return Success;
}
