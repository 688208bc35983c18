#include "ModeLabel.h"

#include <QLabel>

namespace ModeLabel {

QLabel *create()
{
    auto *label = new QLabel;
    label->setObjectName(QStringLiteral("ModeLBL"));
    label->setAlignment(Qt::AlignCenter);
    label->setMinimumWidth(48);
    label->setAutoFillBackground(true);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

void show(QLabel *label, RowBuffer::State state)
{
    QString text;
    QColor back, fore;
    switch (state) {
    case RowBuffer::State::Insert:
        text = QStringLiteral("追加");
        back = Qt::blue;
        fore = Qt::white;
        break;
    case RowBuffer::State::Edit:
        text = QStringLiteral("修正");
        back = Qt::yellow;
        fore = Qt::black;
        break;
    default:
        text = QStringLiteral("？？");
        back = Qt::red;
        fore = Qt::white;
        break;
    }
    label->setText(text);
    QPalette palette = label->palette();
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::WindowText, fore);
    label->setPalette(palette);
}

} // namespace ModeLabel
