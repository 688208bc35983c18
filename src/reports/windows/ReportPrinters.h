#pragma once

#include <QObject>
#include <QPrinter>
#include <functional>
#include <memory>

class PrintDevice;
class QAction;
class QActionGroup;
class QMenu;
class QWidget;

// The printers a report can print on, as the radio entries of a menu: the
// installed printers and a PDF file, which is always offered, so a report
// can be saved on a machine without a print server. The system's default
// printer is chosen at first (the PDF file when there is none).
class ReportPrinters : public QObject
{
    Q_OBJECT

public:
    // Asks for the PDF file: the chosen name, empty when cancelled.
    using SaveDialog = std::function<QString(QWidget *parent, const QString &caption,
                                             const QString &fileName, const QString &filter)>;

    // Fills menu; dialogs open over window.
    ReportPrinters(QMenu *menu, QWidget *window);
    ~ReportPrinters() override;

    static QString pdfCaption();
    QStringList captions() const;
    QString current() const { return m_current; }
    void choose(const QString &caption);

    // Qt's print dialog on the chosen printer; what the user picks there
    // (a printer, or a file) becomes the choice.
    void setup();

    void setSaveDialog(SaveDialog dialog) { m_saveDialog = std::move(dialog); }
    // The device of one print job: the chosen printer, or the PDF file the
    // user names (".pdf" added to a name without extension, the last name
    // offered again); null when the user cancels.
    std::unique_ptr<PrintDevice> deviceForPrint();

private:
    QAction *entry(const QString &caption);

    QMenu *m_menu;
    QWidget *m_window;
    QActionGroup *m_group;
    QPrinter m_printer;
    QString m_current;
    QString m_pdfFileName;
    SaveDialog m_saveDialog;
};
