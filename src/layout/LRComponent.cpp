#include "LRComponent.h"

namespace LRAlignment {

QVector<QRect> arrange(const QPoint &origin, const QRect &area,
                       const QVector<TLRComponent *> &children)
{
    QVector<QRect> rects(children.size());
    QRect rest = area;
    const auto place = [&](TLRAlign which) {
        for (int i = 0; i < children.size(); ++i) {
            const TLRComponent *c = children[i];
            if (c->align() != which)
                continue;
            const QRect b = c->bounds();
            QRect r;
            switch (which) {
            case TLRAlign::laTop:
                r = QRect(rest.left(), rest.top(), rest.width(), b.height());
                rest.setTop(rest.top() + b.height());
                break;
            case TLRAlign::laBottom:
                r = QRect(rest.left(), rest.bottom() + 1 - b.height(), rest.width(), b.height());
                rest.setBottom(rest.bottom() - b.height());
                break;
            case TLRAlign::laLeft:
                r = QRect(rest.left(), rest.top(), b.width(), rest.height());
                rest.setLeft(rest.left() + b.width());
                break;
            case TLRAlign::laRight:
                r = QRect(rest.right() + 1 - b.width(), rest.top(), b.width(), rest.height());
                rest.setRight(rest.right() - b.width());
                break;
            case TLRAlign::laClient:
                r = rest;
                break;
            case TLRAlign::laNone:
                r = b.translated(origin);
                break;
            }
            rects[i] = r;
        }
    };
    for (TLRAlign which : {TLRAlign::laTop, TLRAlign::laBottom, TLRAlign::laLeft, TLRAlign::laRight,
                           TLRAlign::laClient, TLRAlign::laNone})
        place(which);
    return rects;
}

} // namespace LRAlignment
