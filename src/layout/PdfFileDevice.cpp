#include "PdfFileDevice.h"

#include "base/FileErrorText.h"

#include <QDir>
#include <QPdfWriter>

PdfFileDevice::PdfFileDevice(const QString &fileName) : m_file(fileName) { }

PdfFileDevice::~PdfFileDevice() = default;

bool PdfFileDevice::open()
{
    if (!m_file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        m_error = QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(m_file.fileName()),
                                               FileErrorText(m_file));
        return false;
    }
    m_writer = std::make_unique<QPdfWriter>(&m_file);
    m_writer->setCreator(QStringLiteral("Orvane"));
    m_writer->setPageMargins(QMarginsF(0, 0, 0, 0));
    return true;
}

bool PdfFileDevice::close()
{
    m_writer.reset();
    if (!m_file.isOpen())
        return m_error.isEmpty();
    const bool written = m_file.error() == QFileDevice::NoError && m_file.flush();
    if (!written)
        m_error = QStringLiteral("%1\n%2").arg(QDir::toNativeSeparators(m_file.fileName()),
                                               FileErrorText(m_file));
    m_file.close();
    return written;
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
                                   .arg(QDir::toNativeSeparators(m_file.fileName()))
                             : m_error;
}
