#include "UleaseDataCRT.h"

#include "kit/MessageBoxes.h"
#include "kit/WaitCursor.h"
#include "lease/LeaseDataCreation.h"
#include "store/StoreError.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TFleaseDataCRT::TFleaseDataCRT(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("FleaseDataCRT"), paths, parent), m_dm(dm)
{
    setWindowTitle(QStringLiteral("リースデータ作成"));
    setResizable(false);

    auto *text = new QLabel(QStringLiteral("パソコン台帳に登録された「リース会社」「リース契約\n"
                                           "№」を元にリース情報を作成します。\n"
                                           "データ作成後に修正画面で足りない情報を入力してく\n"
                                           "ださい。"));
    text->setObjectName(QStringLiteral("Memo1"));
    text->setFrameShape(QFrame::StyledPanel);
    text->setMargin(8);
    text->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto *start = new QPushButton(QStringLiteral("データ作成開始"));
    start->setObjectName(QStringLiteral("StartBTN"));
    auto *close = new QPushButton(QStringLiteral("閉じる"));
    close->setObjectName(QStringLiteral("CloseBTN"));
    for (QPushButton *b : {start, close})
        b->setAutoDefault(false);
    connect(start, &QPushButton::clicked, this, &TFleaseDataCRT::StartBTNClick);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(start);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(10, 10, 10, 10);
    layout->addWidget(text);
    layout->addLayout(buttons);
    resize(sizeHint());
}

void TFleaseDataCRT::StartBTNClick()
{
    LeaseDataCreation::Result result;
    try {
        const WaitCursor wait;
        result = LeaseDataCreation::run(m_dm);
    } catch (const StoreError &e) {
        // What was made before the failure stays; running it again is safe.
        MessageBoxes::error(this,
                            QStringLiteral("リースデータの作成に失敗しました。\n") + e.message());
        return;
    }
    // Contracts open in another copy's lease window: the window stays open
    // for another try.
    if (!result.claimed.isEmpty()) {
        const bool othersWritten = result.contractsAdded + result.pcsAdded + result.pcsStamped > 0;
        MessageBoxes::error(this, LeaseDataCreation::claimedText(result.claimed, othersWritten));
        return;
    }
    accept();
}
