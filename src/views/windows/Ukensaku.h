#pragma once

#include "kit/Unit1.h"
#include "views/LedgerSearch.h"

#include <functional>

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
    // "検索": reads the ledger when it has not yet, then shows the matches.
    void KensakuBTNClick();

signals:
    // A match was opened and changed (the main window refreshes its views).
    void ledgerChanged();

private:
    void openItem(QTreeWidgetItem *item);
    bool openHit(const LedgerSearch::Hit &hit);

    TDMdata &m_dm;
    QLineEdit *m_edit;
    QLabel *m_countLBL;
    QTreeWidget *m_results;
    LedgerSearch m_search;
    bool m_loaded = false;
    QList<LedgerSearch::Hit> m_hits;
    Opener m_opener;
};
