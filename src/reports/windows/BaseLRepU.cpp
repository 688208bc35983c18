#include "BaseLRepU.h"

#include "PrintMsgU.h"
#include "ReportPrinters.h"
#include "kit/MessageBoxes.h"
#include "kit/WaitCursor.h"
#include "layout/LRDataSet.h"
#include "layout/LRPrvSpl.h"
#include "layout/LayoutError.h"
#include "layout/LightRep.h"
#include "layout/PdfFileDevice.h"
#include "reports/LRPreviewThread.h"
#include "reports/LRReport.h"
#include "reports/ReportRun.h"
#include "store/StoreError.h"

#include <QAction>
#include <QApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollArea>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QAction *action(QWidget *owner, const QString &name, const QString &caption,
                const QKeySequence &shortcut = {})
{
    auto *a = new QAction(caption, owner);
    a->setObjectName(name);
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

} // namespace

TBaseLRep::TBaseLRep(QWidget *parent)
    : QDialog(parent), m_preview(new TLRPreviewControl(this)),
      m_thread(new TLRPreviewThread([this] { return produceInBackground(); }, this))
{
    setObjectName(QStringLiteral("BaseLRep"));
    setWindowFlags(Qt::Window);

    ActPreview = action(this, QStringLiteral("ActPreview"), QStringLiteral("画面表示(&V)"),
                        QKeySequence(Qt::CTRL | Qt::Key_V));
    ActPrint = action(this, QStringLiteral("ActPrint"), QStringLiteral("印刷(&P)"),
                      QKeySequence(Qt::CTRL | Qt::Key_P));
    ActPrinterSetup = action(this, QStringLiteral("ActPrinterSetup"), QStringLiteral("ﾌﾟﾘﾝﾀ設定"));
    ActExit = action(this, QStringLiteral("ActExit"), QStringLiteral("終了(&X)"));
    ActFirstPage = action(this, QStringLiteral("ActFirstPage"), QStringLiteral("先頭ページ(&F)"),
                          QKeySequence(Qt::CTRL | Qt::Key_F));
    ActNextPage = action(this, QStringLiteral("ActNextPage"), QStringLiteral("次ページ(&N)"),
                         QKeySequence(Qt::CTRL | Qt::Key_N));
    ActPriorPage = action(this, QStringLiteral("ActPriorPage"), QStringLiteral("前ページ(&R)"),
                          QKeySequence(Qt::CTRL | Qt::Key_R));
    ActLastPage = action(this, QStringLiteral("ActLastPage"), QStringLiteral("最終ページ(&L)"),
                         QKeySequence(Qt::CTRL | Qt::Key_L));
    ActPause = action(this, QStringLiteral("ActPause"), QStringLiteral("一時停止(&S)"),
                      QKeySequence(Qt::CTRL | Qt::Key_S));
    ActPause->setCheckable(true);

    connect(ActPreview, &QAction::triggered, this, &TBaseLRep::ActPreviewExecute);
    connect(ActPrint, &QAction::triggered, this, &TBaseLRep::ActPrintExecute);
    connect(ActExit, &QAction::triggered, this, &QDialog::reject);
    connect(ActNextPage, &QAction::triggered, this, &TBaseLRep::ActNextPageExecute);
    connect(ActPriorPage, &QAction::triggered, this, [this] {
        m_preview->ShowPrior();
        updateCounter();
    });
    connect(ActFirstPage, &QAction::triggered, this, [this] {
        m_preview->ShowFirst();
        updateCounter();
    });
    connect(ActLastPage, &QAction::triggered, this, [this] {
        m_preview->ShowLast();
        updateCounter();
    });
    connect(ActPause, &QAction::triggered, this, [this](bool paused) {
        m_thread->setPaused(paused);
        updateActions();
    });
    connect(m_preview, &TLRPreviewControl::shown, this, &TBaseLRep::showImage);
    connect(m_thread, &TLRPreviewThread::finished, this, &TBaseLRep::updateActions);

    Image1 = new QLabel;
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Image1->setStyleSheet(QStringLiteral("background: white"));
    m_scroll = new QScrollArea(this);
    m_scroll->setWidget(Image1);
    m_scroll->setAlignment(Qt::AlignHCenter | Qt::AlignTop);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    buildMenus();
    layout->addWidget(buildToolBar());
    layout->addWidget(m_scroll, 1);

    FormCreate();
    updateActions();
}

