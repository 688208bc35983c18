#pragma once

#include "DetailDialog.h"

// "プリンタ情報": one printer row of a PC.
class TFprinter : public DetailDialog
{
    Q_OBJECT

public:
    explicit TFprinter(const ProgramPaths &paths, QWidget *parent = nullptr);

protected:
    void stateChanged(RowBuffer::State state) override;
};
