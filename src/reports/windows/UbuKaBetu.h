#pragma once

#include "BandedLRep.h"

class TDMdata;

// The report window of "部・課別パソコン一覧".
class TQRbuKaBetu : public TBandedLRep
{
    Q_OBJECT

public:
    explicit TQRbuKaBetu(TDMdata &dm, QWidget *parent = nullptr);

    // Shows the preview modally over parent; the window is gone when it
    // closes.
    static void preview(QWidget *parent, TDMdata &dm);
};
