#pragma once

#include "TableImage.h"

// Told of each row that the import of a file changes (in a dry run: would
// change), once the file is done: before is null for a row added, after
// for a row deleted; ofNewPc when the row belongs to the PC that the file
// adds. The input kind "new" that a failed file leaves reads as "Invaro".
class ImportChanges
{
public:
    virtual ~ImportChanges() = default;
    virtual void rowChanged(TableId table, const QString &key, const TableImage::Row *before,
                            const TableImage::Row *after, bool ofNewPc)
        = 0;
};
