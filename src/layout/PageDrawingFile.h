#pragma once

#include <QTemporaryFile>
#include <QVector>
#include <memory>

class PageDrawing;

// Produced pages kept as their drawings, compressed, in a temporary file of
// the system's temporary folder (named "vLR" and a unique part), so that a
// long preview holds no pages in memory, only their offsets. The file is
// removed when the store is destroyed.
class PageDrawingFile
{
public:
    PageDrawingFile();
    ~PageDrawingFile();

    // Creates the file; throws LayoutError when it cannot.
    void create();
    bool isCreated() const { return m_file != nullptr; }
    QString fileName() const;

    // Appends a page; returns its index from 0. Throws LayoutError when
    // the file cannot be written.
    int append(const PageDrawing &drawing);
    // The page at an index; throws LayoutError when it cannot be read.
    PageDrawing read(int index) const;
    int count() const { return int(m_offsets.size()); }

private:
    std::unique_ptr<QTemporaryFile> m_file;
    QVector<qint64> m_offsets;
};
