#pragma once

#include <QSqlQuery>
#include <QStringList>
#include <vector>

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

private:
    TDMdata &m_dm;
    std::vector<QSqlQuery> m_queries; // all twelve, prepared at first use
};
