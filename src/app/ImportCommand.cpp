#include "ImportCommand.h"

#include "Umain.h"
#include "base/IniFile.h"
#include "base/ProgramPaths.h"
#include "import/ImportRun.h"
#include "import/windows/UfolderSel.h"
#include "import/windows/UtorikomiKakunin.h"
#include "kit/MessageBoxes.h"
#include "kit/StoreRequired.h"
#include "kit/WaitCursor.h"

#include <QDir>
#include <QFileInfo>
#include <QStatusBar>

namespace {

const QString FolderSection = QStringLiteral("Folder");
const QString FolderKey = QStringLiteral("InvaroCSV");

// The run's progress in the main window's status bar, painted at once as
// the run does not return to the event loop; a message about a file or the
// error that stops the run in a box that the user closes.
class MainWindowObserver : public ImportObserver
{
public:
    explicit MainWindowObserver(TFmain &main) : m_main(main) { }

    void progress(const QString &text) override
    {
        m_main.setStatusText(text);
        if (m_main.isVisible())
            m_main.statusBar()->repaint();
    }

    void fileMessage(const QString &text) override { show(text); }
    // The reason (another copy editing the PC, a record that cannot be
    // read, ...) on a second line, as the command-line tool gives it.
    void fileFailed(const QString &text, const QString &reason, int line) override
    {
        QString message = text;
        if (!reason.isEmpty())
            message += u'\n' + reason;
        if (line > 0)
            message += QStringLiteral("（%1 行目）").arg(line);
        show(message);
    }
    void fatal(const QString &text) override { show(text); }

private:
    void show(const QString &text)
    {
        WaitCursor::Pause normalCursor;
        MessageBoxes::error(&m_main, text);
    }

    TFmain &m_main;
};

ImportOptions optionsOf(const AppSettings &settings)
{
    ImportOptions options;
    options.appliDel = settings.appliDel;
    options.network1 = NetworkPair {settings.net.ipAddr, settings.net.subNetMask};
    options.network2 = NetworkPair {settings.net.ipAddr2, settings.net.subNetMask2};
    return options;
}

} // namespace

ImportCommand::ImportCommand(TFmain &main, TFfolderSel &folderWindow)
    : m_main(main), m_folderWindow(folderWindow)
{
    // "確認...": what the import would change, shown over the folder
    // window, which stays open. (The main window outlives the folder
    // window, this command does not.)
    TFmain &mainWindow = m_main;
    TFfolderSel &window = m_folderWindow;
    m_folderWindow.setPreviewHandler([&mainWindow, &window](const QString &folder) {
        if (!mainWindow.dataModule())
            return;
        TFtorikomiKakunin::showPreview(&window, *mainWindow.dataModule(),
                                       ImportRun::withSeparator(folder),
                                       optionsOf(mainWindow.settings()), mainWindow.paths());
    });
}

QString ImportCommand::startFolder(const IniFile &ini, const ProgramPaths &paths)
{
    const QString programFolder = QDir::toNativeSeparators(QDir::cleanPath(paths.programDir()));
    const QString folder = ini.readString(FolderSection, FolderKey, programFolder);
    return QFileInfo(folder).isDir() ? folder : QString();
}

void ImportCommand::run()
{
    // Without a store there is nothing to import into.
    if (!StoreRequired::ensureConnected(&m_main, m_main.dataModule()))
        return;

    const QString folder = askFolder();
    ImportSummary summary;
    {
        WaitCursor wait;
        MainWindowObserver observer(m_main);
        summary
            = ImportRun(*m_main.dataModule(), observer).run(folder, optionsOf(m_main.settings()));
        m_main.setStatusText(QString());
    }
    // A run stopped by an error leaves the views as they were.
    if (summary.stopped)
        return;
    m_main.RefreshStatistics();
    m_main.RefreshLists();
}

QString ImportCommand::askFolder()
{
    {
        const IniFile ini(m_main.iniFilePath());
        m_folderWindow.setFolder(startFolder(ini, m_main.paths()));
    }
    if (m_folderWindow.exec() != QDialog::Accepted)
        return QString();
    m_main.repaint();

    const QString folder = ImportRun::withSeparator(m_folderWindow.folder());
    // Opened after the folder window has closed, which wrote its placement
    // into the same file. A file that cannot be written does not stop the
    // import; the main window reports it when it closes.
    IniFile ini(m_main.iniFilePath());
    ini.writeString(FolderSection, FolderKey, folder);
    ini.updateFile();
    return folder;
}
