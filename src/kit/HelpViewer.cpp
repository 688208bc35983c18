#include "HelpViewer.h"

#include "MessageBoxes.h"
#include "base/ProgramPaths.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace HelpViewer {

QString contentsFile(const ProgramPaths &paths)
{
    const QString compiled = paths.helpPath();
    if (QFileInfo::exists(compiled))
        return compiled;
    return QDir(paths.programDir()).filePath(QStringLiteral("help/index.html"));
}

void showContents(QWidget *parent, const ProgramPaths &paths)
{
    const QString file = contentsFile(paths);
    QString error;
    if (!QFileInfo::exists(file))
        error
            = QStringLiteral("ヘルプファイルが見つかりません。\n") + QDir::toNativeSeparators(file);
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(file)))
        error = QStringLiteral("ヘルプを表示できませんでした。\n") + QDir::toNativeSeparators(file);
    if (!error.isEmpty())
        MessageBoxes::error(parent, error);
}

} // namespace HelpViewer
