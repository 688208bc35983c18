#pragma once

#include "store/Schema.h"

#include <QSqlQuery>
#include <QStringList>
#include <vector>

class TableImage;
class TDMdata;

// The merge at the end of one collector file: for the PC key, the imported
// rows the file no longer reports (still "Invaro") are deleted, then the
// rows it reported ("new") become "Invaro". Applications are deleted only
// when AppliDel is on. Rows entered by hand are never touched.
class DetailMerge
{
public:
    explicit DetailMerge(TDMdata &dm);

    // The statements in the order they run, each as its lines joined by
    // line feeds; the first (applications) only when appliDel is on.
    static QStringList statements(bool appliDel);

    // Runs the statements for the key (cut to the key column's width).
    // Throws StoreError.
    void run(const QString &key, bool appliDel);

    // The merge with the images of the six detail tables: the PC's rows
    // are read into them, the statements run (not in a dry run), and the
    // images take the statements' effect, so that they hold what the store
    // holds (or, in a dry run, would hold) afterwards. Throws StoreError.
    void run(const QString &key, bool appliDel, const std::vector<TableImage *> &images,
             bool dryRun);

private:
    TDMdata &m_dm;
    std::vector<QSqlQuery> m_queries; // all twelve, prepared at first use
};
