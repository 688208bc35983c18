#include "ImportPreview.h"

#include "store/HistoryReader.h"

namespace {

const QChar Separator(0x1F);

} // namespace

ImportPreview::ImportPreview(TDMdata &dm) : m_dm(dm) { }

QString ImportPreview::storeWideFile()
{
    return QStringLiteral("（一括処理）");
}

ImportPreview::Line &ImportPreview::lineOf(const QString &key, TableId table)
{
    const QString tableName = Schema::table(table).name;
    const QString id = m_file + Separator + key + Separator + tableName;
    auto it = m_index.constFind(id);
    if (it == m_index.cend()) {
        Line line;
        line.file = m_file;
        line.key = key;
        line.table = tableName;
        m_lines.append(line);
        it = m_index.insert(id, int(m_lines.size() - 1));
    }
    return m_lines[it.value()];
}

int ImportPreview::handColumns(const QString &key, const QVector<History::ColumnChange> &changes)
{
    auto it = m_handColumns.constFind(key);
    if (it == m_handColumns.cend())
        it = m_handColumns.insert(key, HistoryReader::handEnteredColumns(m_dm, key));
    int hand = 0;
    for (const History::ColumnChange &c : changes) {
        if (it->contains(c.column))
            ++hand;
    }
    return hand;
}

void ImportPreview::rowChanged(TableId table, const QString &key, const TableImage::Row *before,
                               const TableImage::Row *after, bool)
{
    const TableDef &def = Schema::table(table);
    const QString name = History::rowName(def, after ? *after : *before);
    const int kbn = def.indexOf(QStringLiteral("NyuryokuKBN"));
    const bool handRow = before && kbn >= 0 && before->at(kbn).toString() == History::manual();
    if (!before) {
        Line &line = lineOf(key, table);
        ++line.added;
        if (m_keepsDetails)
            line.details.append({name, QString(), QString(), History::addedText()});
        return;
    }
    if (!after) {
        Line &line = lineOf(key, table);
        ++line.removed;
        line.hand += handRow ? 1 : 0;
        if (m_keepsDetails)
            line.details.append({name, QString(), QString(), History::removedText()});
        return;
    }
    const QVector<History::ColumnChange> changes = History::changes(def.columns, *before, *after);
    if (changes.isEmpty())
        return;
    Line &line = lineOf(key, table);
    ++line.changed;
    if (table == TableId::PC)
        line.hand += handColumns(key, changes);
    else
        line.hand += handRow ? 1 : 0;
    if (!m_keepsDetails)
        return;
    for (const History::ColumnChange &c : changes)
        line.details.append({name, c.column, c.oldValue, c.newValue});
}

void ImportPreview::pcFieldsChanged(const QString &key,
                                    const QVector<History::ColumnChange> &changes)
{
    if (changes.isEmpty())
        return;
    Line &line = lineOf(key, TableId::PC);
    ++line.changed;
    line.hand += handColumns(key, changes);
    if (!m_keepsDetails)
        return;
    for (const History::ColumnChange &c : changes)
        line.details.append({QString(), c.column, c.oldValue, c.newValue});
}

ImportPreview::Line ImportPreview::total() const
{
    Line sum;
    sum.file = QStringLiteral("合計");
    for (const Line &line : m_lines) {
        sum.added += line.added;
        sum.changed += line.changed;
        sum.removed += line.removed;
        sum.hand += line.hand;
    }
    return sum;
}

QStringList ImportPreview::header()
{
    return {QStringLiteral("ファイル"), QStringLiteral("Key"),  QStringLiteral("テーブル"),
            QStringLiteral("追加"),     QStringLiteral("変更"), QStringLiteral("削除"),
            QStringLiteral("手入力")};
}
