#include "PcSheetLayout.h"

#include "layout/LRDBSpl.h"
#include "layout/LRPanel.h"
#include "layout/LightRep.h"
#include "layout/LightRepEx2.h"
#include "layout/ReportFont.h"

namespace {

using Content = PcSheetLayout::Content;
using L = TLineStyle;

constexpr int RowHeight = 17;
constexpr int GridFont = 13;

// One box of a grid row: a label (text) or a value (content and field).
struct Cell
{
    int x;
    int width;
    bool label;
    const char16_t *text; // the label, or the field of a value
    TAlignment alignment;
    Content content = Content::Field;
};

constexpr TAlignment Left = TAlignment::taLeftJustify;
constexpr TAlignment Right = TAlignment::taRightJustify;
constexpr TAlignment Centre = TAlignment::taCenter;

// The six columns: left edges and widths.
constexpr int X1 = 0, W1 = 97, X2 = 96, W2 = 129, X3 = 224, W3 = 89, X4 = 312, W4 = 129, X5 = 440,
              W5 = 81, X6 = 520, W6 = 137;

constexpr Cell label(int x, int width, const char16_t *text, TAlignment alignment = Centre)
{
    return {x, width, true, text, alignment};
}

constexpr Cell value(int x, int width, const char16_t *field, TAlignment alignment = Left,
                     Content content = Content::Field)
{
    return {x, width, false, field, alignment, content};
}

struct Row
{
    int y;
    QVector<Cell> cells;
};

// A section: its title row and its rows; the last row closes the section
// with a single line at its bottom.
struct Section
{
    int titleY;
    const char16_t *title;
    TLineStyle titleTop;
    QVector<Row> rows;
};

const QVector<Section> &sections()
{
    static const QVector<Section> all {
        {64,
         u"パソコン情報",
         L::lsDouble,
         {
             {80,
              {label(X1, W1, u"メーカ名"), value(X2, W2, u"Maker"), label(X3, W3, u"機種名"),
               value(X4, W4, u"Kisyu"), label(X5, W5, u"型　番"), value(X6, W6, u"Kataban")}},
             {96,
              {label(X1, W1, u"シリアル№"), value(X2, W2, u"SerialNo"), label(X3, W3, u"導入日"),
               value(X4, W4, u"DonyuYMD", Centre, Content::Date), label(X5, W5, u"撤去日"),
               value(X6, W6, u"TekkyoYMD", Centre, Content::Date)}},
             {112,
              {label(X1, W1, u"部"), value(X2, W2, u"Bu"), label(X3, W3, u"課"),
               value(X4, W4, u"Ka"), label(X5, W5, u"利用者"), value(X6, W6, u"Riyosya")}},
             {128,
              {label(X1, W1, u"用途"), value(X2, W2, u"Yoto"), label(X3, W3, u"資産区分"),
               value(X4, W4, u"SisanKBN"), label(X5, W5, u"購入先"), value(X6, W6, u"Konyusaki")}},
             {144,
              {label(X1, W1, u"リース会社"), value(X2, W2, u"Lease"), label(X3, W3, u"ﾘｰｽ契約№"),
               value(X4, W4, u"Lease_No"), label(X5, W5, u"画面"),
               value(X6, W6, u"Display", Centre)}},
             {160,
              {label(X1, W1, u"保守会社"), value(X2, W2, u"Hosyu_Kaisya", Left, Content::Bound),
               label(X3, W3, u"保守契約№"), value(X4, W4, u"Hosyu_No", Left, Content::Bound),
               label(X5, W5, u"メモリ"), value(X6, W6, u"Mem_All", Right, Content::Memory)}},
             {176,
              {label(X1, W1, u"CPU"), value(X2, 345, u"CPU_Name"), label(X5, W5, u"クロック"),
               value(X6, W6, u"CPU_Clock", Right, Content::Clock)}},
             {192,
              {label(X1, W1, u"OSﾌﾟﾛﾀﾞｸﾄID"),
               value(X2, 217, u"Win_ProductID", Left, Content::Bound),
               label(X4, 105, u"OSﾌﾟﾛﾀﾞｸﾄｷｰ"), value(416, 241, u"OS_Product")}},
             {208, {label(X1, W1, u"OSバージョン"), value(X2, 561, u"Win_Ver")}},
             {224,
              {label(X1, W1, u"IEバージョン", Left), value(X2, 217, u"IE_Ver"),
               label(X4, 105, u"設置場所"), value(416, 241, u"SettiBasyo", Left, Content::Bound)}},
             {240, {label(X1, W1, u"IE更新ﾊﾞｰｼﾞｮﾝ", Left), value(X2, 561, u"IE_Update_Ver")}},
         }},
        {256,
         u"ネットワーク情報",
         L::lsNone,
         {
             {272,
              {label(X1, W1, u"ユーザID"), value(X2, W2, u"User", Centre),
               label(X3, W3, u"ｺﾝﾋﾟｭｰﾀ名"), value(X4, W4, u"PC_Name", Centre),
               label(X5, W5, u"ﾎｽﾄ名"), value(X6, W6, u"Host", Centre)}},
             {288,
              {label(X1, W1, u"ﾄﾞﾒｲﾝ"), value(X2, W2, u"Domain", Centre),
               label(X3, W3, u"ﾜｰｸｸﾞﾙｰﾌﾟ"), value(X4, W4, u"WorkGroup", Centre, Content::Bound),
               label(X5, 217, u"")}},
             {304,
              {label(X1, 169, u"ｺﾝﾋﾟｭｰﾀの説明"),
               value(168, 489, u"CompSetumei", Left, Content::Bound)}},
             {320,
              {label(X1, W1, u"IPｱﾄﾞﾚｽ"), value(X2, W2, u"IP", Centre), label(X3, W3, u"ｻﾌﾞﾈｯﾄﾏｽｸ"),
               value(X4, W4, u"SubNet", Centre, Content::Bound), label(X5, W5, u"ｹﾞｰﾄｳｪｲ"),
               value(X6, W6, u"GateWay", Centre, Content::Bound)}},
             {336,
              {label(X1, W1, u"DHCPサーバ"), value(X2, W2, u"DHCP", Centre, Content::Bound),
               label(X3, W3, u"ﾌﾟﾗｲﾏﾘDNS"), value(X4, W4, u"DNS1", Centre, Content::Bound),
               label(X5, W5, u"ｾｶﾝﾀﾞﾘDNS"), value(X6, W6, u"DNS2", Centre, Content::Bound)}},
             {352,
              {label(X1, W1, u""), label(X2, W2, u""), label(X3, W3, u"ﾌﾟﾗｲﾏﾘWINS"),
               value(X4, W4, u"WINS1", Centre, Content::Bound), label(X5, W5, u"ｾｶﾝﾀﾞﾘWINS"),
               value(X6, W6, u"WINS2", Centre, Content::Bound)}},
             {368,
              {label(X1, W1, u"MACｱﾄﾞﾚｽ"), value(X2, W2, u"Mac", Centre),
               label(X3, W3, u"ｱﾀﾞﾌﾟﾀ名"), value(X4, 345, u"LAN_Adapter", Centre, Content::Bound)}},
         }},
    };
    return all;
}

TLRItem *box(TLRLayoutPanel *panel, int x, int y, int width, int height, int fontSize,
             TAlignment alignment, bool bold = false)
{
    auto *item = new TLRItem(panel);
    item->setBounds(x, y, width, height);
    item->setFont(ReportFont::gothic(fontSize, bold));
    item->setAlignment(alignment);
    item->setShrinkToFit(true);
    return item;
}

} // namespace

