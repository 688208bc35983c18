#include "LRPrvSpl.h"

#include "LightRep.h"

#include <QPainter>

TLRPreviewControl::TLRPreviewControl(QObject *parent) : QObject(parent) { }

TLRPreviewControl::~TLRPreviewControl() = default;

void TLRPreviewControl::Reset()
{
    m_pageImage.clear();
    m_current = -1;
    m_bitmap = QImage();
    m_images.create();
    if (m_page)
        m_page->BeginPreview();
}

int TLRPreviewControl::produce()
{
    if (!m_page)
        return -1;
    const QSize size = m_page->pageUnits();
    if (m_bitmap.size() != size)
        m_bitmap = QImage(size, QImage::Format_RGB32);
    {
        QPainter painter(&m_bitmap);
        painter.setRenderHint(QPainter::TextAntialiasing);
        m_page->PreviewPage(painter);
    }
    const int index = m_images.append(m_bitmap);
    m_pageImage.append(index);
    return index;
}

void TLRPreviewControl::show(int index)
{
    if (index < 0 || index >= m_images.count())
        return;
    m_current = index;
    emit shown(m_images.read(index));
}

void TLRPreviewControl::ShowNext()
{
    if (m_current + 1 < m_images.count()) {
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
    show(m_images.count() - 1);
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
    return m_current >= 0 ? m_images.read(m_current) : QImage();
}
