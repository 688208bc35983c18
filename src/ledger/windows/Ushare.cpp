#include "Ushare.h"

#include <QFormLayout>
#include <QLineEdit>

TFshare::TFshare(const ProgramPaths &paths, QWidget *parent)
    : DetailDialog(QStringLiteral("Fshare"), QStringLiteral("共有情報"), TableId::Share, false,
                   paths, parent)
{
    FieldBinder &b = binder();
    addKeyRow();
    form()->addRow(QStringLiteral("共有名"),
                   b.lineEdit(QStringLiteral("SharedName"), QStringLiteral("SharedNameEDT")));
    form()->addRow(QStringLiteral("パス"),
                   b.lineEdit(QStringLiteral("SharedPath"), QStringLiteral("SharedPathEDT")));
    form()->addRow(QStringLiteral("備　考"),
                   b.lineEdit(QStringLiteral("Biko"), QStringLiteral("BikoEDT")));
    resize(420, 200);
}
