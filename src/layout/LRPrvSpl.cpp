#include "LRPrvSpl.h"

#include "LightRep.h"
#include "PageDrawing.h"

#include <QPainter>
#include <cmath>

TLRPreviewControl::TLRPreviewControl(QObject *parent) : QObject(parent) { }

TLRPreviewControl::~TLRPreviewControl() = default;

void TLRPreviewControl::Reset()
{
    m_pageImage.clear();
    m_current = -1;
    m_drawings.create();
    if (m_page)
        m_page->BeginPreview();
}

int TLRPreviewControl::produce()
{
    if (!m_page)
        return -1;
    PageDrawing drawing;
    m_page->PreviewPage(drawing);
    const int index = m_drawings.append(drawing);
    m_pageImage.append(index);
    return index;
}

QImage TLRPreviewControl::render(const PageDrawing &drawing, double scale)
{
    const QSize size(int(std::ceil(drawing.pageSize().width() * scale)),
                     int(std::ceil(drawing.pageSize().height() * scale)));
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    drawing.play(painter, scale);
    return image;
}

QImage TLRPreviewControl::rendered(int index) const
{
    QImage image = render(m_drawings.read(index), m_zoom);
    image.setDevicePixelRatio(m_zoom);
    return image;
}

void TLRPreviewControl::show(int index)
{
    if (index < 0 || index >= m_drawings.count())
        return;
    m_current = index;
    emit shown(rendered(index));
}

void TLRPreviewControl::ShowNext()
{
    if (m_current + 1 < m_drawings.count()) {
        show(m_current + 1);
        return;
    }
    const int index = produce();
    if (index >= 0)
        show(index);
}

void TLRPreviewControl::ProduceNext()
{
    produce();
}

void TLRPreviewControl::ShowPrior()
{
    if (m_current > 0)
        show(m_current - 1);
}

void TLRPreviewControl::ShowFirst()
{
    show(0);
}

void TLRPreviewControl::ShowLast()
{
    show(m_drawings.count() - 1);
}

bool TLRPreviewControl::GoToPage(int n)
{
    if (n < 1 || n > m_pageImage.size())
        return false;
    show(m_pageImage[n - 1]);
    return true;
}

QImage TLRPreviewControl::currentImage() const
{
    return m_current >= 0 ? rendered(m_current) : QImage();
}
