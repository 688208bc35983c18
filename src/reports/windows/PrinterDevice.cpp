#include "PrinterDevice.h"

#include <QPrinter>

QPagedPaintDevice *PrinterDevice::paintDevice()
{
    return &m_printer;
}

void PrinterDevice::setJobTitle(const QString &title)
{
    m_printer.setDocName(title);
}

QPoint PrinterDevice::physicalOffset() const
{
    if (m_printer.fullPage())
        return {};
    const QRectF page = m_printer.pageRect(QPrinter::DevicePixel);
    const QRectF paper = m_printer.paperRect(QPrinter::DevicePixel);
    return (page.topLeft() - paper.topLeft()).toPoint();
}

QString PrinterDevice::beginErrorText() const
{
    return QStringLiteral("プリンタに出力できません。\n%1").arg(m_printer.printerName());
}
