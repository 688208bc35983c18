#include "Ukensaku.h"

#include "kit/MessageBoxes.h"
#include "kit/StoreRequired.h"
#include "lease/windows/UleaseDaityo.h"
#include "ledger/windows/UpcDaityo.h"
#include "store/BackgroundReader.h"
#include "store/StoreError.h"
#include "store/StoreReconnector.h"
#include "store/UDMdata.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>
#include <utility>

namespace {

// The number of a match in m_hits, kept on its line.
constexpr int HitRole = Qt::UserRole + 1;

} // namespace

TFkensaku::TFkensaku(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("Fkensaku"), paths, parent), m_dm(dm), m_edit(new QLineEdit),
      m_countLBL(new QLabel), m_results(new QTreeWidget), m_reader(new BackgroundReader(this))
{
    setWindowTitle(QStringLiteral("検索"));
    resize(820, 560);
    m_opener = [this](QWidget *, const LedgerSearch::Hit &hit) { return openHit(hit); };

    m_edit->setObjectName(QStringLiteral("KensakuEDT"));
    m_edit->setClearButtonEnabled(true);
    m_edit->setPlaceholderText(
        QStringLiteral("利用者・ホスト名・IP/MACアドレス・シリアル№・アプリケーション…"));
    m_countLBL->setObjectName(QStringLiteral("CountLBL"));
    auto *kensakuBTN = new QPushButton(QStringLiteral("検　索"));
    kensakuBTN->setObjectName(QStringLiteral("KensakuBTN"));
    kensakuBTN->setAutoDefault(false);
    auto *closeBTN = new QPushButton(QStringLiteral("閉じる"));
    closeBTN->setObjectName(QStringLiteral("CloseBTN"));
    closeBTN->setAutoDefault(false);

    m_results->setObjectName(QStringLiteral("ResultTree"));
    m_results->setHeaderLabels(
        {QStringLiteral("Key"), QStringLiteral("項目"), QStringLiteral("値")});
    m_results->setRootIsDecorated(true);
    m_results->setUniformRowHeights(true);
    m_results->header()->resizeSection(0, 260);
    m_results->header()->resizeSection(1, 150);

    auto *box = new QHBoxLayout;
    box->addWidget(new QLabel(QStringLiteral("検索")));
    box->addWidget(m_edit, 1);
    box->addWidget(kensakuBTN);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(m_countLBL, 1);
    bottom->addWidget(closeBTN);
    auto *layout = new QVBoxLayout(contentArea());
    layout->addLayout(box);
    layout->addWidget(m_results, 1);
    layout->addLayout(bottom);

    // Enter in the box moves on to "検　索" (as in every window), and Enter
    // there searches.
    connect(kensakuBTN, &QPushButton::clicked, this, &TFkensaku::KensakuBTNClick);
    connect(closeBTN, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_results, &QTreeWidget::itemDoubleClicked, this, &TFkensaku::openItem);
    // The ledger is read while the user types the first query.
    startReading();
}

void TFkensaku::startReading()
{
    m_loaded = false;
    if (!m_dm.isConnected())
        return;
    m_countLBL->setText(QStringLiteral("台帳を読み込んでいます..."));
    m_reader->start(
        m_dm,
        [this](BackgroundReader::Job &job) {
            auto index = std::make_shared<LedgerSearch>();
            index->load(job.store(), {}, [&job] { return job.cancelled(); });
            if (job.cancelled())
                return;
            job.deliver([this, index] {
                m_search = std::move(*index);
                m_loaded = true;
                m_countLBL->clear();
                if (std::exchange(m_searchPending, false))
                    showMatches();
            });
        },
        [this](const QString &message, bool lost) {
            m_searchPending = false;
            m_countLBL->clear();
            if (lost) {
                // The reconnection tells the user; the next search reads again.
                StoreReconnector::of(m_dm).ensure();
                return;
            }
            MessageBoxes::error(this, message);
        });
}

void TFkensaku::finishReading()
{
    m_reader->finish();
}

void TFkensaku::KensakuBTNClick()
{
    if (m_loaded) {
        showMatches();
        return;
    }
    if (m_reader->isBusy()) {
        m_searchPending = true;
        return;
    }
    // The first search, or a read that failed: a store that is not there
    // is said rather than nothing happening.
    if (!StoreRequired::ensureConnected(this, &m_dm))
        return;
    m_searchPending = true;
    startReading();
}

void TFkensaku::showMatches()
{
    m_hits = m_search.find(m_edit->text());
    m_results->clear();
    QTreeWidgetItem *group = nullptr;
    std::optional<LedgerSearch::Kind> groupKind;
    int groupCount = 0;
    const auto closeGroup = [&] {
        if (group)
            group->setText(
                0,
                QStringLiteral("%1 (%2)").arg(LedgerSearch::kindText(*groupKind)).arg(groupCount));
    };
    QList<QTreeWidgetItem *> groups;
    for (int i = 0; i < m_hits.size(); ++i) {
        const LedgerSearch::Hit &hit = m_hits.at(i);
        if (!groupKind || *groupKind != hit.kind) {
            closeGroup();
            group = new QTreeWidgetItem;
            groupKind = hit.kind;
            groupCount = 0;
            groups.append(group);
        }
        auto *line = new QTreeWidgetItem(group, {hit.key, hit.column, hit.value});
        line->setData(0, HitRole, i);
        ++groupCount;
    }
    closeGroup();
    m_results->addTopLevelItems(groups);
    m_results->expandAll();
    m_countLBL->setText(m_hits.isEmpty() ? QStringLiteral("見つかりませんでした")
                                         : QStringLiteral("%1 件").arg(m_hits.size()));
}

void TFkensaku::openItem(QTreeWidgetItem *item)
{
    const QVariant number = item ? item->data(0, HitRole) : QVariant();
    if (!number.isValid())
        return;
    if (m_opener(this, m_hits.at(number.toInt()))) {
        // The ledger changed: read it again and show the matches anew.
        m_searchPending = true;
        startReading();
        emit ledgerChanged();
    }
}

bool TFkensaku::openHit(const LedgerSearch::Hit &hit)
{
    if (hit.kind != LedgerSearch::Kind::Lease)
        return TFpcDaityo::editPc(this, m_dm, paths(), hit.key);
    TFleaseDaityo window(m_dm, paths(), this);
    window.Mode = QStringLiteral("upd");
    window.LeaseKey = hit.leaseCompany;
    window.LeaseNoKey = hit.leaseNo;
    try {
        // Another copy that has the contract open keeps it.
        window.claim();
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        return false;
    }
    return window.exec() == QDialog::Accepted;
}
