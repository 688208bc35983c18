#pragma once

#include "PrintDevice.h"

#include <QFile>
#include <memory>

class QPdfWriter;

// A PDF file as a printer: the pages drawn from the paper's edge at 1200
// dots per inch, the fonts embedded.
class PdfFileDevice : public PrintDevice
{
public:
    explicit PdfFileDevice(const QString &fileName);
    ~PdfFileDevice() override;

    // Creates (or empties) the file; false with errorText() when it cannot.
    bool open();
    QString errorText() const { return m_error; }
    QString fileName() const { return m_file.fileName(); }
    // Closes the file; false with errorText() when it could not be written
    // completely.
    bool close();

    QPagedPaintDevice *paintDevice() override;
    void setJobTitle(const QString &title) override;
    QString beginErrorText() const override;

private:
    QFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    QString m_error;
};
