#include "LightRep.h"

#include "LRPanel.h"
#include "LayoutError.h"
#include "LayoutUnits.h"
#include "PageDrawing.h"
#include "PrintDevice.h"

#include <QPagedPaintDevice>
#include <QPainter>

TLightRep::TLightRep(QObject *parent) : QObject(parent)
{
    if (parent && !parent->isWidgetType())
        throw LayoutError(QStringLiteral("フォーム上にのみ配置できます．"));
}

TLightRep::~TLightRep()
{
    if (m_printer && m_printer->isActive())
        m_printer->end();
}

QSize TLightRep::paperUnits(TPaperSize paper)
{
    switch (paper) {
    case TPaperSize::psA4:
        return {794, 1123};
    case TPaperSize::psB4:
        return {945, 1338};
    case TPaperSize::psB5:
        return {688, 971};
    case TPaperSize::psA3:
        return {1123, 1587};
    case TPaperSize::psA5:
        return {559, 794};
    case TPaperSize::psNone:
        break;
    }
    return {};
}

QPageSize::PageSizeId TLightRep::pageSizeId(TPaperSize paper)
{
    switch (paper) {
    case TPaperSize::psA4:
        return QPageSize::A4;
    case TPaperSize::psB4:
        return QPageSize::JisB4;
    case TPaperSize::psB5:
        return QPageSize::JisB5;
    case TPaperSize::psA3:
        return QPageSize::A3;
    case TPaperSize::psA5:
        return QPageSize::A5;
    case TPaperSize::psNone:
        break;
    }
    return QPageSize::Custom;
}

void TLightRep::setMargin(int &margin, int units)
{
    if (units > 0 && units < pageUnits().width() / 2)
        margin = units;
}

QSize TLightRep::pageUnits() const
{
    const QSize paper = m_paper == TPaperSize::psNone ? m_designedSize : paperUnits(m_paper);
    return m_orientation == TPrinterOrientation::poLandscape ? paper.transposed() : paper;
}

QRect TLightRep::pageArea() const
{
    const QSize size = pageUnits();
    return QRect(m_marginLeft, m_marginTop, size.width() - m_marginLeft - m_marginRight,
                 size.height() - m_marginTop - m_marginBottom);
}

int TLightRep::PageNumber() const
{
    return m_mode == Mode::Idle ? 0 : m_pageNumber;
}

QList<TCustomLRPanel *> TLightRep::panels() const
{
    return findChildren<TCustomLRPanel *>(Qt::FindDirectChildrenOnly);
}

bool TLightRep::inRange(int page) const
{
    return page >= m_firstPage && (m_lastPage <= 0 || page <= m_lastPage);
}

void TLightRep::configure(PrintDevice &device)
{
    QPagedPaintDevice *paint = device.paintDevice();
    if (m_paper == TPaperSize::psNone) {
        if (OnSetPrinter)
            OnSetPrinter(device);
        return;
    }
    const bool sized = paint && paint->setPageSize(QPageSize(pageSizeId(m_paper)));
    const bool turned = paint
        && paint->setPageOrientation(m_orientation == TPrinterOrientation::poLandscape
                                         ? QPageLayout::Landscape
                                         : QPageLayout::Portrait);
    if (!sized || !turned)
        throw LayoutError(QStringLiteral("用紙設定時にエラーが発生しました．"));
}

