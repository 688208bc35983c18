#include "DetailWorkCopy.h"

#include "RowBuffer.h"
#include "base/InputError.h"
#include "store/Dialect.h"
#include "store/HistoryRecorder.h"
#include "store/RecordCursor.h"
#include "store/StoreError.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>

using LedgerLists::List;

namespace {

const TableDef &defOf(List list)
{
    return Schema::table(LedgerLists::table(list));
}

void run(QSqlQuery &q)
{
    if (!q.exec())
        throw StoreError(q.lastError().text());
}

QSqlQuery prepared(const QSqlDatabase &db, const QString &sql, const QVariantMap &params = {})
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw StoreError(q.lastError().text());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(it.key(), it.value());
    return q;
}

QString columnList(const TableDef &def)
{
    QStringList names;
    for (const ColumnDef &c : def.columns)
        names << c.name;
    return names.join(QStringLiteral(", "));
}

// The PC key as the store holds it.
QVariant storedKey(const QString &key, Engine engine)
{
    return StoreValue::toStore(*Schema::table(TableId::PC).column(QStringLiteral("Key")), key,
                               engine);
}

// The PC key as the working tables hold it. A new PC whose key is not typed
// yet has the empty text, never NULL, so that "Key = :Key" finds its rows.
QVariant workKey(const QString &key)
{
    return key.isNull() ? QVariant(QStringLiteral("")) : QVariant(key);
}

} // namespace

DetailWorkCopy::DetailWorkCopy(TDMdata &dm) : m_dm(dm)
{
    int i = 0;
    for (List list : LedgerLists::Editable)
        m_cursors[i++] = std::make_unique<RecordCursor>(dm, LedgerLists::table(list));
}

DetailWorkCopy::~DetailWorkCopy()
{
    try {
        QSqlDatabase db = m_dm.memory();
        for (List list : LedgerLists::Editable)
            QSqlQuery(db).exec(QStringLiteral("DROP TABLE IF EXISTS ") + defOf(list).name);
    } catch (const StoreError &) { }
}

void DetailWorkCopy::load(const QString &key)
{
    m_key = key;
    m_loaded.clear();
    QSqlDatabase memory = m_dm.memory();
    const Dialect sqlite(Engine::SQLite);
    for (List list : LedgerLists::Editable) {
        const TableDef &def = defOf(list);
        // A table of the working copy has every catalog column and the key,
        // and none of the store's NOT NULL rules: the window reports those.
        QStringList columns;
        for (const ColumnDef &c : def.columns)
            columns << c.name + u' ' + sqlite.columnType(c, c.width);
        QSqlQuery ddl(memory);
        if (!ddl.exec(QStringLiteral("DROP TABLE IF EXISTS ") + def.name)
            || !ddl.exec(QStringLiteral("CREATE TABLE %1 (%2, PRIMARY KEY (%3))")
                             .arg(def.name, columns.join(QStringLiteral(", ")),
                                  def.primaryKey.join(QStringLiteral(", ")))))
            throw StoreError(ddl.lastError().text());
        if (key.isEmpty())
            continue;

        // The store's rows of the PC, with the columns this store has.
        QStringList present;
        for (const QString &name : m_dm.columnNames(def.openName)) {
            if (def.indexOf(name) >= 0)
                present << m_dm.dialect().identifier(name);
        }
        QSqlQuery q = m_dm.exec(QStringLiteral("SELECT %1 FROM %2 WHERE Key = :Key")
                                    .arg(present.join(QStringLiteral(", ")), def.openName),
                                {{QStringLiteral(":Key"), storedKey(key, m_dm.engine())}});
        QVector<QVector<QVariant>> rows;
        while (q.next()) {
            QVector<QVariant> values(def.columns.size());
            const QSqlRecord rec = q.record();
            for (int f = 0; f < rec.count(); ++f) {
                const int i = def.indexOf(rec.fieldName(f));
                values[i] = StoreValue::fromStore(def.columns[i], q.value(f));
            }
            rows << values;
        }
        q.finish();
        for (const QVector<QVariant> &values : rows)
            insert(list, values);
        m_loaded.insert(int(list), readAll(list));
    }
}

void DetailWorkCopy::insert(List list, const QVector<QVariant> &values)
{
    const TableDef &def = defOf(list);
    QStringList params;
    for (int i = 0; i < def.columns.size(); ++i)
        params << QStringLiteral(":c%1").arg(i);
    QSqlQuery q = prepared(m_dm.memory(),
                           QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                               .arg(def.name, columnList(def), params.join(QStringLiteral(", "))));
    for (int i = 0; i < def.columns.size(); ++i) {
        const QVariant v = i == 0
            ? workKey(m_key)
            : StoreValue::toStore(def.columns[i], values.value(i), Engine::SQLite);
        q.bindValue(QStringLiteral(":c%1").arg(i), v);
    }
    run(q);
}

