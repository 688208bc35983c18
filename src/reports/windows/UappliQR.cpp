#include "UappliQR.h"

#include "reports/BandedReport.h"
#include "reports/ListReports.h"

TQRappli::TQRappli(TDMdata &dm, const QString &appli, QWidget *parent)
    : TBandedLRep(
        QStringLiteral("QRappli"), QStringLiteral("アプリケーション導入状況"),
        [&dm, appli] { return ListReports::appli(dm, appli); }, parent)
{ }

void TQRappli::preview(QWidget *parent, TDMdata &dm, const QString &appli)
{
    TQRappli window(dm, appli, parent);
    window.exec();
}
