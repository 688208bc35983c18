#include "PageDrawingFile.h"

#include "LayoutError.h"
#include "PageDrawing.h"
#include "base/FileErrorText.h"

#include <QDataStream>
#include <QDir>

namespace {

[[noreturn]] void fail(const QFileDevice &file)
{
    throw LayoutError(QStringLiteral("プレビューの一時ファイルを使えません。\n%1\n%2")
                          .arg(QDir::toNativeSeparators(file.fileName()), FileErrorText(file)));
}

} // namespace

PageDrawingFile::PageDrawingFile() = default;

PageDrawingFile::~PageDrawingFile() = default;

void PageDrawingFile::create()
{
    m_offsets.clear();
    m_file = std::make_unique<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/vLRXXXXXX.tmp"));
    if (!m_file->open())
        fail(*m_file);
}

QString PageDrawingFile::fileName() const
{
    return m_file ? m_file->fileName() : QString();
}

int PageDrawingFile::append(const PageDrawing &drawing)
{
    if (!m_file)
        create();
    const QByteArray bytes = drawing.toBytes();
    const qint64 offset = m_file->size();
    m_file->seek(offset);
    QDataStream out(m_file.get());
    out << bytes;
    if (out.status() != QDataStream::Ok || m_file->error() != QFileDevice::NoError)
        fail(*m_file);
    m_offsets.append(offset);
    return int(m_offsets.size()) - 1;
}

PageDrawing PageDrawingFile::read(int index) const
{
    PageDrawing drawing;
    if (!m_file || index < 0 || index >= m_offsets.size())
        return drawing;
    m_file->seek(m_offsets[index]);
    QDataStream in(m_file.get());
    QByteArray bytes;
    in >> bytes;
    if (in.status() != QDataStream::Ok || !PageDrawing::fromBytes(bytes, drawing))
        fail(*m_file);
    return drawing;
}
