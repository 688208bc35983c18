#pragma once

#include "SqlText.h"

#include <QString>
#include <QStringList>
#include <QVariantList>
#include <atomic>
#include <memory>

struct StoreSettings;

// One statement typed by the user (the SQL window, orvanectl sql), run on a
// connection of its own so that the engine itself holds the text to one
// statement: SQLite compiles only the first statement and the rest must be
// blank; PostgreSQL gets it through the extended query protocol, which
// refuses a second command. Our own text check before it is only a friendly
// first refusal.
//
// A query runs read-only: SQLite opens the file read-only with an
// authorizer that allows reading only; PostgreSQL runs it in a read-only
// transaction. A change runs in a transaction of its own, committed by
// finish(). Rows are fetched one at a time, so a result never has to fit in
// memory; a statement stops at its time limit or when cancel() is called,
// from any thread (or a signal handler).
class UserStatement
{
public:
    enum class Mode { Query, Change };

    struct Limits
    {
        int seconds = 300; // 0: no limit
        qint64 valueBytes = 64 * 1024 * 1024; // one value of a row
    };

    // Connects to the store of these settings (user and password as
    // given). Throws StoreError.
    static std::unique_ptr<UserStatement> connect(const StoreSettings &settings, Mode mode);
    virtual ~UserStatement() = default;

    // Starts the statement; throws StoreError with the store's text, or
    // with the texts of cancelText()/timeLimitText().
    virtual void start(const QString &sql, const Limits &limits) = 0;
    // The result's column names (empty for a change).
    virtual QStringList columns() const = 0;
    // The next row; false after the last. Throws StoreError.
    virtual bool next(QVariantList &row) = 0;
    // Ends the statement: a change is committed, a query's transaction
    // ended. Throws StoreError (a change then stays undone).
    virtual void finish() = 0;

    // Stops the running statement; safe from another thread.
    virtual void cancel() = 0;

    // The text as it goes to the store: a statement that ends in ";" with
    // only blanks or comments after it loses them.
    static QString withoutTrailingSemicolon(const QString &sql,
                                            SqlText::Syntax syntax = SqlText::Syntax::Standard);

    // A statement holding a NUL character is refused: the engines would
    // stop reading it there and run only what comes before.
    static bool hasNul(const QString &sql) { return sql.contains(QChar(u'\0')); }
    static QString nulText();

    static QString cancelText();
    static QString timeLimitText(int seconds);
    static QString tooLargeText(qint64 bytes);
};
