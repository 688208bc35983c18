#include "UbuKaBetu.h"

#include "reports/BandedReport.h"
#include "reports/ListReports.h"

TQRbuKaBetu::TQRbuKaBetu(TDMdata &dm, QWidget *parent)
    : TBandedLRep(
        QStringLiteral("QRbuKaBetu"), QStringLiteral("部課別一覧"),
        [&dm] { return ListReports::buKaBetu(dm); }, parent)
{ }

void TQRbuKaBetu::preview(QWidget *parent, TDMdata &dm)
{
    TQRbuKaBetu window(dm, parent);
    window.exec();
}
