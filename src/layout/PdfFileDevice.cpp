#include "PdfFileDevice.h"

#include <QDir>
#include <QPdfWriter>

PdfFileDevice::PdfFileDevice(const QString &fileName) : m_fileName(fileName), m_file(fileName) { }

PdfFileDevice::~PdfFileDevice()
{
    discard();
}

void PdfFileDevice::setError()
{
    m_error
        = QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(m_fileName), m_file.errorText());
}

bool PdfFileDevice::open()
{
    m_error.clear();
    if (!m_file.open()) {
        setError();
        return false;
    }
    m_open = true;
    m_writer = std::make_unique<QPdfWriter>(&m_file.output());
    m_writer->setCreator(QStringLiteral("Orvane"));
    m_writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    return true;
}

bool PdfFileDevice::close()
{
    m_writer.reset();
    if (!m_open)
        return m_error.isEmpty();
    m_open = false;
    if (!m_file.commit()) {
        setError();
        return false;
    }
    return true;
}

void PdfFileDevice::discard()
{
    m_writer.reset();
    if (!m_open)
        return;
    m_open = false;
    m_file.discard();
}

QPagedPaintDevice *PdfFileDevice::paintDevice()
{
    return m_writer.get();
}

void PdfFileDevice::setJobTitle(const QString &title)
{
    if (m_writer)
        m_writer->setTitle(title);
}

QString PdfFileDevice::beginErrorText() const
{
    return m_error.isEmpty() ? QStringLiteral("PDFファイルに出力できません。\n%1")
                                   .arg(QDir::toNativeSeparators(m_fileName))
                             : m_error;
}