PcSheetLayout::PcSheetLayout(TLightRep &page, LRDataSet &master)
{
    page.setPaperSize(TPaperSize::psA4);
    page.setOrientation(TPrinterOrientation::poPortrait);
    page.setMarginTop(74);
    page.setMarginLeft(93);
    page.setMarginRight(34);
    page.setMarginBottom(74);
    page.setTitle(QStringLiteral("パソコン管理シート"));

    m_panel = new TLRLayoutPanel(&page);
    m_panel->setObjectName(QStringLiteral("LRLayoutPanel1"));
    m_panel->setLRAlign(TLRAlign::laClient);
    m_panel->setFont(ReportFont::gothic(12));

    placeTopBlock(master);
    placeGrid(master);
    placeFreeText();
}

void PcSheetLayout::placeTopBlock(LRDataSet &master)
{
    m_date = box(m_panel, 528, 0, 137, 17, 13, Right);
    // The corner left of the title is free.
    m_sheetOfPc = box(m_panel, 0, 0, 97, 17, 11, Left);
    box(m_panel, 208, 16, 249, 33, 24, Left, true)->setText(QStringLiteral("パソコン管理シート"));
    box(m_panel, 528, 24, 49, 17, 13, Centre)->setText(QStringLiteral("管理№"));
    const auto bound = [&](int x, int y, const QString &field) {
        auto *item = new TLRDBItem(m_panel);
        item->setBounds(x, y, 81, 17);
        item->setFont(ReportFont::gothic(13));
        item->setAlignment(Right);
        item->setShrinkToFit(true);
        item->setDataSource(&master);
        item->setDataField(field);
        m_values.append({Content::Bound, field, item});
    };
    bound(576, 24, QStringLiteral("KanriNo"));
    m_key = box(m_panel, 0, 40, 289, 25, 16, Left, true);
    box(m_panel, 528, 40, 49, 17, 13, Centre)->setText(QStringLiteral("管理CD"));
    bound(576, 40, QStringLiteral("KanriCD"));
}

