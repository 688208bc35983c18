#pragma once

#include <QDialog>
#include <functional>
#include <memory>

class LRReport;
class QAction;
class QActionGroup;
class QLabel;
class QLineEdit;
class QMenu;
class QScrollArea;
class ReportPrinters;
class TLRPreviewControl;
class TLRPreviewThread;

// The window from which a page-layout report is previewed and printed. A
// report window derives from it and makes its report (page and master data
// set); the frame produces the pages, shows them one at a time, lets the
// user page through them, choose a printer and a page range, and prints.
//
// The preview and every print get a report of their own: printing starts
// from the first row whatever the preview has produced, and leaves the
// preview able to go on. Pages are produced on the user-interface thread,
// the remaining preview pages by a background producer between the user's
// commands.
class TBaseLRep : public QDialog
{
    Q_OBJECT

public:
    explicit TBaseLRep(QWidget *parent = nullptr);
    ~TBaseLRep() override;

    // Shows the window and starts the preview.
    void StartPreview();
    // The preview's master data set is past its last row (or there is no
    // preview).
    bool IsReportDone() const;

    // The printers of "プリンタの変更(&C)".
    ReportPrinters &printers() const { return *m_printers; }

    // The report of the preview; null before the first preview.
    LRReport *previewReport() const { return m_report.get(); }
    TLRPreviewControl &LRPreviewControl1() const { return *m_preview; }
    TLRPreviewThread &previewThread() const { return *m_thread; }
    QString counterText() const;

    QAction *ActPreview;
    QAction *ActPrint;
    QAction *ActPrinterSetup;
    QAction *ActExit;
    QAction *ActFirstPage;
    QAction *ActPriorPage;
    QAction *ActNextPage;
    QAction *ActLastPage;
    QAction *ActPause;
    QLineEdit *Edit1; // first page to print
    QLineEdit *Edit2; // last page to print

protected:
    // A fresh report for the preview or for one print.
    virtual std::unique_ptr<LRReport> createReport() = 0;
    // Sizes the window and the page image for pages of this size in units
    // (A4 portrait unless a report window says otherwise).
    void fitToPage(const QSize &units);

    void showEvent(QShowEvent *event) override;
    void done(int result) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void FormCreate();
    void buildMenus();
    QWidget *buildToolBar();
    void adoptTitle(LRReport &report);
    // The report made and moved to its first row; null (after telling the
    // user, with beforeMessage run first) when it has no data set or no
    // rows, or the store failed.
    std::unique_ptr<LRReport> preparedReport(const std::function<void()> &beforeMessage = {});

    void ActPreviewExecute();
    void ActPrintExecute();
    void ActNextPageExecute();
    bool produceInBackground();
    void stopPreviewThread();

    // Takes a changed page box; false (focus kept there) when its text is
    // no integer.
    bool commitPageBox(QLineEdit *box);
    void showPageNumber(QLineEdit *box, int page);

    void updateCounter();
    void updateActions();
    void showImage(const QImage &image);
    void showError(const QString &text);

    std::unique_ptr<LRReport> m_report;
    TLRPreviewControl *m_preview;
    TLRPreviewThread *m_thread;
    bool m_previewStarted = false;

    int m_firstPage = 0;
    int m_lastPage = 0;
    bool m_checkingBox = false;

    ReportPrinters *m_printers = nullptr;
    QLineEdit *m_counter = nullptr;
    QScrollArea *m_scroll = nullptr;
    QLabel *Image1 = nullptr;
};
