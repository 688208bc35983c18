#pragma once

#include <QSqlError>
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
    // A failed statement or connection: the engine's own text.
    explicit StoreError(const QSqlError &error) : StoreError(textOf(error)) { }
    QString message() const { return m_message; }

    // The engine's text of an error ("database is locked"), without the
    // note of Qt's driver ("Unable to fetch row"), which is only taken when
    // the engine gave none.
    // A lock that another copy held for longer than the wait (SQLite's
    // SQLITE_BUSY or SQLITE_LOCKED, PostgreSQL's lock_not_available) is said
    // in Japanese, with the engine's text after it.
    static QString textOf(const QSqlError &error)
    {
        const QString engine = error.databaseText().trimmed();
        const QString text = engine.isEmpty() ? error.driverText() : engine;
        const QString code = error.nativeErrorCode();
        if (code == QLatin1String("5") || code == QLatin1String("6")
            || code == QLatin1String("55P03"))
            return QStringLiteral("他のコピーがデータベースを使用中です (%1)").arg(text);
        return text;
    }

private:
    QString m_message;
};
