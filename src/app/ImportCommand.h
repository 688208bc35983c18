#pragma once

#include <QString>

class IniFile;
class ProgramPaths;
class TFfolderSel;
class TFmain;

// "Invaroﾃﾞｰﾀ読み込み(&R)" of the main window: asks for the collector
// folder, keeps it in the settings file, imports the folder's files with
// the main window's options, and refreshes the views. Progress goes to the
// main window's status bar, messages about files to message boxes.
class ImportCommand
{
public:
    ImportCommand(TFmain &main, TFfolderSel &folderWindow);

    void run();

    // The folder the folder window opens with: Folder/InvaroCSV, by default
    // the program's folder; empty when that folder does not exist.
    static QString startFolder(const IniFile &ini, const ProgramPaths &paths);

private:
    // The confirmed folder with a path separator at its end, already saved
    // in the settings file; empty when the user cancelled.
    QString askFolder();

    TFmain &m_main;
    TFfolderSel &m_folderWindow;
};
