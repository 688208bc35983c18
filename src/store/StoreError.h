#pragma once

#include <QSqlError>
#include <QString>
#include <stdexcept>

// The text of an error that the engine reported: its own message, without
// the English words that Qt's driver adds to it ("Unable to fetch row");
// when the engine gave none, the driver's words in Japanese. A lock that
// another copy held for longer than the wait (SQLite's SQLITE_BUSY or
// SQLITE_LOCKED, PostgreSQL's lock_not_available) is said in Japanese, with
// the engine's text after it.
QString sqlErrorText(const QSqlError &error);

// The one error type of the store layer: the store's (or the engine's) own
// text. Windows decide what the user sees.
class StoreError : public std::runtime_error
{
public:
    explicit StoreError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    { }
    // A failed statement or connection: the engine's own text.
    explicit StoreError(const QSqlError &error) : StoreError(sqlErrorText(error)) { }
    QString message() const { return m_message; }

private:
    QString m_message;
};


// The connection to the store server is gone (the server restarted, the
// network failed), and with it the open transaction; TDMdata::reconnect()
// connects the store again.
class ConnectionLost : public StoreError
{
public:
    ConnectionLost() : StoreError(text()) { }
    static QString text() { return QStringLiteral("データベースサーバーとの接続が切れました。"); }
};
