#include "UappliUpd.h"

#include "kit/KeepTextDelegate.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "store/StoreError.h"
#include "views/AppliCorrection.h"

#include <QApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

TFappliUpd::TFappliUpd(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FappliUpd"), paths, parent),
      m_correction(new AppliCorrection(dm, this)), m_grid(new TDBGridEx),
      m_invaroRB(new QRadioButton(QStringLiteral("Invaro"))),
      m_manualRB(new QRadioButton(QStringLiteral("手入力"))),
      m_noneRB(new QRadioButton(QStringLiteral("何もしない")))
{
    setWindowTitle(QStringLiteral("アプリ情報"));
    resize(560, 480);

    auto *title = new QLabel(QStringLiteral("入力方法が不明のアプリ情報"));
    QFont bold = title->font();
    bold.setBold(true);
    title->setFont(bold);

    auto *group = new QGroupBox(QStringLiteral("一括修正"));
    m_invaroRB->setObjectName(QStringLiteral("InvaroRB"));
    m_manualRB->setObjectName(QStringLiteral("TenyuryokuRB"));
    m_noneRB->setObjectName(QStringLiteral("NasiRB"));
    m_noneRB->setChecked(true);
    auto *jikkoBTN = new QPushButton(QStringLiteral("実 行"));
    jikkoBTN->setObjectName(QStringLiteral("JikkoBTN"));
    auto *groupRow = new QHBoxLayout(group);
    groupRow->addWidget(m_invaroRB);
    groupRow->addWidget(m_manualRB);
    groupRow->addWidget(m_noneRB);
    groupRow->addStretch();
    groupRow->addWidget(jikkoBTN);

    auto *copyBTN = new QPushButton(QStringLiteral("コピー"));
    copyBTN->setObjectName(QStringLiteral("CopyBTN"));
    copyBTN->setToolTip(QStringLiteral("ｸﾘｯﾌﾟﾎﾞｰﾄﾞにｺﾋﾟｰ"));
    auto *noteRow = new QHBoxLayout;
    noteRow->addWidget(
        new QLabel(QStringLiteral("下の表中の入力区分を直接修正することができます")));
    noteRow->addStretch();
    noteRow->addWidget(copyBTN);

    m_grid->setObjectName(QStringLiteral("DBGrid1"));
    m_grid->setModel(m_correction);
    // The input kind is typed in the grid; Key and application are read-only.
    m_grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                            | QAbstractItemView::AnyKeyPressed);
    m_grid->setItemDelegate(new KeepTextDelegate(m_grid));
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->setColumnWidth(0, 140);
    m_grid->setColumnWidth(1, 260);

    auto *okBTN = new QPushButton(QStringLiteral("Ｏ　Ｋ"));
    okBTN->setObjectName(QStringLiteral("OkBTN"));
    auto *canBTN = new QPushButton(QStringLiteral("キャンセル"));
    canBTN->setObjectName(QStringLiteral("CanBTN"));
    for (QPushButton *b : {jikkoBTN, copyBTN, okBTN, canBTN})
        b->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okBTN);
    buttons->addWidget(canBTN);

    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(title);
    layout->addWidget(group);
    layout->addLayout(noteRow);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);

    connect(jikkoBTN, &QPushButton::clicked, this, &TFappliUpd::JikkoBTNClick);
    connect(copyBTN, &QPushButton::clicked, this, &TFappliUpd::CopyBTNClick);
    connect(okBTN, &QPushButton::clicked, this, &TFappliUpd::OkBTNClick);
    connect(canBTN, &QPushButton::clicked, this, &TFappliUpd::CanBTNClick);
    connect(m_correction, &AppliCorrection::refused, this,
            [this](const QString &message) { MessageBoxes::error(this, message); });

    // The filtered table opens with the window.
    try {
        m_correction->load();
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
    }
}

void TFappliUpd::JikkoBTNClick()
{
    if (m_noneRB->isChecked()) {
        MessageBoxes::warning(this, QStringLiteral("Invaroか手入力を選択してください"));
        return;
    }
    m_correction->setAll(m_invaroRB->isChecked() ? QStringLiteral("Invaro")
                                                 : QStringLiteral("手入力"));
}

void TFappliUpd::CopyBTNClick()
{
    m_grid->CopyAllFields();
}

void TFappliUpd::OkBTNClick()
{
    // A cell still being typed in is taken first.
    if (QWidget *editor = QApplication::focusWidget(); editor && m_grid->isAncestorOf(editor))
        m_grid->setFocus();
    try {
        m_correction->apply();
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        return;
    }
    m_closing = true;
    accept();
}

void TFappliUpd::CanBTNClick()
{
    m_closing = true;
    reject();
}

void TFappliUpd::done(int result)
{
    if (!m_closing) {
        QApplication::beep();
        MessageBoxes::plain(this, QStringLiteral("OKかｷｬﾝｾﾙﾎﾞﾀﾝで閉じてください"));
        return;
    }
    TForm1::done(result);
}
