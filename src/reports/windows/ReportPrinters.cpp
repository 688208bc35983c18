#include "ReportPrinters.h"

#include "PrinterDevice.h"
#include "layout/PdfFileDevice.h"

#include <QActionGroup>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPrintDialog>
#include <QPrinterInfo>

ReportPrinters::ReportPrinters(QMenu *menu, QWidget *window)
    : QObject(window), m_menu(menu), m_window(window), m_group(new QActionGroup(this)),
      m_printer(QPrinter::HighResolution)
{
    m_saveDialog = [](QWidget *owner, const QString &caption, const QString &fileName,
                      const QString &filter) {
        return QFileDialog::getSaveFileName(owner, caption, fileName, filter);
    };
    m_group->setExclusive(true);
    QStringList names = QPrinterInfo::availablePrinterNames();
    names << pdfCaption();
    for (const QString &name : names)
        entry(name);
    const QString standard = QPrinterInfo::defaultPrinterName();
    choose(!standard.isEmpty() && names.contains(standard) ? standard : pdfCaption());
}

ReportPrinters::~ReportPrinters() = default;

QString ReportPrinters::pdfCaption()
{
    return QStringLiteral("PDFファイル");
}

QAction *ReportPrinters::entry(const QString &caption)
{
    for (QAction *action : m_group->actions()) {
        if (action->text() == caption)
            return action;
    }
    QAction *action = m_menu->addAction(caption);
    action->setCheckable(true);
    m_group->addAction(action);
    connect(action, &QAction::triggered, this, [this, caption] { choose(caption); });
    return action;
}

QStringList ReportPrinters::captions() const
{
    QStringList list;
    for (const QAction *action : m_group->actions())
        list << action->text();
    return list;
}

void ReportPrinters::choose(const QString &caption)
{
    // A printer the print dialog found that the list lacked joins it.
    entry(caption)->setChecked(true);
    m_current = caption;
    if (caption != pdfCaption()) {
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setPrinterName(caption);
    }
}

void ReportPrinters::setup()
{
    if (m_current == pdfCaption()) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
        m_printer.setOutputFileName(m_pdfFileName);
    }
    QPrintDialog dialog(&m_printer, m_window);
    // The page range is the report window's.
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    if (dialog.exec() != QDialog::Accepted)
        return;
    if (m_printer.outputFormat() == QPrinter::PdfFormat) {
        m_pdfFileName = m_printer.outputFileName();
        choose(pdfCaption());
    } else {
        choose(m_printer.printerName());
    }
}

std::unique_ptr<PrintDevice> ReportPrinters::deviceForPrint()
{
    if (m_current != pdfCaption())
        return std::make_unique<PrinterDevice>(m_printer);
    QString name = m_saveDialog(m_window, QStringLiteral("PDFファイルに印刷"), m_pdfFileName,
                                QStringLiteral("PDFファイル(*.pdf)"));
    if (name.isEmpty())
        return nullptr;
    if (QFileInfo(name).suffix().isEmpty())
        name += QStringLiteral(".pdf");
    m_pdfFileName = name;
    return std::make_unique<PdfFileDevice>(name);
}
