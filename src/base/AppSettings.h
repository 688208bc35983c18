#pragma once

#include "GridColumnsState.h"
#include "base/OrvaneVersion.h"

#include <QString>
#include <functional>

class IniFile;

// The store connection as kept in section DB.
struct DbSettings
{
    QString type = QStringLiteral("local"); // "local" or "remote"
    QString folder; // data folder in local mode
    QString ip;
    int port = 12005;
    QString name; // remote database name
    QString user;
    QString pass;

    bool isLocal() const { return type == QLatin1String("local"); }
    bool isRemote() const { return type == QLatin1String("remote"); }
};

// Three sort keys with their directions ("（なし）" for none; "昇順"/"降順").
struct SortSettings
{
    QString komoku[3];
    QString jyun[3];
};

// A grid's settings: sort keys, columns and font size.
struct GridSettings
{
    QString sortSection;
    GridColumnsState columns;
    QString fontSection;
    int fontSize = 0;
    SortSettings sort;
};

struct NetSettings
{
    QString ipAddr;
    QString subNetMask;
    QString ipAddr2;
    QString subNetMask2;
};

// The settings the main window holds from start-up to shutdown.
class AppSettings
{
public:
    // defaultDataDir: the "PCDB" folder, the default of DB/folder.
    explicit AppSettings(const QString &defaultDataDir);

    // The PC list's field names in designed order, and the application
    // view's PC grid's.
    static QStringList pcGridFields();
    static QStringList appliPcGridFields();

    // Reads every start-up key in the order of the start-up. status() is
    // called with "バージョンのチェック" after section DB; localIp supplies
    // the computer's address for a network address that reads "未設定".
    void readAtStart(const IniFile &ini, const std::function<void(const QString &)> &status,
                     const std::function<QString()> &localIp);
    // Writes the keys the main window owns at shutdown, in their order.
    // Option/AppliDel is never written. Only the IniFile changes; the caller
    // writes the file out with updateFile().
    void writeAtClose(IniFile &ini) const;

    // Writes Orvane/Ver with the program version (the caller writes the
    // file out).
    static void writeVersion(IniFile &ini);
    static constexpr double Version = ORVANE_VERSION_NUMBER;

    DbSettings db;
    GridSettings pcGrid;
    bool tekkyoHiHyoji = false;
    bool jidoKosin = true;
    GridSettings appliPcGrid;
    bool appliDel = true;
    NetSettings net;

private:
    QString m_defaultDataDir;
};
