#include "OrvaneCtl.h"

#include "base/AppSettings.h"
#include "base/DateText.h"
#include "base/IniFile.h"
#include "base/ProgramPaths.h"
#include "base/TextHelpers.h"
#include "import/ImportRun.h"
#include "import/Ip16Backfill.h"
#include "layout/LayoutError.h"
#include "layout/PdfFileDevice.h"
#include "lease/LeaseDue.h"
#include "output/BandedReport.h"
#include "output/CsvExport.h"
#include "output/ListReports.h"
#include "output/MasterQuery.h"
#include "output/PcSheetReport.h"
#include "output/ReportRun.h"
#include "output/TableDump.h"
#include "store/StatementCheck.h"
#include "store/StoreConnection.h"
#include "store/StoreError.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"
#include "store/UserStatement.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <atomic>
#include <csignal>
#include <optional>

namespace {

// Prints the table check's texts; a back-fill the window would ask for is
// run at once.
class CheckPrinter : public TableCheckObserver
{
public:
    CheckPrinter(TDMdata &dm, QTextStream &err) : m_dm(dm), m_err(err) { }
    void status(const QString &text) override
    {
        if (!text.isEmpty())
            m_err << text << Qt::endl;
    }
    void ip16BackfillNeeded(int count) override
    {
        m_err << QStringLiteral("ＩＰアドレス（１６進数）セット中 (%1 件)").arg(count) << Qt::endl;
        const int done = Ip16Backfill::run(m_dm, {});
        m_err << QStringLiteral("処理件数＝ %1 件").arg(done) << Qt::endl;
    }

private:
    TDMdata &m_dm;
    QTextStream &m_err;
};

class ImportPrinter : public ImportObserver
{
public:
    explicit ImportPrinter(QTextStream &err) : m_err(err) { }
    void progress(const QString &text) override
    {
        if (!text.isEmpty())
            m_err << text.trimmed() << Qt::endl;
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
    QTextStream &m_err;
};

// A value as one cell of the tab-separated output.
QString cell(const QVariant &value)
{
    if (value.isNull())
        return QString();
    QString text;
    switch (value.typeId()) {
    case QMetaType::QDate:
        text = value.toDate().toString(Qt::ISODate);
        break;
    case QMetaType::QDateTime:
        text = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        break;
    default:
        text = value.toString();
    }
    // Keep one row per line.
    text.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    return text;
}

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

// The statement Ctrl+C stops. A signal handler may only touch lock-free
// state; cancel() is written for that.
std::atomic<UserStatement *> interruptible {nullptr};

extern "C" void stopStatement(int)
{
    if (UserStatement *statement = interruptible.load())
        statement->cancel();
}

// Ctrl+C stops the statement while this lives, instead of the program.
class InterruptStops
{
public:
    explicit InterruptStops(UserStatement &statement)
    {
        interruptible.store(&statement);
        m_previous = std::signal(SIGINT, stopStatement);
    }
    ~InterruptStops()
    {
        std::signal(SIGINT, m_previous);
        interruptible.store(nullptr);
    }
    InterruptStops(const InterruptStops &) = delete;
    InterruptStops &operator=(const InterruptStops &) = delete;

private:
    void (*m_previous)(int) = SIG_DFL;
};

// A number of seconds given to an option.
std::optional<int> seconds(const QString &text)
{
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

} // namespace

struct OrvaneCtl::Options
{
    QString iniPath;
    QString dataDir;
    QString command;
    QStringList arguments; // the command's own
    int timeLimit = UserStatement::Limits().seconds;
    std::optional<int> lockWait; // seconds
    std::optional<TableId> exportTable;
    QString pdfFile; // of sheet and report
    bool printerShares = false; // of report kyoyu
    std::optional<int> withinDays; // of leases
    std::optional<QDate> asOf; // of leases
};

OrvaneCtl::OrvaneCtl(const QString &programFile, QTextStream &out, QTextStream &err)
    : m_programFile(programFile), m_out(out), m_err(err)
{ }

QString OrvaneCtl::usage()
{
    return QStringLiteral(
        "使い方: orvanectl [--ini FILE] [--data DIR] COMMAND\n"
        "  import [--lock-wait SECONDS] FOLDER\n"
        "                     収集ファイル(*.csv)のフォルダを取り込む\n"
        "                     (他のコピーのロックを1ファイルにつき最大SECONDS秒待つ)\n"
        "  check              テーブルのチェックと更新\n"
        "  sql [--time-limit SECONDS] \"SELECT ...\"\n"
        "                     SELECT文を一つ実行し、タブ区切りで出力する\n"
        "                     (既定では300秒で中止する。0は無制限。Ctrl+Cで中止)\n"
        "  export TABLE FILE  テーブル(pc, drive, printer, appli)をCSVファイルに出力する\n"
        "  sheet --pdf FILE [KEY...]\n"
        "                     パソコン管理シートをPDFファイルに出力する "
        "(KEYを省略すると全パソコン)\n"
        "  report bu-ka|kyoyu [--printers]|appli NAME --pdf FILE\n"
        "                     一覧表をPDFファイルに出力する (bu-ka: 部・課別パソコン一覧、\n"
        "                     kyoyu: 共有情報一覧 (--printers でプリンタ共有も)、\n"
        "                     appli: アプリケーションNAMEの導入状況一覧)\n"
        "  leases [--within DAYS] [--as-of YYYY/MM/DD]\n"
        "                     契約ごとの終了日・残回数・残額・対象PC台数・期限を出力する\n"
        "                     (期限間近: 今日を含むDAYS日以内に終了、既定90日。期限切れ:\n"
        "                     終了後も撤去日のないPCが契約を指している。--as-of: 今日の代わり)\n"
        "  dump FILE          PCテーブルをダンプファイルに出力する\n"
        "  restore FILE       PCテーブルの内容をダンプファイルの内容で置き換える\n"
        "                     (一つのトランザクションで行い、誤りがあればテーブルは変わらない)\n"
        "  --ini FILE         設定ファイル (既定: プログラムと同じフォルダの Orvane.INI)\n"
        "  --data DIR         "
        "設定ファイルのDB設定の代わりに、このローカルのデータフォルダを使う\n");
}

bool OrvaneCtl::parse(const QStringList &arguments, Options &options, int &exit)
{
    const auto refuse = [&](const QString &message) {
        if (!message.isEmpty())
            m_err << message << Qt::endl;
        m_err << usage();
        exit = UsageOrConnection;
        return false;
    };
    QStringList rest;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        const bool hasValue = i + 1 < arguments.size();
        if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            m_out << usage();
            exit = Success;
            return false;
        }
        if (a == QLatin1String("--ini") && hasValue) {
            options.iniPath = arguments[++i];
        } else if (a == QLatin1String("--data") && hasValue) {
            options.dataDir = arguments[++i];
        } else if (a == QLatin1String("--time-limit") && hasValue) {
            const std::optional<int> value = seconds(arguments[++i]);
            if (!value)
                return refuse(QStringLiteral("秒数に誤りがあります: %1").arg(arguments[i]));
            options.timeLimit = *value;
        } else if (a == QLatin1String("--pdf") && hasValue) {
            options.pdfFile = arguments[++i];
        } else if (a == QLatin1String("--printers")) {
            options.printerShares = true;
        } else if (a == QLatin1String("--lock-wait") && hasValue) {
            options.lockWait = seconds(arguments[++i]);
            if (!options.lockWait)
                return refuse(QStringLiteral("秒数に誤りがあります: %1").arg(arguments[i]));
        } else if (a == QLatin1String("--within") && hasValue) {
            options.withinDays = seconds(arguments[++i]);
            if (!options.withinDays)
                return refuse(QStringLiteral("日数に誤りがあります: %1").arg(arguments[i]));
        } else if (a == QLatin1String("--as-of") && hasValue) {
            options.asOf = QDate::fromString(arguments[++i], QStringLiteral("yyyy/MM/dd"));
            if (!options.asOf->isValid())
                return refuse(QStringLiteral("日付に誤りがあります: %1").arg(arguments[i]));
        } else if (a.startsWith(QLatin1String("--"))) {
            return refuse(QStringLiteral("不明なオプションです: %1").arg(a));
        } else {
            rest << a;
        }
    }
    options.command = rest.value(0);
    options.arguments = rest.mid(1);
    const QString &command = options.command;
    const qsizetype count = options.arguments.size();
    const bool known = (command == QLatin1String("import") && count == 1)
        || (command == QLatin1String("check") && count == 0)
        || (command == QLatin1String("sql") && count == 1)
        || (command == QLatin1String("export") && count == 2)
        || (command == QLatin1String("sheet") && !options.pdfFile.isEmpty())
        || (command == QLatin1String("report") && !options.pdfFile.isEmpty()
            && ((count == 1 && options.arguments[0] == QLatin1String("bu-ka"))
                || (count == 1 && options.arguments[0] == QLatin1String("kyoyu"))
                || (count == 2 && options.arguments[0] == QLatin1String("appli"))))
        || (command == QLatin1String("leases") && count == 0)
        || (command == QLatin1String("dump") && count == 1)
        || (command == QLatin1String("restore") && count == 1);
    if (!known)
        return refuse(QString());
    if (!options.pdfFile.isEmpty() && command != QLatin1String("sheet")
        && command != QLatin1String("report"))
        return refuse(QStringLiteral("--pdf は sheet と report だけに使えます"));
    if (options.printerShares
        && (command != QLatin1String("report") || options.arguments[0] != QLatin1String("kyoyu")))
        return refuse(QStringLiteral("--printers は report kyoyu だけに使えます"));
    if (options.lockWait && command != QLatin1String("import"))
        return refuse(QStringLiteral("--lock-wait は import だけに使えます"));
    if ((options.withinDays || options.asOf) && command != QLatin1String("leases"))
        return refuse(QStringLiteral("--within と --as-of は leases だけに使えます"));
    if (command == QLatin1String("export")) {
        options.exportTable = exportTableId(options.arguments[0]);
        if (!options.exportTable)
            return refuse(QStringLiteral("出力できないテーブルです: %1").arg(options.arguments[0]));
    }
    return true;
}

