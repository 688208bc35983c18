#include "PendingTable.h"

#include "FieldText.h"
#include "TableDump.h"
#include "TableWriter.h"
#include "base/EntryText.h"
#include "base/InputError.h"
#include "store/HistoryRecorder.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"
#include "views/PcDeletion.h"

#include <QSet>
#include <QSqlQuery>
#include <algorithm>
#include <memory>
#include <numeric>
#include <vector>

namespace {

constexpr QChar KeySeparator(0x1F);
constexpr int ExportPageRows = 2000;

} // namespace

PendingTable::Texts::Texts(const QStringList &texts)
{
    m_ends.reserve(texts.size());
    qsizetype length = 0;
    for (const QString &t : texts)
        length += t.size();
    m_text.reserve(length);
    for (const QString &t : texts) {
        m_text += t;
        m_ends << quint32(m_text.size());
    }
}

QString PendingTable::Texts::at(int column) const
{
    const quint32 start = column > 0 ? m_ends[column - 1] : 0;
    return m_text.mid(start, m_ends[column] - start);
}

void PendingTable::Texts::set(int column, const QString &text)
{
    const quint32 start = column > 0 ? m_ends[column - 1] : 0;
    const qsizetype oldLength = m_ends[column] - start;
    m_text.replace(start, oldLength, text);
    const qsizetype shift = text.size() - oldLength;
    for (int i = column; i < m_ends.size(); ++i)
        m_ends[i] = quint32(m_ends[i] + shift);
}

PendingTable::PendingTable(TDMdata &dm, TableId table) : m_dm(dm), m_table(Schema::table(table)) { }

void PendingTable::load()
{
    const CsvExport exporter(m_dm, m_table.id);
    const QVector<CsvExport::Column> columns = exporter.columns();
    if (columns.isEmpty())
        throw StoreError(m_dm.isConnected()
                             ? QStringLiteral("テーブル %1 がありません").arg(m_table.name)
                             : QStringLiteral("データベースに接続していません"));
    m_columns = columns;
    m_defs.clear();
    m_keyColumns.clear();
    m_allColumns.clear();
    m_pcKeyColumn = -1;
    for (int i = 0; i < columns.size(); ++i) {
        m_defs << CsvExport::definition(columns[i]);
        m_allColumns << i;
        if (m_table.isKeyColumn(columns[i].name))
            m_keyColumns << i;
        if (Schema::holdsPcRows(m_table.id)
            && columns[i].name.compare(QLatin1String("Key"), Qt::CaseInsensitive) == 0)
            m_pcKeyColumn = i;
    }

    QVector<Row> rows;
    const CsvExport::PageSource pages = exporter.storePages(columns);
    QVector<QVariantList> page;
    QString error;
    for (;;) {
        if (!pages(page, error))
            throw StoreError(error);
        if (page.isEmpty())
            break;
        for (const QVariantList &stored : std::as_const(page)) {
            QVariantList typed;
            typed.reserve(stored.size());
            for (int i = 0; i < m_defs.size(); ++i)
                typed << StoreValue::fromStore(m_defs[i], stored.value(i));
            Row row;
            row.fields = textsOf(typed);
            row.original = row.fields;
            row.isNew = false;
            rows << row;
        }
    }
    m_rows = rows;
    m_deleted.clear();
    m_replaced = false;
    m_keys.clear();
    for (const Row &row : std::as_const(m_rows))
        countKey(row.fields, 1);
}

PendingTable::Texts PendingTable::textsOf(const QVariantList &typed) const
{
    QStringList texts;
    texts.reserve(m_defs.size());
    for (int i = 0; i < m_defs.size(); ++i)
        texts << FieldText::text(m_defs[i], typed.value(i));
    return Texts(texts);
}

QString PendingTable::text(int row, int column) const
{
    return m_rows[row].fields.at(column);
}

QString PendingTable::keyOf(const Texts &texts) const
{
    QString key;
    for (int k : m_keyColumns)
        key += texts.at(k) + KeySeparator;
    return key;
}

bool PendingTable::keyComplete(const Texts &texts) const
{
    return std::all_of(m_keyColumns.cbegin(), m_keyColumns.cend(),
                       [&](int k) { return !texts.at(k).isEmpty(); });
}

QString PendingTable::keyText(const Texts &texts) const
{
    QStringList parts;
    for (int k : m_keyColumns)
        parts << texts.at(k);
    return parts.join(QStringLiteral(", "));
}

QString PendingTable::keyText(int row) const
{
    return keyText(m_rows[row].fields);
}

