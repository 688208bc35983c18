#pragma once

#include "UmasterMente.h"

// The maintenance window of the PC table ("PC"), opened from the main
// menu's "PCﾃｰﾌﾞﾙ(&P)". It prints nothing: its "印刷" is hidden.
class TFpc : public TFmasterMente
{
    Q_OBJECT

public:
    TFpc(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);
};
