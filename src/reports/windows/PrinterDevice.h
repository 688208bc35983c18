#pragma once

#include "layout/PrintDevice.h"

class QPrinter;

// An installed printer as the page's print device. The painter's origin is
// the printable area; the page moves its drawing by that offset so that
// positions are measured from the paper's edge.
class PrinterDevice : public PrintDevice
{
public:
    explicit PrinterDevice(QPrinter &printer) : m_printer(printer) { }

    QPagedPaintDevice *paintDevice() override;
    void setJobTitle(const QString &title) override;
    QPoint physicalOffset() const override;
    QString beginErrorText() const override;

private:
    QPrinter &m_printer;
};
