// A collector file as the import run reads it: the bytes decoded from CP932
// into lines, the header check, NUL bytes made blanks, then the per-file
// import (PC rules, detail rules, the merge) into a local store, twice (the
// second time over the rows of the first, with AppliDel off), and the
// store-wide steps of the run's end: page-file drives removed and the
// network selection. Everything runs in one transaction that is rolled back,
// so each input starts from an empty store.
//
// Rules: nothing but ImportError leaves the import; no text stored is wider
// than its column.

#include "FuzzSupport.h"
#include "base/Cp932.h"
#include "import/CollectorFile.h"
#include "import/ImportError.h"
#include "import/ImportFile.h"
#include "import/NetworkSelection.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/UDMdata.h"

#include <QSqlQuery>

namespace {

void importOnce(TDMdata &dm, const QStringList &lines, bool appliDel)
{
    CollectorImporter importer(dm);
    importer.setAppliDel(appliDel);
    importer.setClock([] { return QDateTime(QDate(2026, 12, 1), QTime(9, 30)); });
    try {
        importer.ImportFile(lines);
    } catch (const ImportError &) {
        // A file the import refuses; its message names the line.
    }
}

void checkWidths(TDMdata &dm)
{
    for (const TableDef &table : Schema::tables()) {
        QSqlQuery q = dm.exec(QStringLiteral("SELECT * FROM ") + table.name);
        while (q.next()) {
            for (int i = 0; i < table.columns.size(); ++i) {
                const ColumnDef &column = table.columns.at(i);
                if (column.type != ColumnType::Character || column.width <= 0)
                    continue;
                const QString value = q.value(column.name).toString();
                Fuzz::check(Cp932::byteLength(value) <= column.width,
                            QStringLiteral("%1.%2 holds %3 bytes: %4")
                                .arg(table.name, column.name)
                                .arg(Cp932::byteLength(value))
                                .arg(value));
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    QStringList lines = CollectorFile::linesOf(bytes);
    if (lines.isEmpty() || lines.first() != CollectorFile::header())
        return 0;
    if (CollectorFile::replaceNulBytes(bytes))
        lines = CollectorFile::linesOf(bytes);

    TDMdata &dm = Fuzz::store();
    try {
        dm.startTransaction();
        importOnce(dm, lines, true);
        importOnce(dm, lines, false);
        dm.exec(QStringLiteral("DELETE FROM DRIVE\nWHERE DRIVE = 'ページファイル'"));
        SelectPCNetwork(dm, {QStringLiteral("192.168.0.0"), QStringLiteral("255.255.0.0")},
                        {QStringLiteral("0.0.0.0"), QStringLiteral("0.0.0.0")});
        checkWidths(dm);
        dm.rollback();
    } catch (const StoreError &e) {
        Fuzz::fail(QStringLiteral("store error: ") + e.message());
    }
    return 0;
}
