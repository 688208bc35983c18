#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the store layer: the store's (or the engine's) own
// text. Windows decide what the user sees.
class StoreError : public std::runtime_error
{
public:
    explicit StoreError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    { }
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
