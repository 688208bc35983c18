#pragma once

#include "ledger/RowBuffer.h"

class QLabel;

// The mode label of the edit windows: "追加" white on blue for a new row,
// "修正" black on yellow for an existing one, "？？" white on red otherwise.
namespace ModeLabel {

QLabel *create();
void show(QLabel *label, RowBuffer::State state);

} // namespace ModeLabel
