#pragma once

#include <QObject>
#include <QString>

// A data set a report runs over: rows in order with a current row, and the
// display text of a field of that row. Data-bound items follow its
// currentRowChanged signal; the report frame ends a report when it is past
// its last row. Errors of the source are thrown as its own error type.
class LRDataSet : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    virtual bool isOpen() const = 0;
    virtual void open() = 0;
    virtual void first() = 0;
    virtual void next() = 0;
    // Past the last row (always, when there are no rows).
    virtual bool eof() const = 0;

    virtual bool hasField(const QString &field) const = 0;
    // The field of the current row as text; empty for no value.
    virtual QString displayText(const QString &field) const = 0;

signals:
    void currentRowChanged();
};
