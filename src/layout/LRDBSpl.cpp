#include "LRDBSpl.h"

#include "LRDataSet.h"

TLRDBItem::TLRDBItem(QObject *parent) : TLRItem(parent) { }

void TLRDBItem::setDataSource(LRDataSet *dataSource)
{
    disconnect(m_connection);
    m_dataSource = dataSource;
    if (dataSource)
        m_connection = connect(dataSource, &LRDataSet::currentRowChanged, this, &TLRDBItem::follow);
    follow();
}

void TLRDBItem::setDataField(const QString &field)
{
    m_dataField = field;
    follow();
}

void TLRDBItem::follow()
{
    if (!m_dataSource || m_dataField.isEmpty() || !m_dataSource->isOpen() || m_dataSource->eof()
        || !m_dataSource->hasField(m_dataField))
        return;
    setText(m_dataSource->displayText(m_dataField));
}
