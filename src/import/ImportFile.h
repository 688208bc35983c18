#pragma once

#include "DetailMerge.h"
#include "DetailRules.h"
#include "NetworkSelection.h"
#include "PcRules.h"
#include "StringList2.h"
#include "TableImage.h"
#include "store/HistoryRecorder.h"

#include <QStringList>
#include <array>
#include <optional>

class ImportChanges;
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
//
// What a file changed is recorded in the history (History.h) in the same
// transaction: a line per changed value and per row added or removed, one
// line for a PC added (its detail rows make none). A history that cannot
// be written throws StoreError out of ImportFile: the caller must then
// drop the file's transaction, so that the file's rows and its lines are
// both in the store or neither is.
//
// The PC row takes the network fields of its chosen adapter (see
// NetworkChooser) at the end of its file, as the run's network selection
// would give them afterwards, so that a file changes those fields only
// when the selection's result changes.
//
// A dry run writes nothing, takes no claims and records no history: the
// changes go to the ImportChanges given instead.
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
    // The networks whose adapter a PC shows (none by default).
    void setNetworks(const NetworkPair &network1, const NetworkPair &network2)
    {
        m_networks.emplace(network1, network2);
    }
    // A dry run: nothing written, the changes told to changes.
    void setDryRun(ImportChanges *changes);
    bool isDryRun() const { return m_dryRun; }
    // In a dry run, the rows of these PC keys are kept from one file to the
    // next (the store does not keep them), so that a later file of the same
    // PC is told from what an earlier one would have left.
    void setKeptKeys(QSet<QString> keys) { m_kept = std::move(keys); }
    // Whether the changes are recorded in the history (on by default).
    void setRecordsHistory(bool on) { m_recordsHistory = on; }
    // The recorder of the import's history lines.
    HistoryRecorder &history() { return m_history; }

    // Imports one file's lines, the header line at index 0. Throws
    // ImportError (with the line number where a record failed), also when
    // another copy of the program holds the file's PC (PcClaims.h), and
    // StoreError when the history cannot be written (see above).
    void ImportFile(const QStringList &lines);
    // The PC key of the last file imported completely; empty after a
    // failure.
    QString lastPcKey() const { return m_lastPcKey; }

    // The PC keys of a file's first and last records (one when they are the
    // same), the PCs whose rows the file writes; records that cannot be
    // read are left out.
    QStringList pcKeys(const QStringList &lines);

private:
    // The PC table's image and the six detail tables', in that order.
    std::array<TableImage *, 7> tables()
    {
        return {&m_pc, &m_appli, &m_printer, &m_drive, &m_share, &m_lan, &m_memory};
    }
    // Returns the key of the PC the file adds; empty when it was there.
    QString importLines(const QStringList &lines);
    void chooseNetwork(TableImage::Row &pc, const QVariant &pcKey);
    // Writes what the rules left before a failure; the error's text gains
    // the store's when that fails too.
    void flushAfterFailure(ImportError &error);
    void recordChanges(const QString &newPc);
    void flushDetails();
    void forgetAll();

    TDMdata &m_dm;
    bool m_appliDel = true;
    bool m_dryRun = false;
    bool m_recordsHistory = true;
    ImportChanges *m_changes = nullptr;
    HistoryRecorder m_history;
    std::optional<NetworkChooser> m_networks;
    QString m_lastPcKey;
    QSet<QString> m_kept;
    TableImage m_pc;
    TableImage m_appli;
    TableImage m_printer;
    TableImage m_drive;
    TableImage m_share;
    TableImage m_lan;
    TableImage m_memory;
    PcRules m_pcRules;
    DetailRules m_details;
    TStringList2 m_fields;
    int m_line = 0; // line of the record being processed
};
