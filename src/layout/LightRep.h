#pragma once

#include <QObject>
#include <QPageSize>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class PageDrawing;
class PrintDevice;
class QPainter;
class TCustomLRPanel;

enum class TPaperSize { psNone, psA4, psB4, psB5, psA3, psA5 };
enum class TPrinterOrientation { poPortrait, poLandscape };

// The page of a fixed-form report: paper, orientation and margins in layout
// units, the print range, and the panels placed on it (its child panels,
// drawn in child order). It prints on a PrintDevice, draws preview pages
// onto any painter or records them as drawings, or counts pages without
// output. Each page is laid out once, as a PageDrawing, and painted from
// that.
//
// Modes: idle, printing, previewing, paginating. The page counter restarts
// at 0 with every print job, preview and pagination. Refusals throw
// LayoutError with the texts the user sees.
class TLightRep : public QObject
{
    Q_OBJECT

public:
    enum class Mode { Idle, Printing, Previewing, Paginating };

    static constexpr int DefaultMargin = 36;

    // A page lies on a window or on nothing; anything else is refused.
    explicit TLightRep(QObject *parent = nullptr);
    ~TLightRep() override;

    // Paper size in layout units (portrait; landscape swaps), and the
    // paper of the device.
    static QSize paperUnits(TPaperSize paper);
    static QPageSize::PageSizeId pageSizeId(TPaperSize paper);

    int MarginTop() const { return m_marginTop; }
    int MarginLeft() const { return m_marginLeft; }
    int MarginRight() const { return m_marginRight; }
    int MarginBottom() const { return m_marginBottom; }
    // A margin is taken only above 0 and below half the page width.
    void setMarginTop(int units) { setMargin(m_marginTop, units); }
    void setMarginLeft(int units) { setMargin(m_marginLeft, units); }
    void setMarginRight(int units) { setMargin(m_marginRight, units); }
    void setMarginBottom(int units) { setMargin(m_marginBottom, units); }

    TPaperSize PaperSize() const { return m_paper; }
    void setPaperSize(TPaperSize paper) { m_paper = paper; }
    TPrinterOrientation Orientation() const { return m_orientation; }
    void setOrientation(TPrinterOrientation orientation) { m_orientation = orientation; }
    // The size of a page of paper psNone, as designed.
    void setDesignedSize(const QSize &units) { m_designedSize = units; }

    QString Title() const { return m_title; }
    void setTitle(const QString &title) { m_title = title; }

    // The print range; 0 means no limit.
    int FirstPage() const { return m_firstPage; }
    void setFirstPage(int page) { m_firstPage = page; }
    int LastPage() const { return m_lastPage; }
    void setLastPage(int page) { m_lastPage = page; }

    // Configures a device for paper psNone.
    std::function<void(PrintDevice &device)> OnSetPrinter;

    // The page in units, and the part of it less the margins.
    QSize pageUnits() const;
    QRect pageArea() const;

    Mode mode() const { return m_mode; }
    // The page counter while printing, previewing or paginating; 0 when
    // idle.
    int PageNumber() const;

    void BeginDoc(PrintDevice &device);
    void PrintPage();
    void NewPage();
    void EndDoc();

    void BeginPreview();
    // Draws the next page onto a canvas of the page's size in units.
    void PreviewPage(QPainter &canvas);
    // Records the next page, to be painted later at any scale.
    void PreviewPage(PageDrawing &drawing);

    void BeginPaginate();
    void PaginatePage();
    void EndPaginate();
    // Pages counted by the last pagination.
    int pageCount() const { return m_pageCount; }

    // The panels placed on the page, in child order.
    QList<TCustomLRPanel *> panels() const;

private:
    void setMargin(int &margin, int units);
    void configure(PrintDevice &device);
    void drawPanels(PageDrawing &drawing, const QPoint &offsetUnits);
    bool inRange(int page) const;

    int m_marginTop = DefaultMargin;
    int m_marginLeft = DefaultMargin;
    int m_marginRight = DefaultMargin;
    int m_marginBottom = DefaultMargin;
    TPaperSize m_paper = TPaperSize::psA4;
    TPrinterOrientation m_orientation = TPrinterOrientation::poPortrait;
    QSize m_designedSize {794, 1123};
    QString m_title;
    int m_firstPage = 0;
    int m_lastPage = 0;

    Mode m_mode = Mode::Idle;
    int m_pageNumber = 0;
    int m_pageCount = 0;
    PrintDevice *m_device = nullptr;
    std::unique_ptr<QPainter> m_printer;
    double m_scale = 1.0;
    QPoint m_offsetUnits;
};
