#pragma once

#include "BandedLRep.h"

class TDMdata;

// The report window of "アプリケーション導入状況一覧": the PCs in service
// that have one application.
class TQRappli : public TBandedLRep
{
    Q_OBJECT

public:
    TQRappli(TDMdata &dm, const QString &appli, QWidget *parent = nullptr);

    // The "印刷" of the applications tab: the list of appli (the current
    // row of the application list) previewed modally over parent; the
    // window is gone when it closes. The store must be connected.
    static void preview(QWidget *parent, TDMdata &dm, const QString &appli);
};
