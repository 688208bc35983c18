#pragma once

#include "UhyojiJyun.h"

// "表示設定" of the applications view's PC grid: which columns it shows,
// three sort keys with their directions and the grid's font size, in the
// same dialog as the PC list's without its removed-PC option. The dialog
// edits a copy; the caller takes values() after OK (hideRemoved is not
// used here).
class TFappliPcHyojiSeetei : public TFhyojiJyun
{
    Q_OBJECT

public:
    TFappliPcHyojiSeetei(const HyojiJyunValues &current, const ProgramPaths &paths,
                         QWidget *parent = nullptr);
};
