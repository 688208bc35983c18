#pragma once

#include "TestStores.h"
#include "base/Cp932.h"
#include "store/StoreError.h"
#include "store/UDMdata.h"

#include <QDir>
#include <QFile>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTest>
#include <QVariantMap>

// A collector file built from records, written in code page 932: the
// header line, then one line per record.
class SampleFile
{
public:
    explicit SampleFile(QString key, QString date = QStringLiteral("2024/03/01"))
        : m_key(std::move(key)), m_date(std::move(date))
    { }

    // One record of this file's key and date.
    SampleFile &add(const QString &group, const QString &item, const QString &subItem,
                    const QString &contents, const QString &unit = {})
    {
        return record({m_key, group, item, subItem, contents, unit, m_date});
    }
    // One record given field by field; fields with a comma or quote are
    // quoted.
    SampleFile &record(const QStringList &fields)
    {
        QStringList out;
        for (const QString &f : fields) {
            if (f.contains(u',') || f.contains(u'"'))
                out << QLatin1Char('"') + QString(f).replace("\"", "\"\"") + QLatin1Char('"');
            else
                out << f;
        }
        return line(out.join(u','));
    }
    // A line as it stands.
    SampleFile &line(const QString &text)
    {
        m_lines << text;
        return *this;
    }
    SampleFile &dated(const QString &date)
    {
        m_date = date;
        return *this;
    }

    QStringList lines() const
    {
        return QStringList {QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday")}
        + m_lines;
    }
    QByteArray bytes(const char *lineEnd = "\r\n") const
    {
        QByteArray out;
        for (const QString &l : lines())
            out += Cp932::encode(l) + lineEnd;
        return out;
    }
    void write(const QString &path) const { writeFile(path, bytes()); }

    static void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        QCOMPARE(f.write(bytes), bytes.size());
    }

private:
    QString m_key;
    QString m_date;
    QStringList m_lines;
};

// Opens the store and runs the table check (twice, so that the upgrades of
// a second opening have run as in every store in use).
inline void openStore(TDMdata &dm, const StoreSettings &settings, bool upgraded = true)
{
    openCheckedStore(dm, settings, upgraded ? 2 : 1);
}

inline QVariant scalar(TDMdata &dm, const QString &sql, const QVariantMap &params = {})
{
    QSqlQuery q = dm.exec(sql, params);
    const QVariant v = q.next() ? q.value(0) : QVariant();
    q.finish();
    return v;
}

// The rows of a query, each as column name (lower case) -> value.
inline QList<QVariantMap> rows(TDMdata &dm, const QString &sql, const QVariantMap &params = {})
{
    QSqlQuery q = dm.exec(sql, params);
    QList<QVariantMap> out;
    while (q.next()) {
        QVariantMap m;
        const QSqlRecord r = q.record();
        for (int i = 0; i < r.count(); ++i)
            m.insert(r.fieldName(i).toLower(), q.value(i));
        out << m;
    }
    q.finish();
    return out;
}

// One row of a table by key (and second key), empty when there is none.
inline QVariantMap row(TDMdata &dm, const QString &table, const QString &key,
                       const QString &secondColumn = {}, const QVariant &second = {})
{
    QString sql = QStringLiteral("SELECT * FROM %1 WHERE KEY = :KEY").arg(table);
    QVariantMap params {{QStringLiteral(":KEY"), key}};
    if (!secondColumn.isEmpty()) {
        sql += QStringLiteral(" AND %1 = :SECOND").arg(secondColumn);
        params.insert(QStringLiteral(":SECOND"), second);
    }
    const QList<QVariantMap> r = rows(dm, sql, params);
    return r.isEmpty() ? QVariantMap() : r.first();
}

// Dates and timestamps as the engines return them (text or typed).
inline QDate asDate(const QVariant &v)
{
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDate)
        return v.toDate();
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().date();
    return QDate::fromString(v.toString().left(10), Qt::ISODate);
}

inline QDateTime asDateTime(const QVariant &v)
{
    if (v.isNull())
        return {};
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    QString s = v.toString();
    s.replace(QLatin1Char(' '), QLatin1Char('T'));
    return QDateTime::fromString(s, Qt::ISODate);
}

inline int count(TDMdata &dm, const QString &table, const QString &key)
{
    return scalar(dm, QStringLiteral("SELECT COUNT(*) FROM %1 WHERE KEY = :KEY").arg(table),
                  {{QStringLiteral(":KEY"), key}})
        .toInt();
}
