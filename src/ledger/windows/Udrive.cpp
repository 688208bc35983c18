#include "Udrive.h"

#include "DrivePie.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>

namespace {

const QString Manual = QStringLiteral("手入力");

} // namespace

TFdrive::TFdrive(const ProgramPaths &paths, QWidget *parent)
    : DetailDialog(QStringLiteral("Fdrive"), QStringLiteral("ドライブ情報"), TableId::Drive, true,
                   paths, parent),
      m_pie(new DrivePie)
{
    FieldBinder &b = binder();
    QComboBox *kind
        = b.comboBox(QStringLiteral("NyuryokuKBN"), QStringLiteral("NyuryokuKBNCB"), true);
    kind->addItems({QStringLiteral("Invaro"), Manual});
    form()->addRow(QStringLiteral("入力方法"), kind);
    addKeyRow();
    form()->addRow(QStringLiteral("ドライブ名"),
                   b.lineEdit(QStringLiteral("Drive"), QStringLiteral("DriveEDT")));
    QComboBox *type = b.comboBox(QStringLiteral("Type"), QStringLiteral("TypeCombo"));
    type->addItems({QStringLiteral("-"), QStringLiteral("FAT"), QStringLiteral("FAT32"),
                    QStringLiteral("NTFS")});
    form()->addRow(QStringLiteral("タイプ"), type);
    const struct
    {
        const char *caption;
        const char *field;
        DriveSpace::Column column;
    } sizes[] = {{"全容量", "Capa", DriveSpace::Column::Capa},
                 {"使用領域", "Used", DriveSpace::Column::Used},
                 {"空き領域", "Free", DriveSpace::Column::Free}};
    for (const auto &size : sizes) {
        const QString field = QLatin1String(size.field);
        QLineEdit *number = b.lineEdit(field, field + QStringLiteral("EDT"));
        number->setAlignment(Qt::AlignRight);
        b.setFormat(field, QueryRowsModel::Format::ThousandsZero);
        const DriveSpace::Column column = size.column;
        b.setValidator(
            field, [this, column](const QVariant &value) { return spaceChanged(column, value); },
            MessageBoxes::Kind::Plain);
        QComboBox *unit
            = b.comboBox(field + QStringLiteral("_Tani"), field + QStringLiteral("_TaniCB"));
        unit->addItem(QStringLiteral("KB"));
        auto *row = new QHBoxLayout;
        row->addWidget(number, 1);
        row->addWidget(unit);
        form()->addRow(QString::fromUtf8(size.caption), row);
    }
    form()->addRow(QStringLiteral("備考"),
                   b.lineEdit(QStringLiteral("Biko"), QStringLiteral("BikoEDT")));
    m_pie->setObjectName(QStringLiteral("DriveChart"));
    m_pie->setMinimumSize(140, 140);
    body()->addWidget(m_pie);
    resize(480, 300);
}

void TFdrive::stateChanged(RowBuffer::State state)
{
    if (state == RowBuffer::State::Insert)
        row().setValue(QStringLiteral("NyuryokuKBN"), Manual);
}

void TFdrive::formShow()
{
    drawPie();
}

DriveSpace TFdrive::space() const
{
    auto &r = const_cast<TFdrive *>(this)->row();
    return {r.value(QStringLiteral("Capa")).toLongLong(),
            r.value(QStringLiteral("Used")).toLongLong(),
            r.value(QStringLiteral("Free")).toLongLong()};
}

QString TFdrive::spaceChanged(DriveSpace::Column column, const QVariant &value)
{
    const std::optional<DriveSpace> s = space().changed(column, value.toLongLong());
    if (!s)
        return DriveSpace::refusedText();
    // The column itself keeps no value when none was typed.
    RowBuffer &r = row();
    const QString own = column == DriveSpace::Column::Capa ? QStringLiteral("Capa")
        : column == DriveSpace::Column::Used               ? QStringLiteral("Used")
                                                           : QStringLiteral("Free");
    const DriveSpace before = space();
    r.setValue(own, value);
    if (s->capa != before.capa && column != DriveSpace::Column::Capa)
        r.setValue(QStringLiteral("Capa"), s->capa);
    if (s->used != before.used && column != DriveSpace::Column::Used)
        r.setValue(QStringLiteral("Used"), s->used);
    if (s->free != before.free && column != DriveSpace::Column::Free)
        r.setValue(QStringLiteral("Free"), s->free);
    drawPie();
    return QString();
}

void TFdrive::drawPie()
{
    const DriveSpace s = space();
    if (s.used > 0 && s.free > 0)
        m_pie->setSpace(s.free, s.used);
    else
        m_pie->clear();
}
