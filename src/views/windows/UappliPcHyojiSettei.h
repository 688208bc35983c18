#pragma once

#include "UhyojiJyun.h"

// "表示設定" of the applications view's PC grid: which columns it shows,
// three sort keys with their directions and the grid's font size. The
// dialog edits a copy; the caller takes values() after OK (hideRemoved is
// not used here).
class TFappliPcHyojiSeetei : public TForm1
{
    Q_OBJECT

public:
    TFappliPcHyojiSeetei(const HyojiJyunValues &current, const ProgramPaths &paths,
                         QWidget *parent = nullptr);

    HyojiJyunValues values() const;

private:
    void OkBTNClick();

    HyojiJyunValues m_current;
    QListWidget *m_columnsLB;
    QComboBox *m_keyCombo[3];
    QRadioButton *m_ascRB[3];
    QRadioButton *m_descRB[3];
    QComboBox *m_fontSizeCombo;
};
