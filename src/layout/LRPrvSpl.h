#pragma once

#include "LightRep.h"
#include "PageDrawingFile.h"

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QVector>

class PageDrawing;

// The preview store of a page: every produced page kept as its drawing,
// compressed in a temporary file, the map from produced pages to their
// drawings, and the one shown. Showing a page renders its drawing at the
// store's zoom and emits shown(); the window puts the image up.
class TLRPreviewControl : public QObject
{
    Q_OBJECT

public:
    explicit TLRPreviewControl(QObject *parent = nullptr);
    ~TLRPreviewControl() override;

    TLightRep *LightRep() const { return m_page; }
    void setLightRep(TLightRep *page) { m_page = page; }

    // Image pixels per layout unit of the pages shown (1 unless set; the
    // image carries it as its device pixel ratio).
    double zoom() const { return m_zoom; }
    void setZoom(double zoom) { m_zoom = zoom > 0 ? zoom : 1.0; }

    // Discards all pages and their file, starts a new file and puts the
    // page into preview with its counter at 0. Throws LayoutError.
    void Reset();
    // Shows the next stored page, or produces the next page (running its
    // panels' events), stores it and shows it.
    void ShowNext();
    // Produces and stores the next page without showing it.
    void ProduceNext();
    void ShowPrior();
    void ShowFirst();
    void ShowLast();
    // Shows the image of produced page n; false when there is no such page.
    bool GoToPage(int n);

    // The image shown, from 1; 0 before the first.
    int CurrentImage() const { return m_current + 1; }
    int ImageCount() const { return m_drawings.count(); }
    bool AtFirst() const { return m_current <= 0; }
    bool AtLast() const { return m_current >= m_drawings.count() - 1; }
    // Pages produced so far.
    int pageCount() const { return int(m_pageImage.size()); }

    // The page shown, rendered at the zoom (read back from the file); null
    // before the first.
    QImage currentImage() const;
    QString temporaryFileName() const { return m_drawings.fileName(); }

    // A page drawing rendered white at a scale.
    static QImage render(const PageDrawing &drawing, double scale);

signals:
    void shown(const QImage &image);

private:
    int produce();
    void show(int index);
    QImage rendered(int index) const;

    QPointer<TLightRep> m_page;
    PageDrawingFile m_drawings;
    QVector<int> m_pageImage; // drawing index of each produced page
    int m_current = -1;
    double m_zoom = 1.0;
};
