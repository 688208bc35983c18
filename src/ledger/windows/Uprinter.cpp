#include "Uprinter.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>

TFprinter::TFprinter(const ProgramPaths &paths, QWidget *parent)
    : DetailDialog(QStringLiteral("Fprinter"), QStringLiteral("プリンタ情報"), TableId::Printer,
                   true, paths, parent)
{
    FieldBinder &b = binder();
    QComboBox *kind
        = b.comboBox(QStringLiteral("NyuryokuKBN"), QStringLiteral("NyuryokuKBNCB"), true);
    kind->addItems({QStringLiteral("Invaro"), QStringLiteral("手入力")});
    form()->addRow(QStringLiteral("入力方法："), kind);
    addKeyRow();
    form()->addRow(QStringLiteral("プリンタ名"),
                   b.lineEdit(QStringLiteral("Printer"), QStringLiteral("PrinterEDT")));
    form()->addRow(QStringLiteral("ポート"),
                   b.lineEdit(QStringLiteral("Port"), QStringLiteral("PortEDT")));
    form()->addRow(QStringLiteral("備　考"),
                   b.lineEdit(QStringLiteral("Biko"), QStringLiteral("BikoEDT")));
    resize(420, 220);
}

void TFprinter::stateChanged(RowBuffer::State state)
{
    if (state == RowBuffer::State::Insert)
        row().setValue(QStringLiteral("NyuryokuKBN"), QStringLiteral("手入力"));
}
