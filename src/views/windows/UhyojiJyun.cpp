#include "UhyojiJyun.h"

#include "base/TextHelpers.h"
#include "kit/MessageBoxes.h"
#include "views/PcListFields.h"
#include "views/PcListStatement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

const char *const KeyLabels[3]
    = {"最優先されるキー", "２番目に優先されるキー", "３番目に優先されるキー"};

} // namespace

namespace {

QString pcListTitle(const QString &field)
{
    const int index = PcListFields::indexOfName(field);
    return index >= 0 ? PcListFields::all().at(index).caption : field;
}

} // namespace

TFhyojiJyun::TFhyojiJyun(const HyojiJyunValues &current, const ProgramPaths &paths, QWidget *parent)
    : TFhyojiJyun({QStringLiteral("FhyojiJyun"), QStringLiteral("パソコン一覧表示設定"),
                   QSize(520, 400), pcListTitle, PcListFields::captions(), true},
                  current, paths, parent)
{ }

TFhyojiJyun::TFhyojiJyun(const Design &design, const HyojiJyunValues &current,
                         const ProgramPaths &paths, QWidget *parent)
    : TForm1(design.internalName, paths, parent), m_current(current), m_columnsLB(new QListWidget),
      m_fontSizeCombo(new QComboBox)
{
    setWindowTitle(design.caption);
    resize(design.size);

    // One entry per column in its order on screen, ticked when shown.
    m_columnsLB->setObjectName(QStringLiteral("KomokuLB"));
    for (const HyojiJyunValues::Column &column : current.columns) {
        auto *item = new QListWidgetItem(design.titleOf(column.field), m_columnsLB);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(column.shown ? Qt::Checked : Qt::Unchecked);
    }

    const QStringList keyChoices = QStringList {PcListStatement::noKey()} + design.keyChoices;
    auto *right = new QWidget;
    auto *rightLayout = new QVBoxLayout(right);
    for (int k = 0; k < 3; ++k) {
        auto *box = new QGroupBox(QString::fromUtf8(KeyLabels[k]));
        m_keyCombo[k] = new QComboBox;
        m_keyCombo[k]->setObjectName(QStringLiteral("Key%1Combo").arg(k + 1));
        m_keyCombo[k]->setEditable(true);
        m_keyCombo[k]->setInsertPolicy(QComboBox::NoInsert);
        m_keyCombo[k]->addItems(keyChoices);
        m_keyCombo[k]->setEditText(current.sort.komoku[k]);
        m_ascRB[k] = new QRadioButton(PcListStatement::ascending());
        m_ascRB[k]->setObjectName(QStringLiteral("Asc%1RB").arg(k + 1));
        m_descRB[k] = new QRadioButton(PcListStatement::descending());
        m_descRB[k]->setObjectName(QStringLiteral("Desc%1RB").arg(k + 1));
        auto *group = new QButtonGroup(box);
        group->addButton(m_ascRB[k]);
        group->addButton(m_descRB[k]);
        const bool asc = current.sort.jyun[k] == PcListStatement::ascending();
        m_ascRB[k]->setChecked(asc);
        m_descRB[k]->setChecked(!asc);
        auto *row = new QHBoxLayout(box);
        row->addWidget(m_keyCombo[k], 1);
        row->addWidget(m_ascRB[k]);
        row->addWidget(m_descRB[k]);
        rightLayout->addWidget(box);
    }

    m_fontSizeCombo->setObjectName(QStringLiteral("FontSizeCombo"));
    m_fontSizeCombo->setEditable(true);
    m_fontSizeCombo->setInsertPolicy(QComboBox::NoInsert);
    for (int size = 8; size <= 16; ++size)
        m_fontSizeCombo->addItem(QString::number(size));
    m_fontSizeCombo->setEditText(current.fontSize);
    auto *fontRow = new QHBoxLayout;
    fontRow->addWidget(new QLabel(QStringLiteral("フォントサイズ")));
    fontRow->addWidget(m_fontSizeCombo);
    fontRow->addStretch();
    rightLayout->addLayout(fontRow);

    if (design.removedOption) {
        m_tekkyoCB = new QCheckBox(QStringLiteral("撤去済パソコンは表示しない"));
        m_tekkyoCB->setObjectName(QStringLiteral("TekkyoCB"));
        m_tekkyoCB->setChecked(current.hideRemoved);
        rightLayout->addWidget(m_tekkyoCB);
    }
    rightLayout->addStretch();

    auto *okBTN = new QPushButton(QStringLiteral("Ｏ　Ｋ"));
    okBTN->setObjectName(QStringLiteral("OkBTN"));
    okBTN->setAutoDefault(false);
    auto *cancelBTN = new QPushButton(QStringLiteral("キャンセル"));
    cancelBTN->setObjectName(QStringLiteral("CancelBTN"));
    cancelBTN->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(okBTN);
    buttons->addWidget(cancelBTN);
    rightLayout->addLayout(buttons);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(m_columnsLB);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(splitter);

    connect(okBTN, &QPushButton::clicked, this, &TFhyojiJyun::OkBTNClick);
    connect(cancelBTN, &QPushButton::clicked, this, &QDialog::reject);
}

void TFhyojiJyun::OkBTNClick()
{
    if (!IsDigits(m_fontSizeCombo->currentText())) {
        MessageBoxes::error(this, QStringLiteral("フォントサイズには数字を入力してください"));
        m_fontSizeCombo->setFocus();
        return;
    }
    accept();
}

HyojiJyunValues TFhyojiJyun::values() const
{
    HyojiJyunValues result = m_current;
    for (int i = 0; i < result.columns.size() && i < m_columnsLB->count(); ++i)
        result.columns[i].shown = m_columnsLB->item(i)->checkState() == Qt::Checked;
    for (int k = 0; k < 3; ++k) {
        result.sort.komoku[k] = m_keyCombo[k]->currentText();
        result.sort.jyun[k] = m_descRB[k]->isChecked() ? PcListStatement::descending()
                                                       : PcListStatement::ascending();
    }
    result.fontSize = m_fontSizeCombo->currentText();
    if (m_tekkyoCB)
        result.hideRemoved = m_tekkyoCB->isChecked();
    return result;
}
