#include "Uoption.h"

#include "import/NetworkSelection.h"
#include "kit/MessageBoxes.h"
#include "kit/StoreRequired.h"
#include "kit/WaitCursor.h"
#include "store/HistoryRecorder.h"
#include "store/StoreError.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

QLineEdit *edit(QWidget *parent, const QString &text, const char *name)
{
    auto *box = new QLineEdit(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

} // namespace

TFoption::TFoption(TDMdata *dm, bool appliDel, const NetSettings &networks,
                   const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("Foption"), paths, parent), m_dm(dm),
      m_pages(new QTabWidget(contentArea())),
      m_okBTN(new QPushButton(QStringLiteral("O K"), contentArea())),
      m_cancelBTN(new QPushButton(QStringLiteral("ｷｬﾝｾﾙ"), contentArea()))
{
    setWindowTitle(QStringLiteral("オプション"));
    setResizable(false);
    resize(480, 340);

    m_pages->setObjectName(QStringLiteral("PageControl1"));
    m_pages->addTab(makeImportPage(appliDel), QStringLiteral("ﾃﾞｰﾀ読込"));
    m_pages->addTab(makeNetworkPage(networks), QStringLiteral("ネットワーク"));
    m_pages->setCurrentIndex(1);

    m_okBTN->setObjectName(QStringLiteral("OkBTN"));
    m_okBTN->setAutoDefault(false);
    m_cancelBTN->setObjectName(QStringLiteral("CancelBTN"));
    m_cancelBTN->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okBTN);
    buttons->addWidget(m_cancelBTN);

    auto *layout = new QVBoxLayout(contentArea());
    layout->addWidget(m_pages, 1);
    layout->addLayout(buttons);

    connect(m_okBTN, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelBTN, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_updateBTN, &QPushButton::clicked, this, &TFoption::UpdateBTNClick);
}

QWidget *TFoption::makeImportPage(bool appliDel)
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("ImportTS"));

    auto *intro = new QLabel(QStringLiteral("Invaroﾃﾞｰﾀ読み込み時の設定です"), page);
    auto *heading = new QLabel(QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝﾃﾞｰﾀ"), page);
    heading->setObjectName(QStringLiteral("AppliLBL"));
    auto *rule = new QFrame(page);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Sunken);
    m_appliDelCB = new QCheckBox(QStringLiteral("ｱﾝｲﾝｽﾄｰﾙされたｱﾌﾟﾘｹｰｼｮﾝは削除する"), page);
    m_appliDelCB->setObjectName(QStringLiteral("AppliDelCB"));
    m_appliDelCB->setChecked(appliDel);

    auto *headingRow = new QHBoxLayout;
    headingRow->addWidget(heading);
    headingRow->addWidget(rule, 1);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(intro);
    layout->addSpacing(8);
    layout->addLayout(headingRow);
    layout->addWidget(m_appliDelCB);
    layout->addStretch();
    return page;
}

QWidget *TFoption::makeNetworkPage(const NetSettings &networks)
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("NetworkTS"));

    auto *intro = new QLabel(QStringLiteral("パソコン一覧に表示するネットワーク情報"), page);
    m_ipAddrEDT = edit(page, networks.ipAddr, "IPaddrEDT");
    m_subNetMaskEDT = edit(page, networks.subNetMask, "SubNetMaskEDT");
    m_ipAddr2EDT = edit(page, networks.ipAddr2, "IPaddr2EDT");
    m_subNetMask2EDT = edit(page, networks.subNetMask2, "SubNetMask2EDT");

    auto *grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("IP ｱﾄﾞﾚｽ(例：192.168.0.11)"), page), 0, 0);
    grid->addWidget(new QLabel(QStringLiteral("ｻﾌﾞﾈｯﾄﾏｽｸ(例：255.255.255.0)"), page), 0, 1);
    grid->addWidget(m_ipAddrEDT, 1, 0);
    grid->addWidget(m_subNetMaskEDT, 1, 1);
    grid->addWidget(m_ipAddr2EDT, 2, 0);
    grid->addWidget(m_subNetMask2EDT, 2, 1);

    auto *note = new QPlainTextEdit(page);
    note->setObjectName(QStringLiteral("NoteMEMO"));
    note->setReadOnly(true);
    note->setFocusPolicy(Qt::NoFocus);
    note->setPlainText(QStringLiteral("一台のパソコンに複数のネットワークアダプタがある\n"
                                      "場合上記のサブネットに存在するネットワークアダプ\n"
                                      "タの情報をパソコン一覧に表示します。"));
    note->setMaximumHeight(4 * note->fontMetrics().lineSpacing() + 12);

    m_updateBTN = new QPushButton(QStringLiteral("上記設定でパソコン一覧を更新"), page);
    m_updateBTN->setObjectName(QStringLiteral("UpdateBTN"));
    m_updateBTN->setAutoDefault(false);
    auto *updateRow = new QHBoxLayout;
    updateRow->addStretch();
    updateRow->addWidget(m_updateBTN);

    auto *layout = new QVBoxLayout(page);
    layout->addWidget(intro);
    layout->addLayout(grid);
    layout->addWidget(note);
    layout->addLayout(updateRow);
    layout->addStretch();
    return page;
}

bool TFoption::appliDel() const
{
    return m_appliDelCB->isChecked();
}

NetSettings TFoption::networks() const
{
    NetSettings result;
    result.ipAddr = m_ipAddrEDT->text();
    result.subNetMask = m_subNetMaskEDT->text();
    result.ipAddr2 = m_ipAddr2EDT->text();
    result.subNetMask2 = m_subNetMask2EDT->text();
    return result;
}

void TFoption::UpdateBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm))
        return;
    // The boxes as they stand now, confirmed or not; the PC rows stay
    // updated even when the window is cancelled afterwards.
    const NetSettings edited = networks();
    try {
        WaitCursor wait;
        // Asked for by hand: the changes are recorded as such.
        HistoryRecorder history(*m_dm, History::manual());
        SelectPCNetwork(*m_dm, NetworkPair {edited.ipAddr, edited.subNetMask},
                        NetworkPair {edited.ipAddr2, edited.subNetMask2}, &history);
    } catch (const StoreError &error) {
        MessageBoxes::error(this, error.message());
    }
}
