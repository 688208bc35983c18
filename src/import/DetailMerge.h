#pragma once

#include "store/Schema.h"

#include <QStringList>
#include <vector>

class TableImage;

// The merge at the end of one collector file: for the PC key, the imported
// rows the file no longer reports (still "Invaro") are deleted, then the
// rows it reported ("new") become "Invaro". Applications are deleted only
// when AppliDel is on. Rows entered by hand are never touched.
//
// The merge works on the rows the file's tables hold (TableImage), which
// hold every row of the PC key: its effect is that of statements(), and
// the file's flush then writes each row once, in its final state, instead
// of writing every reported row twice (once marked "new", once more by the
// statements).
class DetailMerge
{
public:
    // The statements whose effect the merge has, in their order, each as
    // its lines joined by line feeds; the first (applications) only when
    // appliDel is on.
    static QStringList statements(bool appliDel);

    // Merges the PC's rows (the key cut to the key column's width) in the
    // images of the six detail tables, reading them first where they are
    // not held. The images' flush writes the result. Throws StoreError.
    static void run(const QString &key, bool appliDel, const std::vector<TableImage *> &images);
};
