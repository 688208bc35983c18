#include "StoreError.h"

#include <QSqlError>

namespace {

QString engineOrDriverText(const QSqlError &error)
{
    const QString engine = error.databaseText().trimmed();
    if (!engine.isEmpty())
        return engine;
    // The fixed texts of Qt's SQLite and PostgreSQL drivers.
    static const struct
    {
        const char *driver;
        const char16_t *shown;
    } Texts[] = {
        {"Unable to fetch row", u"行を取り出せませんでした"},
        {"Unable to execute statement", u"SQL文を実行できませんでした"},
        {"Unable to execute multiple statements at a time", u"SQL文は一つずつ実行してください"},
        {"Unable to create query", u"SQL文を実行できませんでした"},
        {"Unable to prepare statement", u"SQL文を準備できませんでした"},
        {"Unable to bind parameters", u"パラメータを設定できませんでした"},
        {"Parameter count mismatch", u"パラメータの数が合いません"},
        {"No query", u"SQL文がありません"},
    };
    const QString driver = error.driverText().trimmed();
    for (const auto &t : Texts) {
        if (driver.compare(QLatin1String(t.driver), Qt::CaseInsensitive) == 0)
            return QString::fromUtf16(t.shown);
    }
    return driver.isEmpty() ? error.text() : driver;
}

} // namespace

QString sqlErrorText(const QSqlError &error)
{
    const QString text = engineOrDriverText(error);
    const QString code = error.nativeErrorCode();
    if (code == QLatin1String("5") || code == QLatin1String("6") || code == QLatin1String("55P03"))
        return QStringLiteral("他のコピーがデータベースを使用中です (%1)").arg(text);
    return text;
}
