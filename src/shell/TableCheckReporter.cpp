#include "TableCheckReporter.h"

#include "import/windows/Uip16Upd.h"
#include "kit/Unit1.h"

TableCheckReporter::TableCheckReporter(TForm1 &window, TDMdata &dm) : m_window(window), m_dm(dm) { }

void TableCheckReporter::status(const QString &text)
{
    m_window.setStatusText(text);
}

void TableCheckReporter::ip16BackfillNeeded(int count)
{
    TFip16Upd backfill(m_dm, count, m_window.paths(), &m_window);
    backfill.exec();
}
