// A dump file as "restore" reads it: the file replaces the rows of the PC
// table in one transaction. When it is taken, the table is dumped and the
// dump restored and dumped again: a dump must read back unchanged.
//
// Rules: a refused file leaves the table as it was (empty here); the dump
// of a restored table restores, and its second dump equals the first.

#include "FuzzSupport.h"
#include "maintenance/TableDump.h"
#include "store/StoreError.h"
#include "store/UDMdata.h"

#include <QFile>
#include <QSqlQuery>

namespace {

qint64 pcRows(TDMdata &dm)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT COUNT(*) FROM PC"));
    return q.next() ? q.value(0).toLongLong() : -1;
}

QByteArray dumped(TDMdata &dm, const QString &name)
{
    const QString path = Fuzz::writeScratchFile(name, {});
    const CsvExport::Result written = TableDump::write(dm, TableId::PC, path);
    Fuzz::check(written.ok, QStringLiteral("dump not written: ") + written.error);
    QFile file(path);
    Fuzz::check(file.open(QIODevice::ReadOnly), file.errorString());
    return file.readAll();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    TDMdata &dm = Fuzz::store();
    try {
        dm.exec(QStringLiteral("DELETE FROM PC"));
        const QString path
            = Fuzz::writeScratchFile(QStringLiteral("input.csv"), Fuzz::bytes(data, size));
        const TableDump::RestoreResult result = TableDump::restore(dm, TableId::PC, path);
        if (!result.ok) {
            Fuzz::check(!result.error.isEmpty(), QStringLiteral("refused without a reason"));
            Fuzz::check(pcRows(dm) == 0, QStringLiteral("a refused file changed the table"));
            return 0;
        }
        Fuzz::check(pcRows(dm) == result.rows, QStringLiteral("restored rows miscounted"));

        const QByteArray first = dumped(dm, QStringLiteral("first.csv"));
        const TableDump::RestoreResult again = TableDump::restore(
            dm, TableId::PC, Fuzz::writeScratchFile(QStringLiteral("again.csv"), first));
        Fuzz::check(again.ok, QStringLiteral("own dump refused: ") + again.error);
        Fuzz::check(again.rows == result.rows, QStringLiteral("own dump lost rows"));
        const QByteArray second = dumped(dm, QStringLiteral("second.csv"));
        Fuzz::check(first == second, QStringLiteral("a dump did not read back unchanged"));
    } catch (const StoreError &e) {
        Fuzz::fail(QStringLiteral("store error: ") + e.message());
    }
    return 0;
}
