#include "BandedReport.h"

#include "base/DateText.h"
#include "layout/LRDataSet.h"
#include "layout/LRPanel.h"
#include "layout/LayoutUnits.h"
#include "layout/LightRep.h"
#include "layout/ReportFont.h"
#include "store/UDMdata.h"

using Banded::Field;
using LayoutUnits::fromMillimetres;

// The master data set: the laid-out pages, opened by laying them out.
class BandedReport::Pages : public LRDataSet
{
public:
    Pages(BandedReport &report, QObject *parent) : LRDataSet(parent), m_report(report) { }

    bool isOpen() const override { return m_open; }
    void open() override
    {
        m_report.open();
        m_open = true;
        m_pos = 0;
    }
    void first() override
    {
        if (!m_open)
            open();
        m_pos = 0;
        emit currentRowChanged();
    }
    void next() override
    {
        if (eof())
            return;
        ++m_pos;
        emit currentRowChanged();
    }
    bool eof() const override { return !m_open || m_pos >= m_report.pages().size(); }
    bool hasField(const QString &) const override { return false; }
    QString displayText(const QString &) const override { return QString(); }

    int position() const { return m_pos; }

private:
    BandedReport &m_report;
    bool m_open = false;
    int m_pos = 0;
};

namespace {

QFont unitFont(const Banded::Font &font)
{
    const int height = LayoutUnits::fromPoints(font.points);
    return font.face == Banded::Face::Gothic ? ReportFont::gothic(height, font.bold)
                                             : ReportFont::proportional(height, font.bold);
}

// The gap in units left before the next column (at least 1 mm), so that a
// value cut there never reads as one with the next.
constexpr int ColumnGap = 4;

// The width of a field in units: its own, or up to the gap before the next
// field on its line, or to the band's right edge. A caption of the design,
// which never needs cutting, may reach to the edge.
int fieldWidth(const Banded::Band &band, const Field &field, double bandWidth)
{
    if (field.width > 0)
        return fromMillimetres(field.width);
    const int left = fromMillimetres(field.x);
    int right = fromMillimetres(bandWidth);
    if (field.kind == Field::Kind::Text)
        return qMax(0, right - left);
    for (const Field &other : band.fields) {
        if (other.y == field.y && other.x > field.x)
            right = qMin(right, fromMillimetres(other.x) - ColumnGap);
    }
    return qMax(0, right - left);
}

// The columns the report shows or groups by.
QStringList usedColumns(const Banded::ReportDef &def)
{
    QStringList columns;
    const auto add = [&](const Banded::Band &band) {
        for (const Field &field : band.fields) {
            if (field.kind == Field::Kind::Column)
                columns << field.text;
        }
    };
    for (const Banded::Group &group : def.groups) {
        columns << group.column;
        add(group.header);
        if (group.footer)
            add(*group.footer);
    }
    for (const Banded::Band *band :
         {&def.detail, def.pageHeader ? &*def.pageHeader : nullptr,
          def.summary ? &*def.summary : nullptr, def.pageFooter ? &*def.pageFooter : nullptr}) {
        if (band)
            add(*band);
    }
    return columns;
}

} // namespace

BandedReport::BandedReport(TDMdata &dm, Banded::ReportDef def, const ReportStatement &statement,
                           const QVector<TableId> &tables)
    : m_dm(dm), m_def(std::move(def)), m_statement(statement),
      m_page(std::make_unique<TLightRep>()), m_panel(new TLRLayoutPanel(m_page.get())),
      m_pagesSet(new Pages(*this, m_page.get())),
      m_clock([] { return QDateTime::currentDateTime(); })
{
    for (TableId table : tables)
        m_tables.append(&Schema::table(table));
    m_page->setPaperSize(TPaperSize::psA4);
    m_page->setOrientation(TPrinterOrientation::poLandscape);
    m_page->setMarginTop(fromMillimetres(m_def.marginTop));
    m_page->setMarginLeft(fromMillimetres(m_def.marginLeft));
    m_page->setMarginRight(fromMillimetres(m_def.marginRight));
    m_page->setMarginBottom(fromMillimetres(m_def.marginBottom));
    m_page->setTitle(m_def.title);
    m_panel->setObjectName(QStringLiteral("BandPanel"));
    m_panel->setLRAlign(TLRAlign::laClient);
    m_panel->BeforePrint = [this](TLRLayoutPanel *, const QRect &, TLRLayoutPanel::PrintStatus &) {
        fillPage(m_pagesSet->position());
    };
    m_panel->AfterPrint = [this](TLRLayoutPanel *) { m_pagesSet->next(); };
}