void PcSheetLayout::placeGrid(LRDataSet &master)
{
    for (const Section &section : sections()) {
        TLRItem *title = box(m_panel, 0, section.titleY, GridWidth, RowHeight, GridFont, Left);
        title->setText(QString::fromUtf16(section.title));
        title->setLines(section.titleTop, L::lsDouble, L::lsDouble, L::lsSingle);

        for (int r = 0; r < section.rows.size(); ++r) {
            const Row &row = section.rows[r];
            const bool last = r + 1 == section.rows.size();
            for (const Cell &cell : row.cells) {
                const QString text = QString::fromUtf16(cell.text);
                TLRItem *item = nullptr;
                if (cell.content == Content::Bound && !cell.label) {
                    auto *bound = new TLRDBItem(m_panel);
                    bound->setDataSource(&master);
                    bound->setDataField(text);
                    item = bound;
                } else {
                    item = new TLRItem(m_panel);
                }
                item->setBounds(cell.x, row.y, cell.width, RowHeight);
                item->setFont(ReportFont::gothic(GridFont));
                item->setAlignment(cell.alignment);
                item->setShrinkToFit(true);
                item->setLines(L::lsNone, cell.x == 0 ? L::lsDouble : L::lsNone,
                               cell.x + cell.width == GridWidth ? L::lsDouble : L::lsHalf,
                               last ? L::lsSingle : L::lsHalf);
                if (cell.label) {
                    item->setText(text);
                } else {
                    item->setObjectName(text);
                    m_values.append({cell.content, text, item});
                }
            }
        }
    }
}

void PcSheetLayout::placeFreeText()
{
    auto *frame = new TLRItem(m_panel);
    frame->setBounds(0, 384, GridWidth, 613);
    frame->setLines(L::lsNone, L::lsDouble, L::lsDouble, L::lsDouble);

    m_freeText = new TLRVariableText(m_panel);
    m_freeText->setObjectName(QStringLiteral("FreeText"));
    m_freeText->setBounds(8, 386, 641, 609);
    m_freeText->setWordWrap(true);
    m_freeText->setCharSpace(0);
    m_freeText->setLeading(0);
    m_freeText->setWordSpace(5);
}
