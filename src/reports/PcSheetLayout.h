#pragma once

#include <QString>
#include <QVector>

class LRDataSet;
class TLightRep;
class TLRItem;
class TLRLayoutPanel;
class TLRVariableText;

// The form of the PC management sheet on an A4 page: one layout panel
// holding the top block, the grid of the PC's fields with its network
// block, and the free-text area. Positions and sizes are in layout units
// from the panel's top-left corner.
class PcSheetLayout
{
public:
    // What a value box shows.
    enum class Content {
        Field, // the master's field as stored, set for each page
        Bound, // the master's field, following the master by itself
        Date, // a date field as "yyyy/m/d"
        Memory, // Mem_All as "#,#", a blank and Mem_All_Tani
        Clock, // CPU_Clock as "#,#", a blank and CPU_Clock_Tani
    };

    struct Value
    {
        Content content;
        QString field;
        TLRItem *item;
    };

    // Sets up the page (A4 portrait, margins, title) and places the items;
    // bound items follow master.
    PcSheetLayout(TLightRep &page, LRDataSet &master);

    TLRLayoutPanel *panel() const { return m_panel; }
    TLRItem *dateItem() const { return m_date; }
    TLRItem *keyItem() const { return m_key; }
    // "n/m" on the sheets of a PC that takes several, at the top left.
    TLRItem *sheetOfPcItem() const { return m_sheetOfPc; }
    TLRVariableText *freeText() const { return m_freeText; }
    // The value boxes other than the date and the key.
    const QVector<Value> &values() const { return m_values; }

    // The grid's width; boxes that end there have a double line at the right.
    static constexpr int GridWidth = 657;

private:
    void placeTopBlock(LRDataSet &master);
    void placeGrid(LRDataSet &master);
    void placeFreeText();

    TLRLayoutPanel *m_panel = nullptr;
    TLRItem *m_date = nullptr;
    TLRItem *m_key = nullptr;
    TLRItem *m_sheetOfPc = nullptr;
    TLRVariableText *m_freeText = nullptr;
    QVector<Value> m_values;
};
