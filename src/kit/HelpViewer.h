#pragma once

#include <QString>

class ProgramPaths;
class QWidget;

// Shows the help at its contents page with the desktop's viewer.
namespace HelpViewer {

// "ORVANE.chm" in the program's folder when it is there, else our HTML
// help "help/index.html" beside the program.
QString contentsFile(const ProgramPaths &paths);

// Asks the desktop to open the contents page; an error box (with the
// application title as caption) when that fails.
void showContents(QWidget *parent, const ProgramPaths &paths);

} // namespace HelpViewer
