#pragma once

#include "LightRep.h"
#include "PageImageFile.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QVector>

// The preview store of a page: every produced page rendered at one pixel
// per layout unit and kept compressed in a temporary file, the map from
// produced pages to their images, and the image shown. Showing an image
// emits shown(); the window draws it.
class TLRPreviewControl : public QObject
{
    Q_OBJECT

public:
    explicit TLRPreviewControl(QObject *parent = nullptr);
    ~TLRPreviewControl() override;

    TLightRep *LightRep() const { return m_page; }
    void setLightRep(TLightRep *page) { m_page = page; }

    // Discards all images and their file, starts a new file and puts the
    // page into preview with its counter at 0. Throws LayoutError.
    void Reset();
    // Shows the next stored image, or renders the next page (running its
    // panels' events), stores it and shows it.
    void ShowNext();
    // Renders and stores the next page without showing it.
    void ProduceNext();
    void ShowPrior();
    void ShowFirst();
    void ShowLast();
    // Shows the image of produced page n; false when there is no such page.
    bool GoToPage(int n);

    // The image shown, from 1; 0 before the first.
    int CurrentImage() const { return m_current + 1; }
    int ImageCount() const { return m_images.count(); }
    bool AtFirst() const { return m_current <= 0; }
    bool AtLast() const { return m_current >= m_images.count() - 1; }
    // Pages produced so far.
    int pageCount() const { return int(m_pageImage.size()); }

    // The image shown (read back from the file); null before the first.
    QImage currentImage() const;
    QString temporaryFileName() const { return m_images.fileName(); }

signals:
    void shown(const QImage &image);

private:
    int produce();
    void show(int index);

    QPointer<TLightRep> m_page;
    PageImageFile m_images;
    QVector<int> m_pageImage; // image index of each produced page
    QImage m_bitmap; // the drawing bitmap, reused
    int m_current = -1;
};
