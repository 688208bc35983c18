#include "DetailDialog.h"

#include "ModeLabel.h"
#include "kit/MessageBoxes.h"
#include "store/StoreError.h"

#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

DetailDialog::DetailDialog(const QString &internalName, const QString &caption, TableId table,
                           bool stampsUpdate, const ProgramPaths &paths, QWidget *parent)
    : TForm1(internalName, paths, parent), m_row(table), m_binder(m_row, this),
      m_stampsUpdate(stampsUpdate), m_modeLBL(ModeLabel::create()), m_form(new QFormLayout),
      m_body(new QHBoxLayout)
{
    setWindowTitle(caption);
    ModeLabel::show(m_modeLBL, m_row.state());
    connect(&m_row, &RowBuffer::stateChanged, this, [this](RowBuffer::State state) {
        ModeLabel::show(m_modeLBL, state);
        stateChanged(state);
    });

    auto *okBTN = new QPushButton(QStringLiteral("Ｏ　Ｋ"));
    okBTN->setObjectName(QStringLiteral("OkBTN"));
    auto *canBTN = new QPushButton(QStringLiteral("キャンセル"));
    canBTN->setObjectName(QStringLiteral("CanBTN"));
    for (QPushButton *b : {okBTN, canBTN})
        b->setAutoDefault(false);
    connect(okBTN, &QPushButton::clicked, this, &DetailDialog::OkBTNClick);
    connect(canBTN, &QPushButton::clicked, this, &DetailDialog::CanBTNClick);

    auto *top = new QHBoxLayout;
    top->addWidget(m_modeLBL);
    top->addStretch();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okBTN);
    buttons->addWidget(canBTN);
    m_body->addLayout(m_form, 1);
    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    layout->addLayout(m_body, 1);
    layout->addLayout(buttons);
}

void DetailDialog::addKeyRow()
{
    QLabel *key = m_binder.display(QStringLiteral("Key"), QStringLiteral("KeyLBL"));
    key->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_form->addRow(QStringLiteral("Key:"), key);
}

void DetailDialog::OkBTNClick()
{
    if (!m_binder.commitAll())
        return;
    if (m_row.isEditing() && m_stampsUpdate)
        m_row.setValue(QStringLiteral("UpdateYMD"), QDateTime::currentDateTime());
    if (m_row.isEditing() && m_poster) {
        try {
            m_poster(m_row);
        } catch (const StoreError &e) {
            MessageBoxes::error(this, e.message());
            return;
        }
    }
    accept();
}

void DetailDialog::CanBTNClick()
{
    m_row.cancel();
    reject();
}

void DetailDialog::formClose()
{
    // Closed another way while the row is still being edited: as Cancel.
    if (m_row.isEditing())
        m_row.cancel();
}
