#include "PageImageFile.h"

#include "LayoutError.h"
#include "base/FileErrorText.h"

#include <QDataStream>
#include <QDir>

namespace {

// Fast compression: pages are mostly white and are written while the user
// pages through the preview.
constexpr int CompressionLevel = 1;

[[noreturn]] void fail(const QFileDevice &file)
{
    throw LayoutError(QStringLiteral("プレビューの一時ファイルを使えません。\n%1\n%2")
                          .arg(QDir::toNativeSeparators(file.fileName()), FileErrorText(file)));
}

// A grey page at 8 bits per pixel (taken in one pass, faster than
// QImage's own test and conversion), any other at 32.
QImage storedForm(const QImage &image)
{
    const QImage rgb = image.format() == QImage::Format_RGB32
        ? image
        : image.convertToFormat(QImage::Format_RGB32);
    QImage grey(rgb.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < rgb.height(); ++y) {
        const auto *in = reinterpret_cast<const QRgb *>(rgb.constScanLine(y));
        uchar *out = grey.scanLine(y);
        for (int x = 0; x < rgb.width(); ++x) {
            const QRgb pixel = in[x];
            const int blue = qBlue(pixel);
            if (qRed(pixel) != blue || qGreen(pixel) != blue)
                return rgb;
            out[x] = uchar(blue);
        }
    }
    return grey;
}

} // namespace

PageImageFile::PageImageFile() = default;

PageImageFile::~PageImageFile() = default;

void PageImageFile::create()
{
    m_offsets.clear();
    m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/vLRXXXXXX.tmp"));
    if (!m_file->open())
        fail(*m_file);
}

QString PageImageFile::fileName() const
{
    return m_file ? m_file->fileName() : QString();
}

int PageImageFile::append(const QImage &image)
{
    if (!m_file)
        create();
    const QImage stored = storedForm(image);
    const QByteArray bits
        = qCompress(stored.constBits(), int(stored.sizeInBytes()), CompressionLevel);
    const qint64 offset = m_file->size();
    m_file->seek(offset);
    QDataStream out(m_file.get());
    out << qint32(stored.format()) << qint32(stored.width()) << qint32(stored.height())
        << qint32(stored.bytesPerLine()) << bits;
    if (out.status() != QDataStream::Ok || m_file->error() != QFileDevice::NoError)
        fail(*m_file);
    m_offsets.append(offset);
    return int(m_offsets.size()) - 1;
}

QImage PageImageFile::read(int index) const
{
    if (!m_file || index < 0 || index >= m_offsets.size())
        return {};
    m_file->seek(m_offsets[index]);
    QDataStream in(m_file.get());
    qint32 format = 0, width = 0, height = 0, bytesPerLine = 0;
    QByteArray bits;
    in >> format >> width >> height >> bytesPerLine >> bits;
    if (in.status() != QDataStream::Ok)
        fail(*m_file);
    const QByteArray raw = qUncompress(bits);
    QImage image(width, height, QImage::Format(format));
    if (image.isNull() || raw.size() != qsizetype(bytesPerLine) * height
        || image.bytesPerLine() != bytesPerLine)
        fail(*m_file);
    memcpy(image.bits(), raw.constData(), raw.size());
    return image;
}
