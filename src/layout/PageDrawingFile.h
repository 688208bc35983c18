#pragma once

#include <QImage>
#include <QTemporaryFile>
#include <QVector>
#include <memory>

// Rendered pages kept compressed in a temporary file of the system's
// temporary folder (named "vLR" and a unique part), so that a long preview
// holds no page images in memory, only their offsets. A grey page is kept
// at 8 bits per pixel. The file is removed when the store is destroyed.
class PageImageFile
{
public:
    PageImageFile();
    ~PageImageFile();

    // Creates the file; throws LayoutError when it cannot.
    void create();
    bool isCreated() const { return m_file != nullptr; }
    QString fileName() const;

    // Appends a page; returns its index from 0. Throws LayoutError when
    // the file cannot be written.
    int append(const QImage &image);
    // The page at an index; throws LayoutError when it cannot be read.
    QImage read(int index) const;
    int count() const { return int(m_offsets.size()); }

private:
    std::unique_ptr<QTemporaryFile> m_file;
    QVector<qint64> m_offsets;
};
