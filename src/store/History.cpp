#include "History.h"

#include "StoreValue.h"

#include <QSysInfo>
#include <pwd.h>
#include <unistd.h>

namespace History {

QString importing()
{
    return QStringLiteral("取込");
}

QString manual()
{
    return QStringLiteral("手入力");
}

QString restoring()
{
    return QStringLiteral("復元");
}

QString merging()
{
    return QStringLiteral("統合");
}

QString deleting()
{
    return QStringLiteral("削除");
}

QStringList operations()
{
    return {importing(), manual(), restoring(), merging(), deleting()};
}

QString addedText()
{
    return QStringLiteral("追加");
}

QString removedText()
{
    return QStringLiteral("削除");
}

bool isTracked(const ColumnDef &column)
{
    for (const char *stamp : {"UpdateYMD", "InvaroYMD", "AddYMD", "Ver116"}) {
        if (column.name.compare(QLatin1String(stamp), Qt::CaseInsensitive) == 0)
            return false;
    }
    return true;
}

QString who()
{
    static const QString text = [] {
        QString user;
        if (const passwd *entry = getpwuid(getuid()); entry && entry->pw_name)
            user = QString::fromLocal8Bit(entry->pw_name);
        if (user.isEmpty())
            user = qEnvironmentVariable("USER");
        return user + u'@' + QSysInfo::machineHostName();
    }();
    return text;
}

QVector<ColumnChange> changes(const QVector<ColumnDef> &columns, const QVector<QVariant> &before,
                              const QVector<QVariant> &after)
{
    QVector<ColumnChange> out;
    for (int i = 0; i < columns.size(); ++i) {
        const ColumnDef &c = columns[i];
        if (!isTracked(c))
            continue;
        const QVariant &b = before.at(i);
        const QVariant &a = after.at(i);
        // Equal values (the common case) cost no texts.
        if (b.isNull() == a.isNull() && (b.isNull() || b == a))
            continue;
        const QString oldText = StoreValue::displayText(c, b);
        const QString newText = StoreValue::displayText(c, a);
        if (oldText != newText)
            out.append({c.name, oldText, newText});
    }
    return out;
}

QString rowName(const TableDef &table, const QVector<QVariant> &row)
{
    if (table.primaryKey.size() < 2)
        return QString();
    const int i = table.indexOf(table.primaryKey.at(1));
    return StoreValue::displayText(table.columns.at(i), row.value(i));
}

} // namespace History
