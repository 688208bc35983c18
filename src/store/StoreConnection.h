#pragma once

#include "StoreSettings.h"
#include "base/AppSettings.h"

#include <QString>

// The link between the settings file's DB section and the store: the
// conversions both ways, the main window's title, and the default data
// folder that every start makes sure of.
namespace StoreConnection {

// "local" is local mode; every other type names a server.
StoreSettings toStoreSettings(const DbSettings &db);
// The settings as the DB section keeps them: type "remote" for a server.
DbSettings fromStoreSettings(const StoreSettings &store);

// "Orvane - <folder>", or "Orvane - <ip>:<name>" when the type is exactly
// "remote".
QString mainWindowTitle(const DbSettings &db);

// Makes sure the folder "PCDB" exists in homeDir (which ends in a path
// separator), creating one level only. Returns the error text to show, or
// the empty text when the folder is there.
QString ensureDefaultDataFolder(const QString &homeDir);

} // namespace StoreConnection