int OrvaneCtl::run(const QStringList &arguments)
{
    Options options;
    int exit = Success;
    if (!parse(arguments, options, exit))
        return exit;

    // The settings as the window reads them: the program folder's
    // Orvane.INI unless another is named.
    const ProgramPaths paths(QFileInfo(m_programFile).absolutePath() + QStringLiteral("/Orvane"));
    AppSettings settings(paths.defaultDataDir());
    TDMdata dm;
    if (const int opened = openStore(options, settings, dm); opened != Success)
        return opened;
    if (options.command == QLatin1String("import"))
        return import(dm, settings, options);
    if (options.command == QLatin1String("sql"))
        return sql(dm, options);
    if (options.command == QLatin1String("export"))
        return exportTable(dm, options);
    if (options.command == QLatin1String("sheet"))
        return sheet(dm, options);
    if (options.command == QLatin1String("report"))
        return report(dm, options);
    if (options.command == QLatin1String("leases"))
        return leases(dm, options);
    if (options.command == QLatin1String("dump"))
        return dump(dm, options);
    if (options.command == QLatin1String("restore"))
        return restore(dm, options);
    return Success; // check
}

int OrvaneCtl::openStore(const Options &options, AppSettings &settings, TDMdata &dm)
{
    const ProgramPaths paths(QFileInfo(m_programFile).absolutePath() + QStringLiteral("/Orvane"));
    const IniFile ini(options.iniPath.isEmpty() ? paths.iniPath() : options.iniPath);
    settings.readAtStart(ini, {}, LocalIPAddress);

    StoreSettings store = StoreConnection::toStoreSettings(settings.db);
    if (!options.dataDir.isEmpty()) {
        // Made when missing, one level only, like the program's own PCDB.
        if (!QFileInfo(options.dataDir).isDir() && !QDir().mkdir(options.dataDir)) {
            m_err << QStringLiteral("データフォルダを作成できません: %1")
                         .arg(QDir::toNativeSeparators(options.dataDir))
                  << Qt::endl;
            return UsageOrConnection;
        }
        store = StoreSettings();
        store.mode = StoreSettings::Mode::Local;
        store.folder = options.dataDir;
    } else if (store.mode == StoreSettings::Mode::Local
               && QDir(store.folder) == QDir(paths.defaultDataDir())) {
        const QString error = StoreConnection::ensureDefaultDataFolder(paths.homeDir());
        if (!error.isEmpty()) {
            m_err << error << Qt::endl;
            return UsageOrConnection;
        }
    }

    dm.setSettings(store);
    if (options.lockWait)
        dm.setLockWait(*options.lockWait * 1000);
    // Reading needs no write access: a local store that cannot be written
    // (a read-only mount) is opened read-only for the commands that only
    // read it.
    const bool reads = options.command == QLatin1String("sql")
        || options.command == QLatin1String("export") || options.command == QLatin1String("leases")
        || options.command == QLatin1String("dump") || options.command == QLatin1String("sheet")
        || options.command == QLatin1String("report");
    if (reads && store.mode == StoreSettings::Mode::Local) {
        const QFileInfo file(TDMdata::localDatabaseFile(store.folder));
        dm.setReadOnly(file.exists()
                       && (!file.isWritable() || !QFileInfo(store.folder).isWritable()));
    }
    // No one to ask at a terminal run by a scheduler: a server store needs
    // its user name in the settings.
    dm.setLoginPrompt([this](QString &, QString &) {
        m_err << QStringLiteral("設定ファイルにユーザ名がありません") << Qt::endl;
        return false;
    });
    try {
        dm.open();
        CheckPrinter printer(dm, m_err);
        dm.checkTables(printer);
    } catch (const StoreError &e) {
        m_err << QStringLiteral("データベースへの接続に失敗しました") << Qt::endl
              << e.message() << Qt::endl;
        return UsageOrConnection;
    }
    return Success;
}

