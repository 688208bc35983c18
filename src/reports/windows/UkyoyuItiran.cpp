#include "UkyoyuItiran.h"

#include "UkyoyuItiranQR.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TFkyoyuItiran::TFkyoyuItiran(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FkyoyuItiran"), paths, parent),
      CheckBox1(new QCheckBox(QStringLiteral("プリンタ共有も印刷する"), contentArea())),
      PreviewBTN(new QPushButton(QStringLiteral("プレビュー"), contentArea())),
      CloseBTN(new QPushButton(QStringLiteral("閉じる"), contentArea())), m_dm(dm)
{
    setWindowTitle(QStringLiteral("共有一覧"));
    setResizable(false);
    CheckBox1->setObjectName(QStringLiteral("CheckBox1"));
    PreviewBTN->setObjectName(QStringLiteral("PreviewBTN"));
    PreviewBTN->setAutoDefault(false);
    CloseBTN->setObjectName(QStringLiteral("CloseBTN"));
    CloseBTN->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(PreviewBTN);
    buttons->addWidget(CloseBTN);
    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(16, 16, 16, 12);
    layout->addWidget(CheckBox1);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    resize(320, 120);

    connect(PreviewBTN, &QPushButton::clicked, this, &TFkyoyuItiran::PreviewBTNClick);
    connect(CloseBTN, &QPushButton::clicked, this, &QDialog::reject);
}

void TFkyoyuItiran::PreviewBTNClick()
{
    TQRkyoyuItiran window(m_dm, CheckBox1->isChecked(), this);
    window.exec();
}
