#include "PcSheetReport.h"

#include "MasterQuery.h"
#include "PcSheetLayout.h"
#include "ReportRows.h"
#include "base/DateText.h"
#include "layout/DisplayMask.h"
#include "layout/LRPanel.h"
#include "layout/LightRep.h"
#include "layout/LightRepEx2.h"
#include "store/UDMdata.h"

namespace {

const QString Thousands = QStringLiteral("#,#");

// A number as "#,#" (nothing for 0 or no value).
QString thousands(const QVariant &value)
{
    return DisplayMask::formatNumber(value.toDouble(), Thousands);
}

QStringList driveLines(const ReportRows &rows)
{
    QStringList lines;
    for (int i = 0; i < rows.size(); ++i) {
        lines << rows.text(i, QStringLiteral("Drive")) + u'(' + rows.text(i, QStringLiteral("Type"))
                + u')' + QStringLiteral("　全容量 ")
                + thousands(rows.value(i, QStringLiteral("Capa"))) + u' '
                + rows.text(i, QStringLiteral("Capa_Tani")) + QStringLiteral("　使用領域 ")
                + thousands(rows.value(i, QStringLiteral("Used"))) + u' '
                + rows.text(i, QStringLiteral("Used_Tani")) + QStringLiteral("　空き領域 ")
                + thousands(rows.value(i, QStringLiteral("Free"))) + u' '
                + rows.text(i, QStringLiteral("Free_Tani"));
    }
    return lines;
}

QStringList printerLines(const ReportRows &rows)
{
    QStringList lines;
    for (int i = 0; i < rows.size(); ++i) {
        QString line = rows.text(i, QStringLiteral("Printer"));
        const QString port = rows.text(i, QStringLiteral("Port"));
        if (!port.isEmpty())
            line += u'(' + port + u')';
        lines << line + QStringLiteral("    ") + rows.text(i, QStringLiteral("Biko"));
    }
    return lines;
}

QStringList appliLines(const ReportRows &rows)
{
    QStringList lines;
    for (int i = 0; i < rows.size(); ++i) {
        QString line = rows.text(i, QStringLiteral("Appli"));
        const QString ver = rows.text(i, QStringLiteral("Ver"));
        if (!ver.isEmpty())
            line += u'(' + ver + u')';
        lines << line;
    }
    return lines;
}

} // namespace

PcSheetReport::PcSheetReport(TDMdata &dm, const ReportStatement &master)
    : m_dm(dm), m_page(std::make_unique<TLightRep>()),
      m_qpc(new MasterQuery(dm, TableId::PC, master, m_page.get())),
      m_layout(std::make_unique<PcSheetLayout>(*m_page, *m_qpc)),
      m_clock([] { return QDateTime::currentDateTime(); })
{
    m_qpc->setObjectName(QStringLiteral("Qpc"));
    m_layout->panel()->BeforePrint
        = [this](TLRLayoutPanel *, const QRect &, TLRLayoutPanel::PrintStatus &) {
              LRLayoutPanel1BeforePrint();
          };
    m_layout->panel()->AfterPrint = [this](TLRLayoutPanel *) { LRLayoutPanel1AfterPrint(); };
    // Lines are counted as the free-text area wraps them.
    m_freeText.setWrap(
        [area = m_layout->freeText()](const QString &line) { return area->wrapLines(line); });
    QObject::connect(m_qpc, &LRDataSet::currentRowChanged, m_qpc, [this] { loadDetails(); });
}

PcSheetReport::~PcSheetReport() = default;

ReportStatement PcSheetReport::allPcs()
{
    ReportStatement statement;
    statement.lines << QStringLiteral("SELECT * FROM PC") << QStringLiteral("ORDER BY KEY");
    return statement;
}

