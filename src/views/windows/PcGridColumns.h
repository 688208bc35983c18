#pragma once

#include "GridColumns.h"

// The PC list's grid columns: one section per field of PcListFields, in
// field order, with the list's designed order and widths.
class PcGridColumns : public GridColumns
{
public:
    explicit PcGridColumns(QHeaderView *header);
};