int OrvaneCtl::import(TDMdata &dm, const AppSettings &settings, const Options &options)
{
    // The options and networks of the settings, as the window imports.
    ImportOptions importOptions;
    importOptions.appliDel = settings.appliDel;
    importOptions.network1 = {settings.net.ipAddr, settings.net.subNetMask};
    importOptions.network2 = {settings.net.ipAddr2, settings.net.subNetMask2};

    ImportPrinter printer(m_err);
    const ImportSummary s = ImportRun(dm, printer).run(options.arguments[0], importOptions);
    m_err << QStringLiteral("ファイル %1 件: 取込 %2 件、エラー %3 件、空 %4 件、対象外 %5 件%6")
                 .arg(s.files)
                 .arg(s.imported)
                 .arg(s.failed)
                 .arg(s.empty)
                 .arg(s.skipped)
                 .arg(s.stopped ? QStringLiteral("、中断") : QString())
          << Qt::endl;
    return (s.failed > 0 || s.empty > 0 || s.stopped || s.folderUnreadable) ? Failure : Success;
}

int OrvaneCtl::sql(TDMdata &dm, const Options &options)
{
    const QString &text = options.arguments[0];
    if (!StatementCheck::isOneSelect(text)) {
        m_err << QStringLiteral("SQL文に誤りがあります") << Qt::endl;
        return Failure;
    }
    try {
        std::unique_ptr<UserStatement> statement
            = UserStatement::connect(dm.connectedSettings(), UserStatement::Mode::Query);
        const InterruptStops interrupt(*statement);
        UserStatement::Limits limits;
        limits.seconds = options.timeLimit;
        statement->start(text, limits);
        // Rows go out as they come, so no result has to fit in memory.
        m_out << statement->columns().join(u'\t') << '\n';
        QVariantList row;
        QStringList cells;
        while (statement->next(row)) {
            cells.clear();
            for (const QVariant &v : std::as_const(row))
                cells << cell(v);
            m_out << cells.join(u'\t') << '\n';
        }
        statement->finish();
    } catch (const StoreError &e) {
        m_out.flush();
        m_err << e.message() << Qt::endl;
        return Failure;
    }
    m_out.flush();
    return Success;
}

