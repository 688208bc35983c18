#include "PcMerge.h"

#include "DistinctPcs.h"
#include "store/HistoryRecorder.h"
#include "store/KeptStatements.h"
#include "store/PcClaims.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QDateTime>
#include <QSet>
#include <QSqlQuery>
#include <QSqlRecord>

namespace PcMerge {

namespace {

const TableDef &pcTable()
{
    return Schema::table(TableId::PC);
}

// The detail tables of a PC, in the order their rows are listed.
const TableId DetailTables[] = {TableId::Appli, TableId::Printer, TableId::Drive,
                                TableId::Share, TableId::LAN,     TableId::PMEMORY};

QString nameColumn(TableId table)
{
    return Schema::table(table).primaryKey.at(1);
}

// The PC row of a key by catalog column; empty when there is none.
QVector<QVariant> readPc(KeptStatements &statements, const QString &key)
{
    QSqlQuery &q = statements.exec(QStringLiteral("SELECT * FROM PC\nWHERE Key = :KEY"),
                                   {{QStringLiteral(":KEY"), key}});
    QVector<QVariant> row;
    if (q.next()) {
        const TableDef &def = pcTable();
        row.resize(def.columns.size());
        const QSqlRecord record = q.record();
        for (int i = 0; i < record.count(); ++i) {
            const int c = def.indexOf(record.fieldName(i));
            if (c >= 0)
                row[c] = StoreValue::fromStore(def.columns.at(c), q.value(i));
        }
    }
    q.finish();
    return row;
}

// The names of a PC's rows in a detail table; only the hand-entered ones
// when asked.
QStringList rowNames(KeptStatements &statements, TableId table, const QString &key,
                     bool handEnteredOnly)
{
    const TableDef &def = Schema::table(table);
    QString sql
        = QStringLiteral("SELECT %1 FROM %2\nWHERE Key = :KEY").arg(nameColumn(table), def.name);
    QVariantMap params {{QStringLiteral(":KEY"), key}};
    if (handEnteredOnly) {
        // Shares typed in the share dialog carry no input kind.
        sql += table == TableId::Share
            ? QStringLiteral("\nAND (NyuryokuKBN = :KBN OR COALESCE(NyuryokuKBN, '') = '')")
            : QStringLiteral("\nAND NyuryokuKBN = :KBN");
        params.insert(QStringLiteral(":KBN"), QStringLiteral("手入力"));
    }
    sql += QStringLiteral("\nORDER BY %1").arg(nameColumn(table));
    QSqlQuery &q = statements.exec(sql, params);
    const ColumnDef &column = *def.column(nameColumn(table));
    QStringList names;
    while (q.next())
        names << StoreValue::displayText(column, q.value(0));
    q.finish();
    return names;
}

// A detail row's name bound as its column holds it (a number for the
// adapters and memory modules).
QVariant nameValue(TableId table, const QString &name)
{
    const ColumnDef &column = *Schema::table(table).column(nameColumn(table));
    return column.type == ColumnType::Integer ? QVariant(name.toInt()) : QVariant(name);
}

QVector<QStringList> contracts(KeptStatements &statements, const QString &key)
{
    QSqlQuery &q = statements.exec(QStringLiteral("SELECT lease, lease_No FROM LeasePC\n"
                                                  "WHERE PCKey = :KEY\n"
                                                  "ORDER BY lease, lease_No"),
                                   {{QStringLiteral(":KEY"), key}});
    QVector<QStringList> result;
    while (q.next())
        result.append({q.value(0).toString(), q.value(1).toString()});
    q.finish();
    return result;
}

bool isEmptyText(const QString &text)
{
    return text.trimmed().isEmpty();
}

ClaimSubject leaseSubject(const LeaseLink &link)
{
    return ClaimSubject::lease(link.lease, link.number);
}

} // namespace

const QVector<LedgerColumn> &ledgerColumns()
{
    static const QVector<LedgerColumn> columns = [] {
        const auto c = [](const char *name, const char *caption) {
            return LedgerColumn {QLatin1String(name), QString::fromUtf8(caption)};
        };
        return QVector<LedgerColumn> {
            c("KanriNo", "管理№"),
            c("KanriCD", "管理CD"),
            c("Maker", "メーカ名"),
            c("Kisyu", "機種名"),
            c("Kataban", "型番"),
            c("SerialNo", "シリアル№"),
            c("Keijyo", "形状"),
            c("Yoto", "用途"),
            c("DonyuYMD", "導入日"),
            c("TekkyoYMD", "撤去日"),
            c("SettiBasyo", "設置場所"),
            c("Bu", "部"),
            c("Ka", "課"),
            c("Riyosya", "利用者"),
            c("OS_Product", "OSプロダクトキー"),
            c("SisanKBN", "資産区分"),
            c("Konyusaki", "購入先"),
            c("lease", "リース会社"),
            c("lease_No", "リース契約№"),
            c("Hosyu_Kaisya", "保守会社"),
            c("Hosyu_No", "保守契約№"),
            c("Biko", "備考"),
        };
    }();
    return columns;
}

QString tableCaption(TableId table)
{
    switch (table) {
    case TableId::Appli:
        return QStringLiteral("アプリケーション");
    case TableId::Printer:
        return QStringLiteral("プリンタ");
    case TableId::Drive:
        return QStringLiteral("ドライブ");
    case TableId::Share:
        return QStringLiteral("共有");
    case TableId::LAN:
        return QStringLiteral("ネットワークアダプタ");
    case TableId::PMEMORY:
        return QStringLiteral("メモリ");
    default:
        return Schema::table(table).name;
    }
}

QString changedText()
{
    return QStringLiteral("統合する2台のPCのデータが、表示した後で変更されました。\n"
                          "もう一度表示してから統合してください。");
}

Plan Plan::read(TDMdata &dm, const QString &newerKey, const QString &olderKey)
{
    KeptStatements statements(dm);
    return read(statements, newerKey, olderKey);
}

Plan Plan::read(KeptStatements &statements, const QString &newerKey, const QString &olderKey)
{
    if (newerKey == olderKey)
        throw StoreError(QStringLiteral("同じパソコンどうしは統合できません: %1").arg(newerKey));
    Plan plan;
    plan.m_newerKey = newerKey;
    plan.m_olderKey = olderKey;
    plan.m_newer = readPc(statements, newerKey);
    plan.m_older = readPc(statements, olderKey);
    for (const QString &key : {newerKey, olderKey}) {
        if ((key == newerKey ? plan.m_newer : plan.m_older).isEmpty())
            throw StoreError(QStringLiteral("パソコンがありません: %1").arg(key));
    }

    // By default the newer PC takes what it lacks, but never a removal date.
    const QVector<LedgerColumn> &columns = ledgerColumns();
    plan.m_choices.fill(Side::Newer, columns.size());
    for (int i = 0; i < columns.size(); ++i) {
        if (columns[i].name != QLatin1String("TekkyoYMD")
            && isEmptyText(plan.text(Side::Newer, columns[i].name))
            && !isEmptyText(plan.text(Side::Older, columns[i].name)))
            plan.m_choices[i] = Side::Older;
    }

    for (const TableId table : DetailTables) {
        const QStringList older = rowNames(statements, table, olderKey, true);
        if (older.isEmpty())
            continue;
        const QStringList newerNames = rowNames(statements, table, newerKey, false);
        const QSet<QString> newer(newerNames.cbegin(), newerNames.cend());
        for (const QString &name : older)
            plan.m_details.append({table, name, !newer.contains(name)});
    }

    const QVector<QStringList> newerContracts = contracts(statements, newerKey);
    for (const QStringList &c : contracts(statements, olderKey))
        plan.m_leases.append({c[0], c[1], !newerContracts.contains(c)});
    return plan;
}

QVariant Plan::value(Side side, const QString &column) const
{
    const QVector<QVariant> &row = side == Side::Newer ? m_newer : m_older;
    return row.value(pcTable().indexOf(column));
}

QString Plan::text(Side side, const QString &column) const
{
    return StoreValue::displayText(*pcTable().column(column), value(side, column));
}

QVector<int> Plan::differing() const
{
    QVector<int> result;
    const QVector<LedgerColumn> &columns = ledgerColumns();
    for (int i = 0; i < columns.size(); ++i) {
        if (text(Side::Newer, columns[i].name) != text(Side::Older, columns[i].name))
            result.append(i);
    }
    return result;
}

void Plan::choose(int ledgerColumn, Side side)
{
    if (ledgerColumn >= 0 && ledgerColumn < m_choices.size())
        m_choices[ledgerColumn] = side;
}

QString Plan::merged(int ledgerColumn) const
{
    return text(choice(ledgerColumn), ledgerColumns().at(ledgerColumn).name);
}

QVector<int> Plan::kept() const
{
    QVector<int> result;
    for (const int i : differing()) {
        const QString &column = ledgerColumns().at(i).name;
        if (choice(i) == Side::Newer && !isEmptyText(text(Side::Newer, column))
            && !isEmptyText(text(Side::Older, column)))
            result.append(i);
    }
    return result;
}

bool Plan::sameAs(const Plan &other) const
{
    if (m_newerKey != other.m_newerKey || m_olderKey != other.m_olderKey)
        return false;
    for (const LedgerColumn &c : ledgerColumns()) {
        for (const Side side : {Side::Newer, Side::Older})
            if (text(side, c.name) != other.text(side, c.name))
                return false;
    }
    if (m_details.size() != other.m_details.size() || m_leases.size() != other.m_leases.size())
        return false;
    for (int i = 0; i < m_details.size(); ++i) {
        const DetailRow &a = m_details[i];
        const DetailRow &b = other.m_details[i];
        if (a.table != b.table || a.name != b.name || a.moves != b.moves)
            return false;
    }
    for (int i = 0; i < m_leases.size(); ++i) {
        const LeaseLink &a = m_leases[i];
        const LeaseLink &b = other.m_leases[i];
        if (a.lease != b.lease || a.number != b.number || a.moves != b.moves)
            return false;
    }
    return true;
}

Result merge(TDMdata &dm, const Plan &plan)
{
    const QString &newerKey = plan.newerKey();
    const QString &olderKey = plan.olderKey();
    // Another copy's window on either PC, or on a contract naming the older
    // one, is waited for before the transaction and checked inside it.
    PcClaims::waitWhileClaimed(dm, newerKey);
    PcClaims::waitWhileClaimed(dm, olderKey);
    for (const LeaseLink &link : plan.leases())
        PcClaims::waitWhileClaimed(dm, leaseSubject(link));

    KeptStatements statements(dm);
    HistoryRecorder history(dm, History::merging());
    StoreTransaction transaction(dm);
    PcClaims::ensureFree(dm, newerKey);
    PcClaims::ensureFree(dm, olderKey);
    for (const LeaseLink &link : plan.leases())
        PcClaims::ensureFree(dm, leaseSubject(link));
    const Plan now = Plan::read(statements, newerKey, olderKey);
    if (!now.sameAs(plan))
        throw StoreError(changedText());

    Result result;
    const QString key = QStringLiteral("Key");
    const History::ColumnChange keyChange {key, olderKey, newerKey};
    history.valueChanged(TableId::PC, olderKey, QString(), keyChange);
    history.valueChanged(TableId::PC, newerKey, QString(), keyChange);

    // The ledger values chosen from the older PC, and today's date as the
    // newer PC's last change, as the ledger window's OK stamps it.
    const TableDef &pc = pcTable();
    QStringList sets {QStringLiteral("UpdateYMD = :UPDATEYMD")};
    QVariantMap params {{QStringLiteral(":UPDATEYMD"),
                         StoreValue::toStore(*pc.column(QStringLiteral("UpdateYMD")),
                                             QDate::currentDate(), dm.engine())},
                        {QStringLiteral(":KEY"), newerKey}};
    const QVector<int> differing = plan.differing();
    for (const int i : differing) {
        if (plan.choice(i) != Side::Older)
            continue;
        const QString &column = ledgerColumns().at(i).name;
        const int c = pc.indexOf(column);
        const QString parameter = QStringLiteral(":V%1").arg(i);
        sets << column + QStringLiteral(" = ") + parameter;
        params.insert(
            parameter,
            StoreValue::toStore(pc.columns.at(c), now.value(Side::Older, column), dm.engine()));
        history.valueChanged(TableId::PC, newerKey, QString(),
                             {pc.columns.at(c).name, plan.text(Side::Newer, column),
                              plan.text(Side::Older, column)});
        ++result.values;
    }
    statements.exec(QStringLiteral("UPDATE PC SET ") + sets.join(QStringLiteral(", "))
                        + QStringLiteral("\nWHERE Key = :KEY"),
                    params);

    for (const DetailRow &row : plan.details()) {
        if (!row.moves)
            continue;
        statements.exec(QStringLiteral("UPDATE %1 SET Key = :NEWKEY\n"
                                       "WHERE Key = :OLDKEY AND %2 = :NAME")
                            .arg(Schema::table(row.table).name, nameColumn(row.table)),
                        {{QStringLiteral(":NEWKEY"), newerKey},
                         {QStringLiteral(":OLDKEY"), olderKey},
                         {QStringLiteral(":NAME"), nameValue(row.table, row.name)}});
        history.rowAdded(row.table, newerKey, row.name);
        ++result.rows;
    }

    for (const LeaseLink &link : plan.leases()) {
        QVariantMap where {{QStringLiteral(":LEASE"), link.lease},
                           {QStringLiteral(":LEASENO"), link.number},
                           {QStringLiteral(":OLDKEY"), olderKey}};
        const QString condition
            = QStringLiteral("\nWHERE lease = :LEASE AND lease_No = :LEASENO AND PCKey = :OLDKEY");
        if (!link.moves) {
            statements.exec(QStringLiteral("DELETE FROM LeasePC") + condition, where);
            continue;
        }
        where.insert(QStringLiteral(":NEWKEY"), newerKey);
        where.insert(QStringLiteral(":NOW"),
                     StoreValue::toStore(
                         *Schema::table(TableId::LeasePC).column(QStringLiteral("UpdateTime")),
                         QDateTime::currentDateTime(), dm.engine()));
        statements.exec(QStringLiteral("UPDATE LeasePC SET PCKey = :NEWKEY, UpdateTime = :NOW")
                            + condition,
                        where);
        ++result.leases;
    }

    DistinctPcs::carryOver(statements, olderKey, newerKey);

    // The older PC with what is left of it: the rows its collector sent
    // and the hand-entered rows the newer PC has under the same name.
    for (const TableId table : DetailTables)
        statements.exec(
            QStringLiteral("DELETE FROM %1\nWHERE Key = :KEY").arg(Schema::table(table).name),
            {{QStringLiteral(":KEY"), olderKey}});
    QSqlQuery &removePc = statements.exec(QStringLiteral("DELETE FROM PC\nWHERE Key = :KEY"),
                                          {{QStringLiteral(":KEY"), olderKey}});
    if (removePc.numRowsAffected() != 1)
        throw StoreError(changedText());

    transaction.commit();
    return result;
}

} // namespace PcMerge
