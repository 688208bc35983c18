#pragma once

#include <QWidget>

class QPushButton;

// Tab "帳票印刷": the report buttons.
class ReportsPage : public QWidget
{
    Q_OBJECT

public:
    explicit ReportsPage(QWidget *parent = nullptr);

    QPushButton *pcSheetButton() const { return m_pcSheetBTN; }
    QPushButton *buKaButton() const { return m_buKaBTN; }
    QPushButton *kyoyuButton() const { return m_kyoyuBTN; }

private:
    QPushButton *m_pcSheetBTN;
    QPushButton *m_buKaBTN;
    QPushButton *m_kyoyuBTN;
};