QString PendingTable::storedPcKey(int row) const
{
    const Row &r = m_rows[row];
    if (m_table.id != TableId::PC || m_pcKeyColumn < 0 || r.isNew)
        return QString();
    return r.original.at(m_pcKeyColumn);
}

void PendingTable::countKey(const Texts &texts, int delta)
{
    if (m_keyColumns.isEmpty() || !keyComplete(texts))
        return;
    const QString key = keyOf(texts);
    const int count = m_keys.value(key) + delta;
    if (count > 0)
        m_keys.insert(key, count);
    else
        m_keys.remove(key);
}

QString PendingTable::setText(int row, int column, const QString &typedText)
{
    QString text = typedText;
    const ColumnDef &def = m_defs[column];
    if (def.type == ColumnType::Character || def.type == ColumnType::Memo) {
        try {
            text = EntryText::checked(m_columns[column].name, text,
                                      def.type == ColumnType::Character ? def.width : 0);
        } catch (const InputError &e) {
            return e.message();
        }
    }
    QVariant typed;
    QString reason;
    if (!FieldText::parse(def, text, typed, reason))
        return reason;
    const QString canonical = FieldText::text(m_defs[column], typed);
    Row &r = m_rows[row];
    if (r.fields.at(column) == canonical)
        return QString();
    Texts changed = r.fields;
    changed.set(column, canonical);
    if (m_keyColumns.contains(column) && keyComplete(changed) && m_keys.value(keyOf(changed)) > 0)
        return QStringLiteral("キーが重複しています: %1").arg(keyText(changed));
    countKey(r.fields, -1);
    r.fields = changed;
    countKey(r.fields, 1);
    return QString();
}

void PendingTable::insertRow(int row)
{
    Row r;
    r.fields = Texts(QStringList(QList<QString>(m_defs.size())));
    m_rows.insert(qBound(0, row, rowCount()), r);
}

void PendingTable::removeRow(int row)
{
    const Row &r = m_rows[row];
    if (!r.isNew)
        m_deleted << r.original;
    countKey(r.fields, -1);
    m_rows.remove(row);
}

int PendingTable::firstIncompleteRow(int *column) const
{
    for (int row = 0; row < m_rows.size(); ++row) {
        for (int i = 0; i < m_defs.size(); ++i) {
            if (m_defs[i].notNull && m_rows[row].fields.at(i).isEmpty()) {
                if (column)
                    *column = i;
                return row;
            }
        }
    }
    return -1;
}

PendingTable::Import PendingTable::importDump(const QString &path, DumpReader::Error &error,
                                              const ShrinkQuestion &confirmShrink)
{
    QByteArray bytes;
    QString reason;
    QVector<Row> rows;
    DumpReader reader(m_table, m_columns);
    bool read = DumpReader::fileBytes(path, bytes, reason);
    if (!read) {
        error = DumpReader::Error();
        error.reason = reason;
    } else {
        read = reader.read(bytes, [&](const QVariantList &typed, int, QString &) {
            Row row;
            row.fields = textsOf(typed);
            rows << row;
            return true;
        });
        if (!read)
            error = reader.error();
    }
    // A file that would leave few of the rows is asked about first; the
    // rows stay as they are unless the user goes on.
    if (read && TableDump::shrinks(rows.size(), m_rows.size()) && confirmShrink
        && !confirmShrink(rows.size(), m_rows.size()))
        return Import::Declined;

    // As the store's import: the table is emptied, then the file loaded; a
    // fault leaves it empty or holding the rows read before it.
    m_rows = rows;
    m_deleted.clear();
    m_keys.clear();
    for (const Row &row : std::as_const(m_rows))
        countKey(row.fields, 1);
    m_replaced = true;
    return read ? Import::Done : Import::Failed;
}

QVariant PendingTable::value(const Texts &texts, int column) const
{
    QVariant typed;
    QString reason;
    if (!FieldText::parse(m_defs[column], texts.at(column), typed, reason))
        throw StoreError(QStringLiteral("%1: %2").arg(m_columns[column].name, reason));
    return typed;
}

QVariantList PendingTable::values(const Texts &texts, const QVector<int> &columns) const
{
    QVariantList row(m_defs.size());
    for (int i : columns)
        row[i] = value(texts, i);
    return row;
}

