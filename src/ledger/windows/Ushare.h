#pragma once

#include "DetailDialog.h"

// "共有情報": one shared folder of a PC. It writes neither an input kind
// nor a time stamp.
class TFshare : public DetailDialog
{
    Q_OBJECT

public:
    explicit TFshare(const ProgramPaths &paths, QWidget *parent = nullptr);
};
