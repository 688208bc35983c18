#pragma once

#include <QDialog>

// The small window shown while a report prints: "Now Printing...", always
// on top, centred on the screen, without border icons, with the hourglass
// cursor while it is open. It deletes itself when closed.
class TPrintMsg : public QDialog
{
    Q_OBJECT

public:
    explicit TPrintMsg(QWidget *parent = nullptr);
    ~TPrintMsg() override;

protected:
    void showEvent(QShowEvent *event) override;

private:
    bool m_cursorSet = false;
};
