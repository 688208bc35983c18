#pragma once

#include <QString>

// Where the program keeps its files. The settings file and the default data
// folder "PCDB" lie beside the program file; when that folder cannot be
// written, or is a system folder under /usr (the installed package), they go
// to the per-user configuration folder (~/.config/Orvane/) instead.
class ProgramPaths
{
public:
    // programFile: the absolute path of the program file.
    // homeDir: the folder for the settings file and "PCDB"; empty means the
    // program's folder when writable, else the per-user configuration folder.
    explicit ProgramPaths(const QString &programFile, const QString &homeDir = QString());

    // The running program's paths (QCoreApplication must exist).
    static ProgramPaths forRunningProgram();

    QString programFile() const { return m_programFile; }
    // The program's folder with a trailing separator.
    QString programDir() const;
    // The folder for the settings file and "PCDB", with a trailing separator.
    QString homeDir() const { return m_homeDir; }
    // The settings file in homeDir(): the program file's name with its
    // extension replaced by ".INI". When no name can be formed (no program
    // file), the fixed fallbackIniPath() and iniNameFailed() is true, so the
    // window can say "iniファイル名取得でエラー".
    QString iniPath() const;
    bool iniNameFailed() const;
    static QString fallbackIniPath();
    // The default data folder: homeDir() + "PCDB", without trailing separator.
    QString defaultDataDir() const;
    QString readmePath() const;
    QString helpPath() const;

private:
    QString m_programFile;
    QString m_homeDir;
};
