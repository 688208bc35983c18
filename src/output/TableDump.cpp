#include "TableDump.h"

#include "DumpReader.h"
#include "FieldText.h"
#include "TableWriter.h"
#include "base/Cp932.h"
#include "store/HistoryRecorder.h"
#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

namespace {

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

// The key of a row as the user knows it: "PC01", "PC01, Excel".
QString keyText(const TableDef &table, const QVector<CsvExport::Column> &columns,
                const QVariantList &row)
{
    QStringList parts;
    for (const QString &key : table.primaryKey) {
        for (int i = 0; i < columns.size(); ++i) {
            if (columns[i].name.compare(key, Qt::CaseInsensitive) != 0)
                continue;
            const ColumnDef def = CsvExport::definition(columns[i]);
            parts << FieldText::text(def, StoreValue::fromStore(def, row.value(i)));
        }
    }
    return parts.join(QStringLiteral(", "));
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

CsvExport::Result write(const QString &path, const TableDef &table,
                        const QVector<CsvExport::Column> &columns,
                        const CsvExport::PageSource &pages)
{
    QVector<int> textColumns;
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].kind == CsvExport::FieldKind::Text)
            textColumns << i;
    }
    const auto checked = [&](QVector<QVariantList> &rows, QString &error) {
        if (!pages(rows, error))
            return false;
        for (const QVariantList &row : std::as_const(rows)) {
            for (int i : textColumns) {
                const QVariant &value = row.value(i);
                if (value.typeId() == QMetaType::QString && !Cp932::roundTrips(value.toString())) {
                    error = QStringLiteral("キー %1 の %2 に Shift-JIS (CP932) "
                                           "で表せない文字があります")
                                .arg(keyText(table, columns, row), columns[i].name);
                    return false;
                }
            }
        }
        return true;
    };
    return CsvExport::writeRows(path, columns, checked, &field);
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
    return write(path, Schema::table(table), columns, exporter.storePages(columns));
}

RestoreResult restore(TDMdata &dm, TableId table, const QString &path)
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
    try {
        HistoryRecorder history(dm, History::restoring());
        TableWriter writer(dm, def, defs, &history);
        StoreTransaction transaction(dm);
        writer.deleteAll();
        const bool read = reader.read(bytes, [&](const QVariantList &row, int, QString &reason) {
            try {
                writer.insert(row);
            } catch (const StoreError &e) {
                reason = e.message();
                return false;
            }
            return true;
        });
        if (!read) {
            result.error = reader.error().text();
            return result;
        }
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
