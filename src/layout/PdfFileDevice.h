#pragma once

#include "PrintDevice.h"
#include "base/WholeFile.h"

#include <memory>

class QPdfWriter;

// A PDF file as a printer: the pages drawn from the paper's edge at 1200
// dots per inch, the fonts embedded. The file is written as a whole (see
// WholeFile): an earlier file of the name stays until close() completes
// the new one, and stays when the print fails or is discarded.
class PdfFileDevice : public PrintDevice
{
public:
    explicit PdfFileDevice(const QString &fileName);
    ~PdfFileDevice() override;

    // Starts the file; false with errorText() when it cannot.
    bool open();
    QString errorText() const { return m_error; }
    QString fileName() const { return m_fileName; }
    // Completes the file; false with errorText() when it could not be
    // written completely (the earlier file then stays).
    bool close();
    // Gives the print up: the earlier file stays as it was. Also done when
    // the device goes without close().
    void discard();

    QPagedPaintDevice *paintDevice() override;
    void setJobTitle(const QString &title) override;
    QString beginErrorText() const override;

private:
    void setError();

    QString m_fileName;
    WholeFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    bool m_open = false;
    QString m_error;
};
