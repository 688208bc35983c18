#pragma once

#include "store/TableCheckObserver.h"

class TDMdata;
class TForm1;

// Shows the table check's status texts in a window's status bar and runs
// the IP16 back-fill window when the PC upgrade asks for it.
class TableCheckReporter : public TableCheckObserver
{
public:
    TableCheckReporter(TForm1 &window, TDMdata &dm);

    void status(const QString &text) override;
    void ip16BackfillNeeded(int count) override;

private:
    TForm1 &m_window;
    TDMdata &m_dm;
};
