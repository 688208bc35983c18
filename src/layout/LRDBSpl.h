#pragma once

#include "LRDataSet.h"
#include "LRItem.h"

#include <QPointer>

// A boxed text bound to a field of a data set: whenever the data set's
// current row changes, the text becomes the field's display text (empty for
// no value). A field the data set lacks leaves the text as it was.
class TLRDBItem : public TLRItem
{
    Q_OBJECT

public:
    explicit TLRDBItem(QObject *parent);

    LRDataSet *DataSource() const { return m_dataSource; }
    void setDataSource(LRDataSet *dataSource);
    QString DataField() const { return m_dataField; }
    void setDataField(const QString &field);

private:
    void follow();

    QPointer<LRDataSet> m_dataSource;
    QString m_dataField;
    QMetaObject::Connection m_connection;
};
