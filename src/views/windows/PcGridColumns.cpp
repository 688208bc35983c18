#include "PcGridColumns.h"

#include "views/PcListFields.h"

namespace {

QStringList pcFieldNames()
{
    QStringList names;
    for (const PcListFields::Field &f : PcListFields::all())
        names << f.name;
    return names;
}

QVector<int> pcDesignedWidths()
{
    QVector<int> widths;
    for (const PcListFields::Field &f : PcListFields::all())
        widths << f.designedWidth;
    return widths;
}

} // namespace

PcGridColumns::PcGridColumns(QHeaderView *header)
    : GridColumns(header, pcFieldNames(), PcListFields::designedOrder(), pcDesignedWidths())
{ }
