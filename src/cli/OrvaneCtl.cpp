#include "OrvaneCtl.h"

#include "base/AppSettings.h"
#include "base/IniFile.h"
#include "base/ProgramPaths.h"
#include "base/TextHelpers.h"
#include "import/ImportRun.h"
#include "import/Ip16Backfill.h"
#include "layout/LayoutError.h"
#include "layout/PdfFileDevice.h"
#include "output/CsvExport.h"
#include "output/MasterQuery.h"
#include "output/PcSheetReport.h"
#include "output/ReportRun.h"
#include "store/ReadOnlyQuery.h"
#include "store/StoreConnection.h"
#include "store/StoreError.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

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
bool exportTable(const QString &name, TableId *table)
{
    static const QList<QPair<QString, TableId>> tables {
        {QStringLiteral("pc"), TableId::PC},
        {QStringLiteral("drive"), TableId::Drive},
        {QStringLiteral("printer"), TableId::Printer},
        {QStringLiteral("appli"), TableId::Appli},
    };
    for (const auto &t : tables) {
        if (name.compare(t.first, Qt::CaseInsensitive) == 0) {
            *table = t.second;
            return true;
        }
    }
    return false;
}

} // namespace

OrvaneCtl::OrvaneCtl(const QString &programFile, QTextStream &out, QTextStream &err)
    : m_programFile(programFile), m_out(out), m_err(err)
{ }

QString OrvaneCtl::usage()
{
    return QStringLiteral(
        "使い方: orvanectl [--ini FILE] [--data DIR] COMMAND\n"
        "  import FOLDER      収集ファイル(*.csv)のフォルダを取り込む\n"
        "  check              テーブルのチェックと更新\n"
        "  sql \"SELECT ...\"   SELECT文を一つ実行し、タブ区切りで出力する\n"
        "  export TABLE FILE  テーブル(pc, drive, printer, appli)をCSVファイルに出力する\n"
        "  sheet --pdf FILE [KEY...]\n"
        "                     パソコン管理シートをPDFファイルに出力する "
        "(KEYを省略すると全パソコン)\n"
        "  --ini FILE         設定ファイル (既定: プログラムと同じフォルダの Orvane.INI)\n"
        "  --data DIR         "
        "設定ファイルのDB設定の代わりに、このローカルのデータフォルダを使う\n");
}

