#include "SqlExecution.h"

#include "store/StoreError.h"
#include "store/StoreTransaction.h"
#include "store/UDMdata.h"

namespace SqlExecution {

void executeChange(TDMdata &dm, const QString &statement)
{
    if (!dm.isConnected())
        throw StoreError(QStringLiteral("データベースに接続していません"));
    StoreTransaction transaction(dm);
    {
        QSqlQuery query = dm.exec(statement);
        query.finish();
    }
    transaction.commit();
}

} // namespace SqlExecution
