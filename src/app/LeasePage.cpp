#include "LeasePage.h"

#include "kit/MessageBoxes.h"
#include "kit/StoreRequired.h"
#include "kit/TDBGridEx.h"
#include "lease/LeaseDeletion.h"
#include "lease/LeaseListModel.h"
#include "lease/windows/UleaseDaityo.h"
#include "lease/windows/UleaseDataCRT.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"

#include <QAction>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

LeasePage::LeasePage(const ProgramPaths &paths, QWidget *parent)
    : QWidget(parent), m_paths(paths), m_grid(new TDBGridEx(this)),
      m_model(new LeaseListModel(this))
{
    setObjectName(QStringLiteral("LeasePage"));
    m_grid->setObjectName(QStringLiteral("LeaseGrid"));
    m_grid->setModel(m_model);
    m_grid->horizontalHeader()->setHighlightSections(false);
    auto *copy = new QAction(QStringLiteral("ｺﾋﾟｰ"), m_grid);
    copy->setObjectName(QStringLiteral("LeaseCopyMI"));
    connect(copy, &QAction::triggered, m_grid, &TDBGridEx::CopyAllFields);
    m_grid->addAction(copy);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *tools = new QHBoxLayout;
    const auto button = [this, tools](const char *name, const QString &caption, auto handler) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, handler);
        tools->addWidget(b);
    };
    button("LeaseAddBTN", QStringLiteral("追　加"), &LeasePage::LeaseAddBTNClick);
    button("LeaseEditBTN", QStringLiteral("修　正"), &LeasePage::LeaseEditBTNClick);
    button("LeaseDelBTN", QStringLiteral("削　除"), &LeasePage::LeaseDelBTNClick);
    button("BitBtn2", QStringLiteral("パソコン台帳からデータ作成..."), &LeasePage::BitBtn2Click);
    tools->addStretch();
    button("RefreshBTN", QStringLiteral("最新の状態に更新"), &LeasePage::refreshRequested);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(m_grid, 1);
}

void LeasePage::refresh(TDMdata &dm)
{
    const LeaseKey key = currentKey();
    m_dm = &dm;
    reopen(key);
}

LeaseKey LeasePage::currentKey() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? m_model->key(current.row()) : LeaseKey();
}

void LeasePage::clear()
{
    m_dm = nullptr;
    m_model->clear();
}

void LeasePage::reopen(const LeaseKey &key)
{
    try {
        m_model->load(*m_dm, QDate::currentDate());
    } catch (const StoreError &error) {
        MessageBoxes::error(this, error.message());
        return;
    }
    if (m_model->rowCount() == 0)
        return;
    const QModelIndex target = m_model->index(qMax(0, m_model->rowOfKey(key)), 0);
    // The current row is tinted; only the user's clicks select.
    m_grid->selectionModel()->setCurrentIndex(target, QItemSelectionModel::Clear);
    m_grid->scrollTo(target);
}

void LeasePage::LeaseAddBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm))
        return;
    TFleaseDaityo window(*m_dm, m_paths, this);
    window.Mode = QStringLiteral("add");
    if (window.exec() == QDialog::Accepted)
        emit listsRefreshRequested();
}

void LeasePage::LeaseEditBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm))
        return;
    const LeaseKey key = m_model->key(m_grid->currentIndex().row());
    TFleaseDaityo window(*m_dm, m_paths, this);
    window.Mode = QStringLiteral("upd");
    window.LeaseKey = key.lease;
    window.LeaseNoKey = key.leaseNo;
    try {
        // Another copy that has the contract open keeps it.
        window.claim();
    } catch (const StoreError &e) {
        MessageBoxes::error(this, e.message());
        return;
    }
    if (window.exec() == QDialog::Accepted)
        reopen(key);
}

void LeasePage::LeaseDelBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm))
        return;
    const QModelIndex current = m_grid->currentIndex();
    if (!current.isValid())
        return;
    const LeaseKey key = m_model->key(current.row());
    if (!MessageBoxes::yesNo(this, LeaseDeletion::confirmationText(key)))
        return;
    try {
        LeaseDeletion::deleteLease(*m_dm, key);
    } catch (const ClaimError &e) {
        // Another copy has it open.
        MessageBoxes::error(this, e.message());
        return;
    } catch (const StoreError &) {
        MessageBoxes::error(this, QStringLiteral("削除に失敗しました"));
        return;
    }
    reopen({});
}

void LeasePage::BitBtn2Click()
{
    if (!StoreRequired::ensureConnected(this, m_dm))
        return;
    {
        TFleaseDataCRT window(*m_dm, m_paths, this);
        window.exec();
    }
    emit listsRefreshRequested();
}