int OrvaneCtl::run(const QStringList &arguments)
{
    QString iniPath, dataDir, pdfFile;
    QStringList rest;
    for (int i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if ((a == QLatin1String("--ini") || a == QLatin1String("--data"))
            && i + 1 < arguments.size()) {
            (a == QLatin1String("--ini") ? iniPath : dataDir) = arguments[++i];
        } else if (a == QLatin1String("--pdf") && i + 1 < arguments.size()) {
            pdfFile = arguments[++i];
        } else if (a == QLatin1String("-h") || a == QLatin1String("--help")) {
            m_out << usage();
            return Success;
        } else if (a.startsWith(QLatin1String("--"))) {
            m_err << QStringLiteral("不明なオプションです: %1").arg(a) << Qt::endl << usage();
            return UsageOrConnection;
        } else {
            rest << a;
        }
    }
    const QString command = rest.value(0);
    const bool known = (command == QLatin1String("import") && rest.size() == 2)
        || (command == QLatin1String("check") && rest.size() == 1)
        || (command == QLatin1String("sql") && rest.size() == 2)
        || (command == QLatin1String("export") && rest.size() == 3)
        || (command == QLatin1String("sheet") && !pdfFile.isEmpty());
    if (!known || (!pdfFile.isEmpty() && command != QLatin1String("sheet"))) {
        m_err << usage();
        return UsageOrConnection;
    }
    TableId exportId = TableId::PC;
    if (command == QLatin1String("export") && !exportTable(rest[1], &exportId)) {
        m_err << QStringLiteral("出力できないテーブルです: %1").arg(rest[1]) << Qt::endl << usage();
        return UsageOrConnection;
    }

    // The settings as the window reads them: the program folder's
    // Orvane.INI unless another is named.
    const ProgramPaths paths(QFileInfo(m_programFile).absolutePath() + QStringLiteral("/Orvane"));
    if (iniPath.isEmpty())
        iniPath = paths.iniPath();
    const IniFile ini(iniPath);
    AppSettings settings(paths.defaultDataDir());
    settings.readAtStart(ini, {}, LocalIPAddress);

    StoreSettings store = StoreConnection::toStoreSettings(settings.db);
    if (!dataDir.isEmpty()) {
        // Made when missing, one level only, like the program's own PCDB.
        if (!QFileInfo(dataDir).isDir() && !QDir().mkdir(dataDir)) {
            m_err << QStringLiteral("データフォルダを作成できません: %1")
                         .arg(QDir::toNativeSeparators(dataDir))
                  << Qt::endl;
            return UsageOrConnection;
        }
        store = StoreSettings();
        store.mode = StoreSettings::Mode::Local;
        store.folder = dataDir;
    } else if (store.mode == StoreSettings::Mode::Local
               && QDir(store.folder) == QDir(paths.defaultDataDir())) {
        const QString error = StoreConnection::ensureDefaultDataFolder(paths.homeDir());
        if (!error.isEmpty()) {
            m_err << error << Qt::endl;
            return UsageOrConnection;
        }
    }

    TDMdata dm;
    dm.setSettings(store);
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

    ImportOptions options;
    options.appliDel = settings.appliDel;
    options.network1 = {settings.net.ipAddr, settings.net.subNetMask};
    options.network2 = {settings.net.ipAddr2, settings.net.subNetMask2};
    if (command == QLatin1String("import")) {
        ImportPrinter printer(m_err);
        const ImportSummary s = ImportRun(dm, printer).run(rest[1], options);
        m_err << QStringLiteral(
                     "ファイル %1 件: 取込 %2 件、エラー %3 件、空 %4 件、対象外 %5 件%6")
                     .arg(s.files)
                     .arg(s.imported)
                     .arg(s.failed)
                     .arg(s.empty)
                     .arg(s.skipped)
                     .arg(s.stopped ? QStringLiteral("、中断") : QString())
              << Qt::endl;
        return (s.failed > 0 || s.empty > 0 || s.stopped) ? Failure : Success;
    }
    if (command == QLatin1String("check"))
        return Success;
    if (command == QLatin1String("sheet"))
        return sheet(dm, pdfFile, rest.mid(1));
    if (command == QLatin1String("export")) {
        const CsvExport::Result result = CsvExport(dm, exportId).writeFile(rest[2]);
        if (!result.ok) {
            m_err << result.error << Qt::endl;
            return Failure;
        }
        m_err << QStringLiteral("%1 件を出力しました: %2")
                     .arg(result.rows)
                     .arg(QDir::toNativeSeparators(rest[2]))
              << Qt::endl;
        return Success;
    }
    try {
        const ReadOnlyQuery::Result result = ReadOnlyQuery::run(dm, rest[1]);
        m_out << result.columns.join(u'\t') << '\n';
        for (const QVariantList &row : result.rows) {
            QStringList cells;
            cells.reserve(row.size());
            for (const QVariant &v : row)
                cells << cell(v);
            m_out << cells.join(u'\t') << '\n';
        }
        m_out.flush();
    } catch (const StoreError &e) {
        m_err << e.message() << Qt::endl;
        return Failure;
    }
    return Success;
}

int OrvaneCtl::sheet(TDMdata &dm, const QString &pdfFile, const QStringList &keys)
{
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

    PdfFileDevice device(pdfFile);
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
        QFile::remove(pdfFile);
        return Failure;
    }
    m_err << QStringLiteral("%1 台、%2 ページを出力しました: %3")
                 .arg(lastPosition + 1)
                 .arg(pages)
                 .arg(QDir::toNativeSeparators(pdfFile))
          << Qt::endl;
    return Success;
}
