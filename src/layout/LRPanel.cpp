#include "LRPanel.h"

#include "LRItem.h"
#include "LayoutError.h"
#include "LightRep.h"
#include "ReportFont.h"

namespace {

QObject *layoutPanelParent(QObject *parent)
{
    if (!qobject_cast<TLightRep *>(parent) && !qobject_cast<TLRLayoutPanel *>(parent))
        throw LayoutError(QStringLiteral("TLightRep上かTLRLayoutPanelにのみ配置できます．"));
    return parent;
}

} // namespace

TCustomLRPanel::TCustomLRPanel(QObject *parent)
    : TLRComponent(parent), m_font(ReportFont::gothic(12))
{ }

TLightRep *TCustomLRPanel::LightRep() const
{
    for (QObject *p = parent(); p; p = p->parent()) {
        if (auto *page = qobject_cast<TLightRep *>(p))
            return page;
    }
    return nullptr;
}

QFont TCustomLRPanel::Font() const
{
    if (m_parentFont) {
        if (auto *panel = qobject_cast<TCustomLRPanel *>(parent()))
            return panel->Font();
    }
    return m_font;
}

void TCustomLRPanel::setFont(const QFont &font)
{
    m_font = font;
    m_parentFont = false;
}

void TCustomLRPanel::draw(PageDrawing &, const QRect &) { }

TLRLayoutPanel::TLRLayoutPanel(QObject *parent) : TCustomLRPanel(layoutPanelParent(parent)) { }

void TLRLayoutPanel::draw(PageDrawing &drawing, const QRect &rect)
{
    PrintStatus status = PrintStatus::Normal;
    if (BeforePrint)
        BeforePrint(this, rect, status);
    if (status == PrintStatus::Skip)
        return;

    QVector<TLRComponent *> children;
    for (QObject *child : this->children()) {
        if (auto *c = qobject_cast<TLRComponent *>(child))
            children.append(c);
    }
    const QVector<QRect> rects = LRAlignment::arrange(rect.topLeft(), rect, children);
    for (int i = 0; i < children.size(); ++i) {
        if (!children[i]->isEnabled())
            continue;
        if (auto *item = qobject_cast<TCustomLRItem *>(children[i]))
            item->record(drawing, rects[i], false);
        else if (auto *panel = qobject_cast<TCustomLRPanel *>(children[i]))
            panel->draw(drawing, rects[i]);
    }

    if (AfterPrint)
        AfterPrint(this);
}
