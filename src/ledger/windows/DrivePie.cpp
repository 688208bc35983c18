#include "DrivePie.h"

#include <QPainter>

DrivePie::DrivePie(QWidget *parent) : QWidget(parent)
{
    setMinimumSize(60, 60);
}

void DrivePie::setSpace(qint64 free, qint64 used)
{
    m_free = free;
    m_used = used;
    update();
}

void DrivePie::setBackground(const QColor &color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

void DrivePie::paint(QPainter &painter, const QRectF &rect, qint64 free, qint64 used)
{
    free = qMax<qint64>(free, 0);
    used = qMax<qint64>(used, 0);
    if (free + used <= 0)
        return;
    const qreal side = qMin(rect.width(), rect.height()) - 4;
    const QRectF pie(rect.center().x() - side / 2, rect.center().y() - side / 2, side, side);
    const double total = double(free) + double(used);
    const int freeSpan = qRound(free / total * 360 * 16);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::black, 0.5));
    if (free > 0) {
        painter.setBrush(Qt::magenta);
        painter.drawPie(pie, 180 * 16, freeSpan);
    }
    if (used > 0) {
        painter.setBrush(Qt::blue);
        painter.drawPie(pie, 180 * 16 + freeSpan, 360 * 16 - freeSpan);
    }
    painter.restore();
}

void DrivePie::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paint(painter, rect(), m_free, m_used);
}
