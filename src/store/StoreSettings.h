#pragma once

#include <QString>

// Where the store is: a local data folder (SQLite file "Orvane.db" inside
// it) or a PostgreSQL server.
struct StoreSettings
{
    enum class Mode { Local, Remote };
    Mode mode = Mode::Local;
    QString folder;
    QString host;
    int port = 12005;
    QString database;
    QString user;
    QString password;
};