void TLightRep::BeginDoc(PrintDevice &device)
{
    if (m_mode == Mode::Printing)
        throw LayoutError(QStringLiteral("プリンタは印刷中です．"));
    if (m_mode == Mode::Paginating)
        throw LayoutError(QStringLiteral("Paginate中です、印刷できません．"));
    m_mode = Mode::Idle; // a running preview ends here
    if (m_lastPage > 0 && m_lastPage < m_firstPage) {
        m_lastPage = m_firstPage;
        throw LayoutError(QStringLiteral("印刷ページ範囲が正しくありません．"));
    }
    configure(device);
    device.setJobTitle(m_title);
    auto painter = std::make_unique<QPainter>();
    if (!device.paintDevice() || !painter->begin(device.paintDevice()))
        throw LayoutError(device.beginErrorText());
    const int dpi = device.paintDevice()->logicalDpiY();
    m_scale = dpi > 0 ? double(dpi) / LayoutUnits::PerInch : 1.0;
    const QPoint offset = device.physicalOffset();
    m_offsetUnits = QPoint(LayoutUnits::roundHalfEven(offset.x() / m_scale),
                           LayoutUnits::roundHalfEven(offset.y() / m_scale));
    m_printer = std::move(painter);
    m_device = &device;
    m_mode = Mode::Printing;
    m_pageNumber = 0;
}

void TLightRep::PrintPage()
{
    if (m_mode != Mode::Printing)
        throw LayoutError(QStringLiteral("BeginDocが呼び出されていません．"));
    ++m_pageNumber;
    // A page outside the range is laid out all the same (its events run,
    // its data advances) but not painted.
    PageDrawing drawing;
    drawPanels(drawing, m_offsetUnits);
    if (inRange(m_pageNumber))
        drawing.play(*m_printer, m_scale);
}

void TLightRep::NewPage()
{
    if (m_mode != Mode::Printing)
        return;
    if (m_pageNumber >= m_firstPage && (m_lastPage <= 0 || m_pageNumber < m_lastPage))
        m_device->paintDevice()->newPage();
}

void TLightRep::EndDoc()
{
    if (m_mode != Mode::Printing)
        return;
    if (m_printer)
        m_printer->end();
    m_printer.reset();
    m_device = nullptr;
    m_mode = Mode::Idle;
}

void TLightRep::BeginPreview()
{
    if (m_mode == Mode::Printing)
        throw LayoutError(QStringLiteral("プリンタが印刷中のため、プレビューを開始できません．"));
    if (m_mode == Mode::Paginating)
        throw LayoutError(QStringLiteral("Paginate中です、プレビュー表示できません．"));
    m_mode = Mode::Previewing;
    m_pageNumber = 0;
}

void TLightRep::PreviewPage(QPainter &canvas)
{
    PageDrawing drawing;
    PreviewPage(drawing);
    canvas.fillRect(QRect(QPoint(), drawing.pageSize()), Qt::white);
    drawing.play(canvas, 1.0);
}

void TLightRep::PreviewPage(PageDrawing &drawing)
{
    if (m_mode != Mode::Previewing)
        BeginPreview();
    ++m_pageNumber;
    drawing.setPageSize(pageUnits());
    drawPanels(drawing, QPoint());
}

void TLightRep::BeginPaginate()
{
    if (m_mode == Mode::Printing)
        throw LayoutError(QStringLiteral("印刷中のため、Paginateを開始できません．"));
    m_mode = Mode::Paginating;
    m_pageNumber = 0;
}

void TLightRep::PaginatePage()
{
    if (m_mode != Mode::Paginating)
        throw LayoutError(QStringLiteral("BeginPaginateが呼び出されていません．"));
    ++m_pageNumber;
    PageDrawing drawing;
    drawPanels(drawing, QPoint());
}

void TLightRep::EndPaginate()
{
    if (m_mode != Mode::Paginating)
        return;
    m_pageCount = m_pageNumber;
    m_mode = Mode::Idle;
}

void TLightRep::drawPanels(PageDrawing &drawing, const QPoint &offsetUnits)
{
    const QList<TCustomLRPanel *> all = panels();
    QVector<TLRComponent *> children(all.begin(), all.end());
    const QVector<QRect> rects = LRAlignment::arrange(QPoint(), pageArea(), children);
    for (int i = 0; i < all.size(); ++i) {
        if (all[i]->isEnabled())
            all[i]->draw(drawing, rects[i].translated(-offsetUnits));
    }
}