BandedReport::~BandedReport() = default;

TLightRep &BandedReport::page()
{
    return *m_page;
}

LRDataSet *BandedReport::master()
{
    return m_pagesSet;
}

void BandedReport::open()
{
    QSqlQuery query = m_dm.prepare(m_dm.dialect().withSqliteNullOrder(m_statement.text()));
    for (auto it = m_statement.params.cbegin(); it != m_statement.params.cend(); ++it)
        query.bindValue(u':' + it.key(), it.value());
    m_rows = ReportRows::read(query, m_tables, usedColumns(m_def));
    m_printed = m_clock();
    m_pages = BandLayout::paginate(m_def, m_rows.size(), [this](int row, const QString &column) {
        return m_rows.text(row, column);
    });
}

QString BandedReport::fieldText(const Field &field, int row, int count, int pageNumber) const
{
    switch (field.kind) {
    case Field::Kind::Text:
        return field.text;
    case Field::Kind::Column:
        return row >= 0 ? m_rows.text(row, field.text) : QString();
    case Field::Kind::Parameter:
        return ReportRows::displayText(m_statement.params.value(field.text));
    case Field::Kind::DateTime:
        return DateText::ymdHnNoPad(m_printed);
    case Field::Kind::PageNumber:
        return QString::number(pageNumber);
    case Field::Kind::Count:
        return QString::number(count);
    case Field::Kind::Line:
        break;
    }
    return QString();
}

void BandedReport::fillPage(int index)
{
    // The items of the page before go; the panel draws what is placed here.
    qDeleteAll(m_panel->findChildren<TLRComponent *>(Qt::FindDirectChildrenOnly));
    if (index < 0 || index >= m_pages.size())
        return;
    const double bandWidth = m_def.bandWidth();
    for (const BandLayout::PlacedBand &placed : m_pages[index].bands) {
        const Banded::Band &band = m_def.band(placed.kind, placed.group);
        for (const Field &field : band.fields) {
            auto *item = new TLRItem(m_panel);
            const int left = fromMillimetres(field.x);
            const int top = fromMillimetres(placed.top + field.y);
            const int width = fieldWidth(band, field, bandWidth);
            if (field.kind == Field::Kind::Line) {
                // The top line of a box is drawn one unit above and left of
                // it.
                item->setBounds(left + 1, top + 1, width, 1);
                item->setLines(TLineStyle::lsSingle, TLineStyle::lsNone, TLineStyle::lsNone,
                               TLineStyle::lsNone);
                continue;
            }
            const QFont font = unitFont(field.font);
            const int bottom = fromMillimetres(placed.top + band.height);
            const int height = qMax(bottom - top, font.pixelSize() * 3 / 2);
            if (field.alignment == TAlignment::taRightJustify) {
                // Right-aligned text ends at the box's right edge and grows
                // to the left as far as it needs.
                item->setBounds(0, top, left + width, height);
            } else {
                item->setBounds(left, top, width, height);
            }
            item->setFont(font);
            item->setAlignment(field.alignment);
            item->setHMargin(0);
            item->setVMargin(0);
            item->setText(fieldText(field, placed.row, placed.count, index + 1));
        }
    }
}
