#pragma once

#include "TestStores.h"
#include "base/IniFile.h"
#include "cli/OrvaneCtl.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

// What a run of the command-line tool printed and how it ended.
struct Outcome
{
    int exit = -1;
    QString out;
    QString err;
};

// Runs the tool in-process as if installed in programDir.
inline Outcome runCtl(const QString &programDir, const QStringList &arguments)
{
    Outcome o;
    QTextStream out(&o.out), err(&o.err);
    o.exit = OrvaneCtl(programDir + QStringLiteral("/orvanectl"), out, err).run(arguments);
    out.flush();
    err.flush();
    return o;
}

// The arguments that name the test store: --data for SQLite, an INI file
// of server settings (written into scratch) for PostgreSQL.
inline QStringList storeArguments(const TestStore &store, const QString &scratch)
{
    if (store.kind() == TestStore::Kind::SQLite)
        return {QStringLiteral("--data"), store.folder()};
    const StoreSettings s = store.settings();
    IniFile ini(scratch + QStringLiteral("/server.INI"));
    ini.writeString(QStringLiteral("DB"), QStringLiteral("type"), QStringLiteral("remote"));
    ini.writeString(QStringLiteral("DB"), QStringLiteral("ip"), s.host);
    ini.writeInteger(QStringLiteral("DB"), QStringLiteral("port"), s.port);
    ini.writeString(QStringLiteral("DB"), QStringLiteral("name"), s.database);
    ini.writeString(QStringLiteral("DB"), QStringLiteral("user"), s.user);
    ini.updateFile();
    return {QStringLiteral("--ini"), ini.path()};
}