ReportStatement PcSheetReport::selectedPcs(const QStringList &keys)
{
    ReportStatement statement;
    if (keys.isEmpty())
        return statement;
    if (keys.size() > MaxBoundKeys) {
        // More parameters than every engine binds: all PCs in the store's
        // key order, the others passed over.
        statement = allPcs();
        statement.onlyKeys = QSet<QString>(keys.cbegin(), keys.cend());
        return statement;
    }
    statement.lines << QStringLiteral("SELECT * FROM PC") << QStringLiteral("WHERE KEY in (");
    for (int i = 0; i < keys.size(); ++i) {
        const QString name = QStringLiteral("KEY%1").arg(i + 1);
        if (i > 0)
            statement.lines << QStringLiteral(", ");
        statement.lines << u':' + name;
        statement.params.insert(name, keys[i]);
    }
    statement.lines << QStringLiteral(") ORDER BY KEY");
    return statement;
}

TLightRep &PcSheetReport::page()
{
    return *m_page;
}

LRDataSet *PcSheetReport::master()
{
    return m_qpc;
}

void PcSheetReport::loadDetails()
{
    if (m_qpc->eof())
        return;
    if (!m_detailsPrepared) {
        m_qdrive
            = m_dm.prepare(QStringLiteral("SELECT * FROM DRIVE\nWHERE KEY = :KEY\nORDER BY Drive"));
        m_qprinter = m_dm.prepare(
            QStringLiteral("SELECT * FROM PRINTER\nWHERE KEY = :KEY\nORDER BY Printer"));
        m_qappli
            = m_dm.prepare(QStringLiteral("SELECT * FROM APPLI\nWHERE KEY = :KEY\nORDER BY APPLI"));
        m_detailsPrepared = true;
    }
    const QVariant key = m_qpc->value(QStringLiteral("Key"));
    PcSheetFreeText::Sections sections;
    m_qdrive.bindValue(QStringLiteral(":KEY"), key);
    sections.drives = driveLines(ReportRows::read(m_qdrive, Schema::table(TableId::Drive)));
    m_qprinter.bindValue(QStringLiteral(":KEY"), key);
    sections.printers = printerLines(ReportRows::read(m_qprinter, Schema::table(TableId::Printer)));
    m_qappli.bindValue(QStringLiteral(":KEY"), key);
    sections.applis = appliLines(ReportRows::read(m_qappli, Schema::table(TableId::Appli)));
    sections.remarks = PcSheetFreeText::remarkLines(m_qpc->displayText(QStringLiteral("Biko")));
    m_freeText.startPc(sections);
}

QString PcSheetReport::valueText(int content, const QString &field) const
{
    switch (PcSheetLayout::Content(content)) {
    case PcSheetLayout::Content::Field:
    case PcSheetLayout::Content::Bound:
        return m_qpc->displayText(field);
    case PcSheetLayout::Content::Date:
        return DateText::ymdNoPad(m_qpc->value(field).toDate());
    case PcSheetLayout::Content::Memory:
        return thousands(m_qpc->value(QStringLiteral("Mem_All"))) + u' '
            + m_qpc->displayText(QStringLiteral("Mem_All_Tani"));
    case PcSheetLayout::Content::Clock:
        return thousands(m_qpc->value(QStringLiteral("CPU_Clock"))) + u' '
            + m_qpc->displayText(QStringLiteral("CPU_Clock_Tani"));
    }
    return QString();
}

void PcSheetReport::LRLayoutPanel1BeforePrint()
{
    m_layout->dateItem()->setText(DateText::ymdHnNoPad(m_clock()));
    m_layout->keyItem()->setText(QStringLiteral("KEY:")
                                 + m_qpc->displayText(QStringLiteral("Key")));
    for (const PcSheetLayout::Value &v : m_layout->values()) {
        // Bound boxes follow the master by themselves.
        if (v.content != PcSheetLayout::Content::Bound)
            v.item->setText(valueText(int(v.content), v.field));
    }
    m_layout->freeText()->setText(m_freeText.fillPage());
    m_layout->sheetOfPcItem()->setText(
        m_freeText.pageCount() > 1
            ? QStringLiteral("%1/%2").arg(m_freeText.page()).arg(m_freeText.pageCount())
            : QString());
}

void PcSheetReport::LRLayoutPanel1AfterPrint()
{
    if (m_freeText.PcDone())
        m_qpc->next();
}
