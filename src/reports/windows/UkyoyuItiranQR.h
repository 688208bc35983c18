#pragma once

#include "BandedLRep.h"

class TDMdata;

// The report window of "共　有　情　報　一　覧".
class TQRkyoyuItiran : public TBandedLRep
{
    Q_OBJECT

public:
    // printerShares: list print$ and PRINTER$ too.
    TQRkyoyuItiran(TDMdata &dm, bool printerShares, QWidget *parent = nullptr);
};