CsvExport::Result PendingTable::exportDump(const QString &path) const
{
    // Key order, as the store gives its rows: the key values compared as
    // values (numbers as numbers, dates as dates).
    QVector<QVariantList> keys;
    keys.reserve(m_rows.size());
    for (const Row &row : m_rows) {
        QVariantList key;
        for (int k : m_keyColumns) {
            QVariant typed;
            QString reason;
            FieldText::parse(m_defs[k], row.fields.at(k), typed, reason);
            key << typed;
        }
        keys << key;
    }
    QVector<int> order(m_rows.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        for (int k = 0; k < m_keyColumns.size(); ++k) {
            const QPartialOrdering c = QVariant::compare(keys[a][k], keys[b][k]);
            if (c == QPartialOrdering::Less)
                return true;
            if (c == QPartialOrdering::Greater)
                return false;
        }
        return false;
    });

    // The rows from the first on each time the writing starts.
    const auto pages = [&]() -> CsvExport::PageSource {
        auto next = std::make_shared<qsizetype>(0);
        return [&, next](QVector<QVariantList> &page, QString &) {
            page.clear();
            for (; *next < order.size() && page.size() < ExportPageRows; ++*next) {
                const Texts &fields = m_rows[order[*next]].fields;
                QVariantList row;
                for (int i = 0; i < m_defs.size(); ++i) {
                    // A value the store held against its column's type is
                    // written as it stands; reading it back names it.
                    QVariant typed;
                    QString reason;
                    row << (FieldText::parse(m_defs[i], fields.at(i), typed, reason)
                                ? typed
                                : QVariant(fields.at(i)));
                }
                page << row;
            }
            return true;
        };
    };
    return TableDump::write(path, m_columns, pages);
}

QStringList PendingTable::claimedKeys() const
{
    // The PCs whose rows the work writes: all of the table's after an
    // import, else those of the rows deleted, changed and added.
    QSet<QString> keys;
    if (m_pcKeyColumn < 0)
        return {};
    if (m_replaced) {
        const QStringList stored = TableDump::pcKeys(m_dm, m_table.id);
        keys = QSet<QString>(stored.cbegin(), stored.cend());
    }
    for (const Texts &gone : m_deleted)
        keys.insert(gone.at(m_pcKeyColumn));
    for (const Row &row : m_rows) {
        if (row.isNew || row.fields != row.original) {
            keys.insert(row.fields.at(m_pcKeyColumn));
            if (!row.isNew)
                keys.insert(row.original.at(m_pcKeyColumn));
        }
    }
    return QStringList(keys.cbegin(), keys.cend());
}

void PendingTable::apply()
{
    // A dump loaded in place of the rows is a restore; the grid's edits are
    // typed by hand.
    HistoryRecorder history(m_dm, m_replaced ? History::restoring() : History::manual());
    TableWriter writer(m_dm, m_table, m_defs, &history);
    // A PC that another copy has open in its ledger window keeps its rows,
    // as for an import or a deletion.
    const QStringList claimed = claimedKeys();
    PcClaims::waitWhileAnyClaimed(m_dm, claimed);
    // A deleted PC row takes the PC's other rows with it.
    std::vector<QSqlQuery> related;
    if (m_table.id == TableId::PC && !m_deleted.isEmpty()) {
        for (const QString &statement : PcDeletion::relatedStatements())
            related.push_back(m_dm.prepare(statement));
    }
    StoreTransaction transaction(m_dm);
    PcClaims::ensureNoneClaimed(m_dm, claimed);
    QString key;
    try {
        if (m_replaced) {
            writer.deleteAll();
            for (const Row &row : std::as_const(m_rows)) {
                key = keyText(row.fields);
                writer.insert(values(row.fields, m_allColumns));
            }
            key.clear();
            writer.finish();
        } else {
            for (const Texts &gone : std::as_const(m_deleted)) {
                key = keyText(gone);
                writer.remove(values(gone, m_keyColumns));
                for (QSqlQuery &query : related) {
                    query.bindValue(QStringLiteral(":KEY"), gone.at(m_pcKeyColumn));
                    TDMdata::exec(query);
                }
            }
            for (const Row &row : std::as_const(m_rows)) {
                if (row.isNew || row.fields == row.original)
                    continue;
                key = keyText(row.original);
                QVector<int> changed;
                for (int i = 0; i < m_defs.size(); ++i) {
                    if (row.fields.at(i) != row.original.at(i))
                        changed << i;
                }
                if (!writer.update(values(row.original, m_keyColumns), values(row.fields, changed),
                                   changed))
                    throw StoreError(QStringLiteral("他のコピーで削除されています"));
            }
            for (const Row &row : std::as_const(m_rows)) {
                if (!row.isNew)
                    continue;
                key = keyText(row.fields);
                writer.insert(values(row.fields, m_allColumns));
            }
        }
    } catch (const StoreError &e) {
        throw StoreError(QStringLiteral("キー %1 の行を保存できません\n%2").arg(key, e.message()));
    }
    transaction.commit();

    for (Row &row : m_rows) {
        row.original = row.fields;
        row.isNew = false;
    }
    m_deleted.clear();
    m_replaced = false;
}