int OrvaneCtl::exportTable(TDMdata &dm, const Options &options)
{
    const QString &file = options.arguments[1];
    return written(CsvExport(dm, *options.exportTable).writeFile(file), file);
}

int OrvaneCtl::written(const CsvExport::Result &result, const QString &file)
{
    if (!result.ok) {
        m_err << result.error << Qt::endl;
        return Failure;
    }
    m_err << QStringLiteral("%1 件を出力しました: %2")
                 .arg(result.rows)
                 .arg(QDir::toNativeSeparators(file))
          << Qt::endl;
    return Success;
}

int OrvaneCtl::sheet(TDMdata &dm, const Options &options)
{
    const QStringList &keys = options.arguments;
    PcSheetReport report(
        dm, keys.isEmpty() ? PcSheetReport::allPcs() : PcSheetReport::selectedPcs(keys));
    MasterQuery &pcs = report.Qpc();
    ReportRun::Readiness readiness = ReportRun::Readiness::Ready;
    try {
        readiness = ReportRun::prepare(report);
    } catch (const StoreError &e) {
        m_err << e.message() << Qt::endl;
        return Failure;
    }
    const QStringList found = pcs.keys();
    bool missing = false;
    for (const QString &key : keys) {
        if (!found.contains(key)) {
            m_err << QStringLiteral("パソコンがありません: %1").arg(key) << Qt::endl;
            missing = true;
        }
    }
    if (missing)
        return Failure;
    if (readiness != ReportRun::Readiness::Ready) {
        m_err << ReportRun::message(readiness) << Qt::endl;
        return Failure;
    }

    PdfFileDevice device(options.pdfFile);
    if (!device.open()) {
        m_err << device.errorText() << Qt::endl;
        return Failure;
    }
    int lastPosition = -1;
    int pages = 0;
    try {
        ReportRun::print(report, device, [&] {
            ++pages;
            if (pcs.position() == lastPosition)
                return;
            lastPosition = pcs.position();
            m_err << QStringLiteral("(%1/%2) %3")
                         .arg(lastPosition + 1)
                         .arg(pcs.recordCount())
                         .arg(pcs.displayText(QStringLiteral("Key")))
                  << Qt::endl;
        });
    } catch (const LayoutError &e) {
        m_err << e.message() << Qt::endl;
    } catch (const StoreError &e) {
        m_err << e.message() << Qt::endl;
    }
    const bool complete = pcs.eof() && device.close();
    if (!complete) {
        // No half-written sheets are left for a scheduled job to file.
        if (!device.errorText().isEmpty())
            m_err << device.errorText() << Qt::endl;
        QFile::remove(options.pdfFile);
        return Failure;
    }
    m_err << QStringLiteral("%1 台、%2 ページを出力しました: %3")
                 .arg(lastPosition + 1)
                 .arg(pages)
                 .arg(QDir::toNativeSeparators(options.pdfFile))
          << Qt::endl;
    return Success;
}

