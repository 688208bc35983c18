#pragma once

#include <QWidget>

// The small pie of a drive's space: the free part in magenta, then the
// used part in blue, starting at 180 degrees; no labels, no legend. The
// callers decide when it has slices (the dialog: both parts above zero; the
// drive panels: total and free space above zero).
class DrivePie : public QWidget
{
    Q_OBJECT

public:
    explicit DrivePie(QWidget *parent = nullptr);

    // The two slices; clear() for none.
    void setSpace(qint64 free, qint64 used);
    void clear() { setSpace(0, 0); }
    bool isEmpty() const { return m_free <= 0 && m_used <= 0; }
    void setBackground(const QColor &color);

    // Paints a pie into the rectangle (also used by the drive panels).
    static void paint(QPainter &painter, const QRectF &rect, qint64 free, qint64 used);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    qint64 m_free = 0;
    qint64 m_used = 0;
};
