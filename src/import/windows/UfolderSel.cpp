#include "UfolderSel.h"

#include "kit/MessageBoxes.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QVBoxLayout>

TFfolderSel::TFfolderSel(const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FfolderSel"), paths, parent),
      m_folderEDT(new QLineEdit(contentArea())),
      m_refBTN(new QPushButton(QStringLiteral("参照 ..."), contentArea())),
      m_kakuninBTN(new QPushButton(QStringLiteral("確認..."), contentArea())),
      m_okBTN(new QPushButton(QStringLiteral("OK"), contentArea())),
      m_cancelBTN(new QPushButton(QStringLiteral("キャンセル"), contentArea()))
{
    setWindowTitle(QStringLiteral("フォルダー選択"));
    setResizable(false);
    resize(460, 130);

    auto *label = new QLabel(QStringLiteral("フォルダ"), contentArea());
    label->setObjectName(QStringLiteral("FolderLBL"));
    label->setBuddy(m_folderEDT);
    m_folderEDT->setObjectName(QStringLiteral("FolderEDT"));
    m_refBTN->setObjectName(QStringLiteral("RefBTN"));
    m_refBTN->setAutoDefault(false);
    m_kakuninBTN->setObjectName(QStringLiteral("KakuninBTN"));
    m_kakuninBTN->setAutoDefault(false);
    m_kakuninBTN->setToolTip(
        QStringLiteral("読み込んだときの変更内容を表示します（書き込みません）"));
    m_kakuninBTN->setVisible(false);
    m_okBTN->setObjectName(QStringLiteral("OkBTN"));
    m_okBTN->setDefault(true);
    m_cancelBTN->setObjectName(QStringLiteral("CancelBTN"));
    m_cancelBTN->setAutoDefault(false);

    auto *folderRow = new QHBoxLayout;
    folderRow->addWidget(label);
    folderRow->addWidget(m_folderEDT, 1);
    folderRow->addWidget(m_refBTN);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_kakuninBTN);
    buttons->addStretch();
    buttons->addWidget(m_okBTN);
    buttons->addWidget(m_cancelBTN);

    auto *layout = new QVBoxLayout(contentArea());
    layout->addLayout(folderRow);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_refBTN, &QPushButton::clicked, this, &TFfolderSel::RefBTNClick);
    connect(m_kakuninBTN, &QPushButton::clicked, this, &TFfolderSel::KakuninBTNClick);
    connect(m_okBTN, &QPushButton::clicked, this, &TFfolderSel::OkBTNClick);
    connect(m_cancelBTN, &QPushButton::clicked, this, &QDialog::reject);
}

QString TFfolderSel::folder() const
{
    return m_folderEDT->text();
}

void TFfolderSel::setFolder(const QString &folder)
{
    m_folderEDT->setText(folder);
}

QString TFfolderSel::browseTitle()
{
    return QStringLiteral("Invaroデータが保存されているフォルダを指定してください");
}

void TFfolderSel::showEvent(QShowEvent *event)
{
    TForm1::showEvent(event);
    // The window is kept between imports; it opens in the middle of the
    // desktop every time, whatever placement was saved.
    centreOnDesktop();
    m_okBTN->setDefault(true);
    m_folderEDT->setFocus();
}

void TFfolderSel::centreOnDesktop()
{
    const QScreen *screen = this->screen();
    if (!screen)
        return;
    QRect frame = frameGeometry();
    frame.moveCenter(screen->virtualGeometry().center());
    move(frame.topLeft());
}

void TFfolderSel::RefBTNClick()
{
    // The browser starts at the folder in the edit box, or at the desktop
    // when that is not a folder.
    QString start = m_folderEDT->text();
    if (start.isEmpty() || !QFileInfo(start).isDir())
        start = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    const QString chosen = QFileDialog::getExistingDirectory(this, browseTitle(), start);
    if (!chosen.isEmpty())
        m_folderEDT->setText(QDir::toNativeSeparators(chosen));
}

void TFfolderSel::setPreviewHandler(PreviewHandler handler)
{
    m_previewHandler = std::move(handler);
    m_kakuninBTN->setVisible(bool(m_previewHandler));
}

bool TFfolderSel::folderExists()
{
    const QString text = m_folderEDT->text();
    if (text.isEmpty() || !QFileInfo(text).isDir()) {
        MessageBoxes::error(this, QStringLiteral("フォルダーが存在しません"));
        m_folderEDT->setFocus();
        return false;
    }
    return true;
}

void TFfolderSel::OkBTNClick()
{
    if (folderExists())
        accept();
}

void TFfolderSel::KakuninBTNClick()
{
    if (m_previewHandler && folderExists())
        m_previewHandler(m_folderEDT->text());
}