int OrvaneCtl::leases(TDMdata &dm, const Options &options)
{
    const QDate today = options.asOf.value_or(QDate::currentDate());
    QVector<LeaseDue::Row> rows;
    try {
        rows = LeaseDue::rows(dm, today, options.withinDays.value_or(LeaseDue::DefaultWithinDays));
    } catch (const StoreError &e) {
        m_err << e.message() << Qt::endl;
        return Failure;
    }
    m_out << QStringLiteral("リース会社\t契約№\tリース終了日\t残回数\t残額\t対象PC台数\t期限\n");
    for (const LeaseDue::Row &row : std::as_const(rows)) {
        const QStringList cells {cell(row.key.lease),
                                 cell(row.key.leaseNo),
                                 DateText::shortDate(row.end),
                                 QString::number(row.figures.paymentsDue),
                                 QString::number(row.figures.amountDue),
                                 QString::number(row.figures.coveredPcs),
                                 LeaseDue::markText(row.mark)};
        m_out << cells.join(u'\t') << '\n';
    }
    m_out.flush();
    return Success;
}

int OrvaneCtl::dump(TDMdata &dm, const Options &options)
{
    const QString &file = options.arguments[0];
    return written(TableDump::write(dm, TableId::PC, file), file);
}

int OrvaneCtl::restore(TDMdata &dm, const Options &options)
{
    const QString &file = options.arguments[0];
    const TableDump::RestoreResult result = TableDump::restore(dm, TableId::PC, file);
    if (!result.ok) {
        m_err << QStringLiteral("復元できませんでした (テーブルは変更されていません): %1")
                     .arg(QDir::toNativeSeparators(file))
              << Qt::endl
              << result.error << Qt::endl;
        return Failure;
    }
    m_err << QStringLiteral("%1 件を復元しました: %2")
                 .arg(result.rows)
                 .arg(QDir::toNativeSeparators(file))
          << Qt::endl;
    return Success;
}

int OrvaneCtl::report(TDMdata &dm, const Options &options)
{
    const QString &kind = options.arguments[0];
    std::unique_ptr<BandedReport> list = kind == QLatin1String("bu-ka") ? ListReports::buKaBetu(dm)
        : kind == QLatin1String("kyoyu") ? ListReports::kyoyuItiran(dm, options.printerShares)
                                         : ListReports::appli(dm, options.arguments[1]);
    // A list without rows still prints its headers.
    try {
        ReportRun::prepare(*list);
    } catch (const StoreError &e) {
        m_err << e.message() << Qt::endl;
        return Failure;
    }
    PdfFileDevice device(options.pdfFile);
    if (!device.open()) {
        m_err << device.errorText() << Qt::endl;
        return Failure;
    }
    int pages = 0;
    try {
        ReportRun::print(*list, device, [&] { ++pages; });
    } catch (const LayoutError &e) {
        m_err << e.message() << Qt::endl;
    }
    const bool complete = list->master()->eof() && device.close();
    if (!complete) {
        // No half-written list is left for a scheduled job to file.
        if (!device.errorText().isEmpty())
            m_err << device.errorText() << Qt::endl;
        QFile::remove(options.pdfFile);
        return Failure;
    }
    m_err << QStringLiteral("%1 件、%2 ページを出力しました: %3")
                 .arg(list->rows().size())
                 .arg(pages)
                 .arg(QDir::toNativeSeparators(options.pdfFile))
          << Qt::endl;
    return Success;
}