TBaseLRep::~TBaseLRep()
{
    m_thread->terminate();
}

void TBaseLRep::buildMenus()
{
    auto *bar = new QMenuBar(this);
    QMenu *file = bar->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->addAction(ActPreview);
    // Shown, but never enabled.
    QMenu *zoom = file->addMenu(QStringLiteral("縮小表示(&S)"));
    zoom->setObjectName(QStringLiteral("ZoomMenu"));
    for (const QString &caption :
         {QStringLiteral("80%(&8)"), QStringLiteral("50%(&5)"), QStringLiteral("25%(&2)")})
        zoom->addAction(caption)->setEnabled(false);
    zoom->menuAction()->setEnabled(false);
    file->addAction(ActPrint);
    file->addSeparator();
    file->addAction(ActPrinterSetup);
    QMenu *printers = file->addMenu(QStringLiteral("プリンタの変更(&C)"));
    printers->setObjectName(QStringLiteral("PrinterMenu"));
    m_printers = new ReportPrinters(printers, this);
    connect(ActPrinterSetup, &QAction::triggered, m_printers, &ReportPrinters::setup);
    file->addSeparator();
    file->addAction(ActExit);

    QMenu *move = bar->addMenu(QStringLiteral("移動(&M)"));
    move->addAction(ActFirstPage);
    move->addAction(ActNextPage);
    move->addAction(ActPriorPage);
    move->addAction(ActLastPage);
    move->addAction(ActPause);
    static_cast<QVBoxLayout *>(layout())->setMenuBar(bar);
}

QWidget *TBaseLRep::buildToolBar()
{
    auto *bar = new QWidget(this);
    auto *row = new QHBoxLayout(bar);
    row->setContentsMargins(4, 2, 4, 2);
    // A button with its own caption that carries an action and its state.
    const auto button = [&](const QString &caption, QAction *carried, const QString &hint) {
        auto *b = new QToolButton(bar);
        b->setText(caption);
        b->setToolTip(hint);
        b->setCheckable(carried->isCheckable());
        connect(b, &QToolButton::clicked, carried, [carried](bool checked) {
            // Triggering a checkable action turns it to the button's state.
            if (carried->isCheckable())
                carried->setChecked(!checked);
            carried->trigger();
        });
        connect(carried, &QAction::changed, b, [b, carried] {
            b->setEnabled(carried->isEnabled());
            b->setChecked(carried->isChecked());
        });
        row->addWidget(b);
    };
    button(QStringLiteral("<<"), ActFirstPage, QStringLiteral("先頭ページ"));
    button(QStringLiteral("<"), ActPriorPage, QStringLiteral("前ページ"));
    m_counter = new QLineEdit(bar);
    m_counter->setObjectName(QStringLiteral("CounterEDT"));
    m_counter->setReadOnly(true);
    m_counter->setFocusPolicy(Qt::NoFocus);
    m_counter->setAlignment(Qt::AlignCenter);
    m_counter->setFixedWidth(90);
    row->addWidget(m_counter);
    button(QStringLiteral(">"), ActNextPage, QStringLiteral("次ページ"));
    button(QStringLiteral(">>"), ActLastPage, QStringLiteral("最終ページ"));
    button(QStringLiteral("||"), ActPause, QStringLiteral("一時停止"));
    row->addSpacing(16);
    row->addWidget(new QLabel(QStringLiteral("印刷範囲"), bar));
    Edit1 = new QLineEdit(bar);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    row->addWidget(Edit1);
    row->addWidget(new QLabel(QStringLiteral("～"), bar));
    Edit2 = new QLineEdit(bar);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    row->addWidget(Edit2);
    for (QLineEdit *box : {Edit1, Edit2}) {
        box->setFixedWidth(60);
        box->setAlignment(Qt::AlignRight);
        box->installEventFilter(this);
    }
    row->addStretch();
    return bar;
}

void TBaseLRep::FormCreate()
{
    fitToPage(TLightRep::paperUnits(TPaperSize::psA4));
    m_counter->clear();
    Edit1->clear();
    Edit2->clear();
}

