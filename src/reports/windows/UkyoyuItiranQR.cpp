#include "UkyoyuItiranQR.h"

#include "reports/BandedReport.h"
#include "reports/ListReports.h"

TQRkyoyuItiran::TQRkyoyuItiran(TDMdata &dm, bool printerShares, QWidget *parent)
    : TBandedLRep(
        QStringLiteral("QRkyoyuItiran"), QStringLiteral("部課別一覧"),
        [&dm, printerShares] { return ListReports::kyoyuItiran(dm, printerShares); }, parent)
{ }
