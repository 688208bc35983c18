#include "TableDump.h"

#include "DumpReader.h"
#include "FieldText.h"
#include "TableWriter.h"
#include "base/Cp932.h"
#include "store/HistoryRecorder.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSet>
#include <QSqlQuery>

namespace {

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString unavailable(TDMdata &dm, TableId table)
{
    return dm.isConnected()
        ? QStringLiteral("テーブル %1 がありません").arg(Schema::table(table).name)
        : QStringLiteral("データベースに接続していません");
}

} // namespace

namespace TableDump {

QString field(const CsvExport::Column &column, const QVariant &value)
{
    switch (column.kind) {
    case CsvExport::FieldKind::Number:
    case CsvExport::FieldKind::Date:
        return CsvExport::field(column, value);
    case CsvExport::FieldKind::Timestamp: {
        const QVariant typed = column.def ? StoreValue::fromStore(*column.def, value) : value;
        if (typed.typeId() == QMetaType::QDateTime)
            return quoted(FieldText::dumpTimestamp(typed.toDateTime()));
        if (typed.typeId() == QMetaType::QDate)
            return quoted(FieldText::dumpTimestamp(typed.toDate().startOfDay()));
        // No value, or text that is no date: as the export writes it.
        return CsvExport::field(column, value);
    }
    case CsvExport::FieldKind::Text:
        break;
    }
    // The export's quoted text with the quotes inside it doubled.
    const QString exported = CsvExport::field(column, value);
    QString inner = exported.mid(1, exported.size() - 2);
    return quoted(inner.replace(QLatin1Char('"'), QStringLiteral("\"\"")));
}

CsvExport::Result write(const QString &path, const QVector<CsvExport::Column> &columns,
                        const CsvExport::PageSourceMaker &pages)
{
    return CsvExport::writeRows(path, columns, pages, &field);
}

CsvExport::Result write(TDMdata &dm, TableId table, const QString &path)
{
    const CsvExport exporter(dm, table);
    const QVector<CsvExport::Column> columns = exporter.columns();
    if (columns.isEmpty()) {
        CsvExport::Result result;
        result.error = unavailable(dm, table);
        return result;
    }
    return write(path, columns, [&] { return exporter.storePages(columns); });
}

QStringList pcKeys(TDMdata &dm, TableId table)
{
    QStringList keys;
    QSqlQuery q
        = dm.exec(QStringLiteral("SELECT DISTINCT Key FROM %1").arg(Schema::table(table).name));
    while (q.next())
        keys << q.value(0).toString();
    q.finish();
    return keys;
}

bool shrinks(qint64 fileRows, qint64 tableRows)
{
    return fileRows < tableRows && (fileRows == 0 || fileRows * 2 < tableRows);
}

QString shrinkQuestion(qint64 fileRows, qint64 tableRows)
{
    return QStringLiteral("ファイルには %1 行しかありません (現在は %2 行)。\n\r"
                          "インポートすると %3 行が消えます。よろしいですか？")
        .arg(fileRows)
        .arg(tableRows)
        .arg(tableRows - fileRows);
}

RestoreResult restore(TDMdata &dm, TableId table, const QString &path, Shrink shrink)
{
    RestoreResult result;
    const QVector<CsvExport::Column> columns = CsvExport(dm, table).columns();
    if (columns.isEmpty()) {
        result.error = unavailable(dm, table);
        return result;
    }
    QByteArray bytes;
    if (!DumpReader::fileBytes(path, bytes, result.error))
        return result;

    const TableDef &def = Schema::table(table);
    QVector<ColumnDef> defs;
    for (const CsvExport::Column &c : columns)
        defs << CsvExport::definition(c);
    DumpReader reader(def, columns);
    int keyColumn = -1;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name.compare(QLatin1String("Key"), Qt::CaseInsensitive) == 0)
            keyColumn = i;
    }
    const bool claimsApply = Schema::holdsPcRows(table) && keyColumn >= 0;
    try {
        // The PCs whose rows are replaced must not be open in another
        // copy's ledger window, as for an import or a deletion.
        QStringList keys;
        if (claimsApply) {
            keys = pcKeys(dm, table);
            PcClaims::waitWhileAnyClaimed(dm, keys);
        }
        HistoryRecorder history(dm, History::restoring());
        TableWriter writer(dm, def, defs, &history);
        StoreTransaction transaction(dm);
        QSqlQuery count = dm.exec(QStringLiteral("SELECT COUNT(*) FROM ") + def.name);
        result.tableRows = count.next() ? count.value(0).toLongLong() : 0;
        count.finish();
        writer.deleteAll();
        QSet<QString> fileKeys;
        const bool read = reader.read(bytes, [&](const QVariantList &row, int, QString &reason) {
            try {
                writer.insert(row);
            } catch (const StoreError &e) {
                reason = e.message();
                return false;
            }
            if (claimsApply)
                fileKeys.insert(row.value(keyColumn).toString());
            return true;
        });
        if (!read) {
            result.error = reader.error().text();
            return result;
        }
        if (shrink == Shrink::Refuse && shrinks(reader.rows(), result.tableRows)) {
            result.shrinkRefused = true;
            result.rows = reader.rows();
            result.error = QStringLiteral("ファイルには %1 行しかありません (現在は %2 行)。"
                                          "表の半分以上が消えるため復元しません")
                               .arg(reader.rows())
                               .arg(result.tableRows);
            return result;
        }
        if (claimsApply)
            PcClaims::ensureNoneClaimed(dm, keys + QStringList(fileKeys.cbegin(), fileKeys.cend()));
        writer.finish();
        transaction.commit();
    } catch (const StoreError &e) {
        result.error = e.message();
        return result;
    }
    result.ok = true;
    result.rows = reader.rows();
    return result;
}

} // namespace TableDump