void TBaseLRep::fitToPage(const QSize &units)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const QRect available = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const int width = units.width() + 60;
    move(available.topLeft());
    resize(qMin(width, available.width()), qMax(200, available.height() - 32));
    setWindowState(available.width() < width ? windowState() | Qt::WindowMaximized
                                             : windowState() & ~Qt::WindowMaximized);
    Image1->setFixedSize(units);
}

void TBaseLRep::adoptTitle(LRReport &report)
{
    TLightRep &page = report.page();
    if (!page.Title().isEmpty())
        setWindowTitle(page.Title());
    else
        page.setTitle(windowTitle());
}

void TBaseLRep::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_previewStarted) {
        m_previewStarted = true;
        // Once the window is on the screen, so the hourglass and the first
        // page appear over it.
        QTimer::singleShot(0, this, &TBaseLRep::StartPreview);
    }
}

void TBaseLRep::StartPreview()
{
    m_previewStarted = true;
    if (!isVisible())
        show();
    ActPreview->trigger();
}

void TBaseLRep::done(int result)
{
    m_thread->terminate();
    QDialog::done(result);
}

bool TBaseLRep::IsReportDone() const
{
    return !m_report || ReportRun::isReportDone(*m_report);
}

void TBaseLRep::stopPreviewThread()
{
    if (m_thread->isRunning())
        m_thread->terminate();
    ActPause->setChecked(false);
}

void TBaseLRep::showError(const QString &text)
{
    WaitCursor::Pause normal;
    MessageBoxes::error(this, text);
}

std::unique_ptr<LRReport> TBaseLRep::preparedReport(const std::function<void()> &beforeMessage)
{
    std::unique_ptr<LRReport> report = createReport();
    adoptTitle(*report);
    ReportRun::Readiness readiness = ReportRun::Readiness::Ready;
    try {
        readiness = ReportRun::prepare(*report);
    } catch (const StoreError &e) {
        if (beforeMessage)
            beforeMessage();
        showError(e.message());
        return nullptr;
    }
    if (readiness != ReportRun::Readiness::Ready) {
        if (beforeMessage)
            beforeMessage();
        QApplication::beep();
        showError(ReportRun::message(readiness));
        return nullptr;
    }
    return report;
}

void TBaseLRep::ActPreviewExecute()
{
    WaitCursor wait;
    stopPreviewThread();
    std::unique_ptr<LRReport> report = preparedReport();
    if (!report) {
        updateActions();
        return;
    }
    m_preview->setLightRep(nullptr);
    m_report = std::move(report);
    Image1->clear();
    try {
        m_preview->setLightRep(&m_report->page());
        // Pages are drawn for the screen's pixels, sharp on a dense one.
        m_preview->setZoom(devicePixelRatioF());
        m_preview->Reset();
        m_preview->ShowNext();
    } catch (const LayoutError &e) {
        showError(e.message());
    } catch (const StoreError &e) {
        showError(e.message());
    }
    updateCounter();
    repaint();
    if (!IsReportDone())
        m_thread->start();
    ActPause->setChecked(false);
    updateActions();
}

bool TBaseLRep::produceInBackground()
{
    if (IsReportDone())
        return false;
    try {
        m_preview->ProduceNext();
    } catch (const LayoutError &e) {
        m_thread->terminate();
        showError(e.message());
        updateActions();
        return false;
    } catch (const StoreError &e) {
        m_thread->terminate();
        showError(e.message());
        updateActions();
        return false;
    }
    updateCounter();
    return !IsReportDone();
}

void TBaseLRep::ActNextPageExecute()
{
    if (m_preview->ImageCount() > 0 && m_preview->AtLast() && IsReportDone())
        return;
    WaitCursor wait;
    try {
        m_preview->ShowNext();
    } catch (const LayoutError &e) {
        showError(e.message());
    } catch (const StoreError &e) {
        showError(e.message());
    }
    updateCounter();
}

