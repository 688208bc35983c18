#include "StoreConnection.h"

#include <QDir>
#include <QFileInfo>

namespace StoreConnection {

StoreSettings toStoreSettings(const DbSettings &db)
{
    StoreSettings store;
    store.mode = db.isLocal() ? StoreSettings::Mode::Local : StoreSettings::Mode::Remote;
    store.folder = db.folder;
    store.host = db.ip;
    store.port = db.port;
    store.database = db.name;
    store.user = db.user;
    store.password = db.pass;
    return store;
}

DbSettings fromStoreSettings(const StoreSettings &store)
{
    DbSettings db;
    db.type = store.mode == StoreSettings::Mode::Remote ? QStringLiteral("remote")
                                                        : QStringLiteral("local");
    db.folder = store.folder;
    db.ip = store.host;
    db.port = store.port;
    db.name = store.database;
    db.user = store.user;
    db.pass = store.password;
    return db;
}

QString mainWindowTitle(const DbSettings &db)
{
    const QString location = db.isRemote() ? db.ip + u':' + db.name : db.folder;
    return QStringLiteral("Orvane - ") + location;
}

QString ensureDefaultDataFolder(const QString &homeDir)
{
    const QString name = QStringLiteral("PCDB");
    const QFileInfo info(QDir(homeDir).filePath(name));
    if (info.isDir())
        return QString();
    // One level only: QDir::mkdir does not create missing parents.
    if (!info.exists() && QDir(homeDir).mkdir(name))
        return QString();
    return QStringLiteral("Cannot create ") + homeDir + name;
}

} // namespace StoreConnection
