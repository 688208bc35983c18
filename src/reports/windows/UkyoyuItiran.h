#pragma once

#include "kit/Unit1.h"

class QCheckBox;
class QPushButton;
class TDMdata;

// "共有一覧": the options of the shared-folder list. "プレビュー" shows the
// list modally and comes back here; "閉じる" closes the window.
class TFkyoyuItiran : public TForm1
{
    Q_OBJECT

public:
    TFkyoyuItiran(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);

    QCheckBox *CheckBox1; // "プリンタ共有も印刷する"
    QPushButton *PreviewBTN;
    QPushButton *CloseBTN;

private:
    void PreviewBTNClick();

    TDMdata &m_dm;
};
