#pragma once

#include "kit/Unit1.h"
#include "views/LedgerSearch.h"

#include <functional>

class BackgroundReader;
class QLabel;
class QLineEdit;
class QTreeWidget;
class QTreeWidgetItem;
class TDMdata;

// "検索" (「ﾂｰﾙ → 検索...」): one box over the whole ledger (LedgerSearch),
// the matches grouped by what they are, each naming the PC (or the
// contract), the column and the value. A double click opens the PC's
// ledger window, or the lease window for a contract; after its OK the
// ledger is read again and the search repeated.
class TFkensaku : public TForm1
{
    Q_OBJECT

public:
    // Opens what a match names; true when it was changed (OK).
    using Opener = std::function<bool(QWidget *parent, const LedgerSearch::Hit &hit)>;

    TFkensaku(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);

    // Tests open matches themselves.
    void setOpener(Opener opener) { m_opener = std::move(opener); }

    QLineEdit *edit() const { return m_edit; }
    QTreeWidget *results() const { return m_results; }
    // "検索": shows the matches; while the ledger is still being read, once
    // it has been read.
    void KensakuBTNClick();
    // Waits for the ledger's read and shows what waited for it (tests,
    // benchmarks).
    void finishReading();

signals:
    // A match was opened and changed (the main window refreshes its views).
    void ledgerChanged();

private:
    // Reads the ledger on a connection of its own, away from the window's
    // thread (a few seconds at tens of thousands of PCs).
    void startReading();
    void showMatches();
    void openItem(QTreeWidgetItem *item);
    bool openHit(const LedgerSearch::Hit &hit);

    TDMdata &m_dm;
    QLineEdit *m_edit;
    QLabel *m_countLBL;
    QTreeWidget *m_results;
    LedgerSearch m_search;
    BackgroundReader *m_reader;
    bool m_loaded = false;
    // 検索 was asked for while the ledger was being read.
    bool m_searchPending = false;
    QList<LedgerSearch::Hit> m_hits;
    Opener m_opener;
};