void DetailWorkCopy::rekey(const QString &key)
{
    m_key = key;
    for (List list : LedgerLists::Editable) {
        QSqlQuery q = prepared(m_dm.memory(),
                               QStringLiteral("UPDATE %1 SET Key = :Key").arg(defOf(list).name),
                               {{QStringLiteral(":Key"), workKey(key)}});
        run(q);
    }
}

QueryRows DetailWorkCopy::list(List list) const
{
    QSqlQuery q = prepared(m_dm.memory(), LedgerLists::statement(list),
                           {{QStringLiteral(":Key"), workKey(m_key)}});
    run(q);
    return QueryRows::read(q);
}

DetailWorkCopy::Rows DetailWorkCopy::readAll(List list) const
{
    const TableDef &def = defOf(list);
    const int nameIndex = def.indexOf(def.primaryKey.value(1));
    QSqlQuery q = prepared(m_dm.memory(),
                           QStringLiteral("SELECT %1 FROM %2").arg(columnList(def), def.name));
    run(q);
    Rows rows;
    while (q.next()) {
        QVector<QVariant> values(def.columns.size());
        for (int i = 0; i < def.columns.size(); ++i)
            values[i] = StoreValue::fromStore(def.columns[i], q.value(i));
        rows.insert(values[nameIndex].toString(), values);
    }
    return rows;
}

bool DetailWorkCopy::read(List list, const QString &name, QVector<QVariant> &values) const
{
    const Rows rows = readAll(list);
    const auto it = rows.constFind(name);
    if (it == rows.cend())
        return false;
    values = it.value();
    return true;
}

bool DetailWorkCopy::exists(List list, const QString &name) const
{
    QVector<QVariant> ignored;
    return read(list, name, ignored);
}

void DetailWorkCopy::post(List list, const RowBuffer &row)
{
    const TableDef &def = defOf(list);
    const QString nameColumn = def.primaryKey.value(1);
    const QString name = row.text(nameColumn);
    if (name.isEmpty())
        throw StoreError(FieldErrorText::required(def.column(nameColumn)->name));
    const bool renamed
        = row.state() == RowBuffer::State::Insert || row.startKey().value(1).toString() != name;
    if (renamed && exists(list, name))
        throw StoreError(
            FieldErrorText::duplicateKey(def.primaryKey.join(QStringLiteral(", ")), def.name));
    if (row.state() == RowBuffer::State::Edit)
        remove(list, row.startKey().value(1).toString());
    insert(list, row.values());
}

void DetailWorkCopy::remove(List list, const QString &name)
{
    QSqlQuery q = prepared(
        m_dm.memory(), LedgerLists::deleteStatement(list),
        {{QStringLiteral(":KEY"), workKey(m_key)}, {LedgerLists::deleteNameParameter(list), name}});
    run(q);
}

void DetailWorkCopy::apply(const QString &key, HistoryRecorder *history)
{
    const QVariant pcKey = storedKey(key, m_dm.engine());
    int n = 0;
    for (List list : LedgerLists::Editable) {
        const TableDef &def = defOf(list);
        RecordCursor &cursor = *m_cursors[n++];
        cursor.cancel(); // a row left by an earlier try that failed
        if (!cursor.isOpen())
            cursor.open();
        const Rows before = m_loaded.value(int(list));
        const Rows now = readAll(list);
        for (auto it = before.cbegin(); it != before.cend(); ++it) {
            if (now.contains(it.key()))
                continue;
            m_dm.exec(LedgerLists::deleteStatement(list),
                      {{QStringLiteral(":KEY"), pcKey},
                       {LedgerLists::deleteNameParameter(list), it.key()}});
            if (history)
                history->rowChanged(def.id, key, &it.value(), nullptr);
        }
        for (auto it = now.cbegin(); it != now.cend(); ++it) {
            const QVector<QVariant> &values = it.value();
            const auto old = before.constFind(it.key());
            if (history && (old == before.cend() || old.value() != values))
                history->rowChanged(def.id, key, old == before.cend() ? nullptr : &old.value(),
                                    &values);
            QStringList changed;
            for (int i = 1; i < def.columns.size(); ++i) {
                if (old == before.cend() || values[i] != old.value()[i]
                    || values[i].isNull() != old.value()[i].isNull())
                    changed << def.columns[i].name;
            }
            if (changed.isEmpty())
                continue;
            if (old != before.cend() && cursor.locate({key, it.key()})) {
                // Only the columns changed here: another copy's change to
                // another column stays.
                cursor.edit();
                for (const QString &field : changed)
                    cursor.setValue(field, values[def.indexOf(field)]);
                cursor.post();
                continue;
            }
            cursor.append();
            cursor.setValue(QStringLiteral("Key"), key);
            for (int i = 1; i < def.columns.size(); ++i)
                cursor.setValue(def.columns[i].name, values[i]);
            cursor.post();
        }
    }
}
