#pragma once

#include "kit/Unit1.h"

class AppliCorrection;
class QRadioButton;
class TDBGridEx;
class TDMdata;

// "アプリ情報": the application rows without an input kind, corrected in
// the grid or all at once. The corrections are written as one at OK and
// dropped at Cancel; the window closes only through those two.
class TFappliUpd : public TForm1
{
    Q_OBJECT

public:
    TFappliUpd(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);

    AppliCorrection &correction() const { return *m_correction; }
    // Refuses any close but OK and Cancel (a beep and a message).
    void done(int result) override;

private:
    void JikkoBTNClick();
    void CopyBTNClick();
    void OkBTNClick();
    void CanBTNClick();

    AppliCorrection *m_correction;
    TDBGridEx *m_grid;
    QRadioButton *m_invaroRB;
    QRadioButton *m_manualRB;
    QRadioButton *m_noneRB;
    bool m_closing = false;
};
