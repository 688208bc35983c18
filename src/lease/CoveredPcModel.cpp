#include "CoveredPcModel.h"

#include "LeaseReader.h"
#include "WorkTable.h"
#include "base/EntryText.h"
#include "base/InputError.h"
#include "store/Schema.h"
#include "store/StoreError.h"

namespace {

const QString KeyTitle = QStringLiteral("PC_Key");

} // namespace

CoveredPcModel::CoveredPcModel(TDMdata &dm, QObject *parent) : QAbstractTableModel(parent), m_dm(dm)
{ }

QString CoveredPcModel::unknownPcText()
{
    return QStringLiteral("（台帳に未登録）");
}

void CoveredPcModel::create()
{
    beginResetModel();
    m_keys.clear();
    m_hasNew = false;
    m_names.clear();
    endResetModel();
    WorkTable::recreate(m_dm, QStringLiteral("wLeasePC"),
                        QStringLiteral("PCKey CHARACTER(32) NOT NULL,\n"
                                       "PRIMARY KEY (PCKey)"));
}

void CoveredPcModel::load(const QString &key)
{
    lookUpName(key);
    WorkTable::exec(m_dm, QStringLiteral("INSERT INTO wLeasePC(PCKey) VALUES(:PCKey)"),
                    {{QStringLiteral(":PCKey"), key}});
    beginInsertRows(QModelIndex(), m_keys.size(), m_keys.size());
    m_keys.append(key);
    endInsertRows();
    place(m_keys.size() - 1);
}

int CoveredPcModel::addRow()
{
    if (!m_hasNew) {
        beginInsertRows(QModelIndex(), m_keys.size(), m_keys.size());
        m_hasNew = true;
        endInsertRows();
    }
    return m_keys.size();
}

void CoveredPcModel::removeRow(int row)
{
    if (row < 0 || row >= rowCount())
        return;
    if (!isNewRow(row)) {
        try {
            WorkTable::exec(m_dm, QStringLiteral("DELETE FROM wLeasePC WHERE PCKey = :PCKey"),
                            {{QStringLiteral(":PCKey"), m_keys[row]}});
        } catch (const StoreError &e) {
            emit refused(e.message());
            return;
        }
    }
    beginRemoveRows(QModelIndex(), row, row);
    if (isNewRow(row))
        m_hasNew = false;
    else
        m_keys.removeAt(row);
    endRemoveRows();
}

void CoveredPcModel::finishNewRow()
{
    if (m_hasNew)
        removeRow(m_keys.size());
}

int CoveredPcModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_keys.size() + (m_hasNew ? 1 : 0);
}

int CoveredPcModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant CoveredPcModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || isNewRow(index.row())
        || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    const QString &key = m_keys.at(index.row());
    return index.column() == PCKey ? key : m_names.value(key);
}

QVariant CoveredPcModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return {};
    return section == PCKey ? KeyTitle : QStringLiteral("ｺﾝﾋﾟｭｰﾀ名");
}

Qt::ItemFlags CoveredPcModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (index.isValid() && index.column() == PCKey)
        f |= Qt::ItemIsEditable;
    return f;
}

bool CoveredPcModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || index.column() != PCKey)
        return false;
    try {
        setKey(index.row(), value.toString().trimmed());
    } catch (const InputError &e) {
        emit refused(e.message());
        return false;
    } catch (const StoreError &e) {
        emit refused(e.message());
        return false;
    }
    return true;
}

void CoveredPcModel::setKey(int row, const QString &typed)
{
    const bool isNew = isNewRow(row);
    if (typed.isEmpty()) {
        if (!isNew)
            throw InputError(FieldErrorText::required(KeyTitle));
        return;
    }
    const QString key = EntryText::checked(
        KeyTitle, typed, Schema::table(TableId::LeasePC).column(QStringLiteral("PCKey"))->width);
    if (!isNew && m_keys[row] == key)
        return;
    if (m_keys.contains(key))
        throw InputError(QStringLiteral("PC_Key %1 は既に入力されています").arg(key));
    lookUpName(key);
    if (isNew) {
        WorkTable::exec(m_dm, QStringLiteral("INSERT INTO wLeasePC(PCKey) VALUES(:PCKey)"),
                        {{QStringLiteral(":PCKey"), key}});
        m_hasNew = false;
        m_keys.append(key);
    } else {
        WorkTable::exec(m_dm, QStringLiteral("UPDATE wLeasePC SET PCKey = :NEW WHERE PCKey = :OLD"),
                        {{QStringLiteral(":NEW"), key}, {QStringLiteral(":OLD"), m_keys[row]}});
        m_keys[row] = key;
    }
    emit dataChanged(index(row, 0), index(row, ColumnCount - 1));
    place(row);
}

void CoveredPcModel::place(int from)
{
    int to = 0;
    for (int r = 0; r < m_keys.size(); ++r) {
        if (r != from && m_keys[r] < m_keys[from])
            ++to;
    }
    if (to == from)
        return;
    beginMoveRows(QModelIndex(), from, from, QModelIndex(), to > from ? to + 1 : to);
    m_keys.move(from, to);
    endMoveRows();
}

void CoveredPcModel::lookUpName(const QString &key)
{
    if (!m_names.contains(key))
        m_names.insert(key, LeaseReader::pcName(m_dm, key).value_or(unknownPcText()));
}
