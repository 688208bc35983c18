#pragma once

#include "DetailMerge.h"
#include "DetailRules.h"
#include "PcRules.h"
#include "StringList2.h"
#include "TableImage.h"

#include <QStringList>

class TDMdata;

// ImportFile: imports the lines of one collector file into the store. The
// PC row named by the first record gets the file's date and every field
// that a PC rule feeds; every record also passes the detail rules; at the
// end the detail merge runs for the Key of the last record and the PC row
// is saved.
//
// The statements are prepared once and kept for every file of a run; the
// rows a file touches are held in memory while it is read and written
// before the merge (see TableImage). The caller owns the transaction.
//
// A file that fails raises ImportError with the line number. The detail
// rows written before the failing record are in the store, still marked
// "new" (the PC's next import settles them); the merge has not run; the
// PC row is left as it was before the file: its half-done changes are
// discarded, so its dates keep naming the last file imported completely.
class CollectorImporter
{
public:
    explicit CollectorImporter(TDMdata &dm);
    CollectorImporter(const CollectorImporter &) = delete;
    CollectorImporter &operator=(const CollectorImporter &) = delete;

    // Whether the merge deletes applications the collector no longer
    // reports (on by default).
    void setAppliDel(bool on) { m_appliDel = on; }
    bool appliDel() const { return m_appliDel; }
    // The clock for AddYMD of new rows.
    void setClock(std::function<QDateTime()> clock) { m_details.setClock(std::move(clock)); }

    // Imports one file's lines, the header line at index 0. Throws
    // ImportError (with the line number where a record failed), also when
    // another copy of the program holds the file's PC (PcClaims.h).
    void ImportFile(const QStringList &lines);

    // The PC keys of a file's first and last records (one when they are the
    // same), the PCs whose rows the file writes; records that cannot be
    // read are left out.
    QStringList pcKeys(const QStringList &lines);

private:
    void importLines(const QStringList &lines);
    [[noreturn]] void failed(const QString &message, int line);
    void flushDetails();
    void forgetAll();

    TDMdata &m_dm;
    bool m_appliDel = true;
    TableImage m_pc;
    TableImage m_appli;
    TableImage m_printer;
    TableImage m_drive;
    TableImage m_share;
    TableImage m_lan;
    TableImage m_memory;
    PcRules m_pcRules;
    DetailRules m_details;
    DetailMerge m_merge;
    TStringList2 m_fields;
    int m_line = 0; // line of the record being processed
};