void TBaseLRep::ActPrintExecute()
{
    // A page number just typed takes effect first.
    auto *focused = qobject_cast<QLineEdit *>(focusWidget());
    if ((focused == Edit1 || focused == Edit2) && !commitPageBox(focused))
        return;

    std::unique_ptr<PrintDevice> device = m_printers->deviceForPrint();
    if (!device)
        return;
    auto *pdf = dynamic_cast<PdfFileDevice *>(device.get());

    WaitCursor wait;
    QPointer<TPrintMsg> message = new TPrintMsg(this);
    message->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    const auto closeMessage = [&] {
        if (message)
            message->close();
    };
    // The preview goes on after the print.
    const bool resume = m_thread->isRunning() && !m_thread->isPaused();
    if (resume)
        m_thread->setPaused(true);

    bool failed = false;
    bool opened = false;
    QString error;
    std::unique_ptr<LRReport> report = preparedReport(closeMessage);
    if (report) {
        report->page().setFirstPage(m_firstPage);
        report->page().setLastPage(m_lastPage);
        try {
            if (pdf) {
                if (!pdf->open())
                    throw LayoutError(pdf->errorText());
                opened = true;
            }
            ReportRun::print(*report, *device, [] {
                QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            });
            if (pdf && !pdf->close())
                throw LayoutError(pdf->errorText());
        } catch (const LayoutError &e) {
            failed = true;
            error = e.message();
        } catch (const StoreError &e) {
            failed = true;
            error = e.message();
        }
        if (failed && opened) {
            // No half-printed file is left behind; an earlier file of the
            // name stays as it was.
            pdf->discard();
        }
    }
    closeMessage();
    if (failed)
        showError(error);
    if (resume)
        m_thread->setPaused(false);
    updateActions();
}

bool TBaseLRep::eventFilter(QObject *watched, QEvent *event)
{
    auto *box = qobject_cast<QLineEdit *>(watched);
    if (box && (box == Edit1 || box == Edit2)) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
                if (key->modifiers() & Qt::ShiftModifier)
                    focusPreviousChild();
                else
                    focusNextChild();
                return true;
            }
        } else if (event->type() == QEvent::FocusOut && !m_checkingBox) {
            commitPageBox(box);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool TBaseLRep::commitPageBox(QLineEdit *box)
{
    if (!box->isModified())
        return true;
    QString text = box->text().trimmed();
    if (text.isEmpty())
        text = QStringLiteral("0");
    bool ok = false;
    const int page = text.toInt(&ok);
    if (!ok) {
        m_checkingBox = true;
        QApplication::beep();
        showError(QStringLiteral("'%1' は有効な整数値ではありません").arg(box->text()));
        box->setFocus();
        box->selectAll();
        // The focus comes back to the box once the change that left it has
        // run its course.
        QTimer::singleShot(0, box, [box] {
            box->setFocus();
            box->selectAll();
        });
        m_checkingBox = false;
        return false;
    }
    box->setModified(false);
    (box == Edit1 ? m_firstPage : m_lastPage) = page;
    showPageNumber(box, page);
    if (page > 0) {
        if (m_preview->GoToPage(page))
            updateCounter();
        else
            QApplication::beep();
    }
    return true;
}

void TBaseLRep::showPageNumber(QLineEdit *box, int page)
{
    box->setText(page == 0 ? QString() : QString::number(page));
}

QString TBaseLRep::counterText() const
{
    return m_counter->text();
}

void TBaseLRep::updateCounter()
{
    m_counter->setText(
        QStringLiteral("%1/%2").arg(m_preview->CurrentImage()).arg(m_preview->ImageCount()));
    updateActions();
}

void TBaseLRep::updateActions()
{
    const int images = m_preview->ImageCount();
    const bool more
        = m_report && m_report->master() && m_report->master()->isOpen() && !IsReportDone();
    const bool forward = more || (images > 0 && !m_preview->AtLast());
    ActNextPage->setEnabled(forward);
    ActLastPage->setEnabled(forward);
    const bool back = images > 0 && !m_preview->AtFirst();
    ActPriorPage->setEnabled(back);
    ActFirstPage->setEnabled(back);
    ActPause->setEnabled(m_thread->isRunning());
}

void TBaseLRep::showImage(const QImage &image)
{
    Image1->setFixedSize(image.deviceIndependentSize().toSize());
    Image1->setPixmap(QPixmap::fromImage(image));
}
