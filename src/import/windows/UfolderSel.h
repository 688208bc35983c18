#pragma once

#include "kit/Unit1.h"

class QLineEdit;
class QPushButton;

// "フォルダー選択": lets the user confirm the folder that holds the
// collector's CSV files. The main window creates it at the first import and
// keeps it; each import fills the edit box before showing it.
class TFfolderSel : public TForm1
{
    Q_OBJECT

public:
    explicit TFfolderSel(const ProgramPaths &paths, QWidget *parent = nullptr);

    QString folder() const;
    void setFolder(const QString &folder);

    // The title of the folder browser that "参照 ..." opens.
    static QString browseTitle();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void RefBTNClick();
    void OkBTNClick();
    void centreOnDesktop();

    QLineEdit *m_folderEDT;
    QPushButton *m_refBTN;
    QPushButton *m_okBTN;
    QPushButton *m_cancelBTN;
};
