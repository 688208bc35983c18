#pragma once

#include <QPoint>
#include <QString>

class QPagedPaintDevice;

// What a page prints on: a printer or a PDF file. The page sets the paper
// and the orientation on the paint device, names the job and draws.
class PrintDevice
{
public:
    virtual ~PrintDevice() = default;

    virtual QPagedPaintDevice *paintDevice() = 0;
    // The name of the print job (the PDF document's title).
    virtual void setJobTitle(const QString &title) = 0;
    // Where the painter's origin lies from the paper's top-left edge, in
    // device pixels; (0, 0) when the device draws from the edge or cannot
    // say.
    virtual QPoint physicalOffset() const { return {}; }
    // Why drawing could not begin, for the user.
    virtual QString beginErrorText() const = 0;
};
