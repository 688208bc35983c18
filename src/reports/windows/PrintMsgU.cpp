#include "PrintMsgU.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

TPrintMsg::TPrintMsg(QWidget *parent)
    : QDialog(parent,
              Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(QStringLiteral("PrintMsg"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Now Printing..."));
    auto *text
        = new QLabel(QStringLiteral("ただいま印刷中です。\nしばらくお待ち下さい．．．"), this);
    text->setAlignment(Qt::AlignCenter);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(32, 20, 32, 20);
    layout->addWidget(text);
}

TPrintMsg::~TPrintMsg()
{
    if (m_cursorSet)
        QGuiApplication::restoreOverrideCursor();
}

void TPrintMsg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_cursorSet) {
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
        m_cursorSet = true;
    }
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}
