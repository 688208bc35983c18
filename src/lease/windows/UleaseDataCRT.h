#pragma once

#include "kit/Unit1.h"

class TDMdata;

// "リースデータ作成": creates the lease records that the PC ledger's lease
// fields name (LeaseDataCreation). The window closes once the records are
// made; a store error is shown and the window stays open.
class TFleaseDataCRT : public TForm1
{
    Q_OBJECT

public:
    TFleaseDataCRT(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);

private:
    void StartBTNClick();

    TDMdata &m_dm;
};
