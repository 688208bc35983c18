#include "Upc.h"

#include <QPushButton>

TFpc::TFpc(TDMdata &dm, const ProgramPaths &paths, QWidget *parent)
    : TFmasterMente(dm, TableId::PC, QStringLiteral("Fpc"), paths, parent)
{
    setWindowTitle(QStringLiteral("PC"));
    printBTN()->hide();
}
