#pragma once

#include "kit/Unit1.h"

#include <functional>

class QLineEdit;
class QPushButton;

// "フォルダー選択": lets the user confirm the folder that holds the
// collector's CSV files. The main window creates it at the first import and
// keeps it; each import fills the edit box before showing it. "確認..."
// shows what importing the folder would change (the preview handler the
// import gives), without closing the window.
class TFfolderSel : public TForm1
{
    Q_OBJECT

public:
    explicit TFfolderSel(const ProgramPaths &paths, QWidget *parent = nullptr);

    QString folder() const;
    void setFolder(const QString &folder);

    // The title of the folder browser that "参照 ..." opens.
    static QString browseTitle();

    // What "確認..." runs with the folder in the edit box.
    using PreviewHandler = std::function<void(const QString &folder)>;
    // The button shows once there is one.
    void setPreviewHandler(PreviewHandler handler);

protected:
    void showEvent(QShowEvent *event) override;

private:
    void RefBTNClick();
    void OkBTNClick();
    void KakuninBTNClick();
    // The folder in the edit box exists; else the user is told so.
    bool folderExists();
    void centreOnDesktop();

    QLineEdit *m_folderEDT;
    QPushButton *m_refBTN;
    QPushButton *m_kakuninBTN;
    QPushButton *m_okBTN;
    QPushButton *m_cancelBTN;
    PreviewHandler m_previewHandler;
};
