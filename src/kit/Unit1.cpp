#include "Unit1.h"

#include "MessageBoxes.h"
#include "base/IniFile.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTableView>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindowStateChangeEvent>

namespace {

constexpr int NamePanelWidth = 100;
constexpr int TextPanelWidth = 50;

WindowPlacement::State placementState(Qt::WindowStates states)
{
    if (states & Qt::WindowMaximized)
        return WindowPlacement::State::Maximized;
    if (states & Qt::WindowMinimized)
        return WindowPlacement::State::Minimized;
    return WindowPlacement::State::Normal;
}

Qt::WindowState qtState(WindowPlacement::State state)
{
    switch (state) {
    case WindowPlacement::State::Maximized:
        return Qt::WindowMaximized;
    case WindowPlacement::State::Minimized:
        return Qt::WindowMinimized;
    case WindowPlacement::State::Normal:
        break;
    }
    return Qt::WindowNoState;
}

bool isEnterKey(const QKeyEvent *event)
{
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    return (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        && modifiers == Qt::NoModifier;
}

// True for a widget that lives inside an item view, such as a grid's cell
// editor: Enter there finishes the edit as the view defines it.
bool isInsideItemView(const QWidget *widget)
{
    for (const QWidget *w = widget->parentWidget(); w && !w->isWindow(); w = w->parentWidget()) {
        if (qobject_cast<const QAbstractItemView *>(w))
            return true;
    }
    return false;
}

} // namespace

TForm1::TForm1(const QString &internalName, const ProgramPaths &paths, QWidget *parent)
    : QDialog(parent), m_internalName(internalName), m_paths(paths), m_placement(internalName),
      m_layout(new QVBoxLayout(this)), m_content(new QWidget(this)),
      m_statusBar(new QStatusBar(this)), m_namePanel(new QLabel(m_statusBar)),
      m_textPanel(new QLabel(m_statusBar))
{
    setObjectName(internalName);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(m_content, 1);
    m_layout->addWidget(m_statusBar);

    m_namePanel->setObjectName(QStringLiteral("StatusNamePanel"));
    m_namePanel->setFixedWidth(NamePanelWidth);
    m_textPanel->setObjectName(QStringLiteral("StatusTextPanel"));
    m_textPanel->setMinimumWidth(TextPanelWidth);
    m_statusBar->addWidget(m_namePanel);
    m_statusBar->addWidget(m_textPanel, 1);
}

TForm1::~TForm1()
{
    if (m_filterInstalled)
        qApp->removeEventFilter(this);
}

QString TForm1::iniFilePath()
{
    if (m_paths.iniNameFailed())
        MessageBoxes::error(this, QStringLiteral("iniファイル名取得でエラー"));
    return m_paths.iniPath();
}

void TForm1::setResizable(bool resizable)
{
    m_resizable = resizable;
    m_statusBar->setSizeGripEnabled(resizable);
}

void TForm1::setStatusText(const QString &text)
{
    m_textPanel->setText(text);
    // Start-up and long runs set texts without returning to the event loop;
    // paint at once so the user sees them.
    if (m_textPanel->isVisible())
        m_textPanel->repaint();
}

QString TForm1::statusText() const
{
    return m_textPanel->text();
}

void TForm1::setMenuBar(QMenuBar *menuBar)
{
    m_layout->setMenuBar(menuBar);
}

void TForm1::done(int result)
{
    if (isVisible() && m_shownOnce) {
        savePlacement();
        formClose();
    }
    QDialog::done(result);
}

void TForm1::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    if (!m_filterInstalled) {
        qApp->installEventFilter(this);
        m_filterInstalled = true;
    }
    if (m_shownOnce)
        return;
    m_shownOnce = true;
    restorePlacement();
    formShow();
}

void TForm1::hideEvent(QHideEvent *event)
{
    if (m_filterInstalled && !event->spontaneous()) {
        qApp->removeEventFilter(this);
        m_filterInstalled = false;
    }
    QDialog::hideEvent(event);
}

void TForm1::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    const auto *change = static_cast<QWindowStateChangeEvent *>(event);
    const Qt::WindowStates special = Qt::WindowMaximized | Qt::WindowMinimized;
    if (!(change->oldState() & special) || (windowState() & special))
        return;
    // Back to normal from maximized or minimized: the bounds after the
    // restore are the normal bounds. The geometry settles after the event.
    QTimer::singleShot(0, this, [this] {
        if (!(windowState() & (Qt::WindowMaximized | Qt::WindowMinimized)))
            m_placement.rememberBounds(QRect(pos(), size()));
    });
}

void TForm1::keyPressEvent(QKeyEvent *event)
{
    if (!m_closesOnEscape && event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

bool TForm1::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress && watched->isWidgetType()
        && watched == QApplication::focusWidget()) {
        auto *focused = static_cast<QWidget *>(watched);
        if (focused->window() == this && isEnterKey(static_cast<QKeyEvent *>(event)))
            return handleEnter(focused);
    }
    return QDialog::eventFilter(watched, event);
}

bool TForm1::handleEnter(QWidget *focused)
{
    if (auto *grid = qobject_cast<QTableView *>(focused)) {
        moveToNextCell(grid);
        return true;
    }
    // A push button takes Enter as a click; radio buttons and check boxes
    // move on like any other control, so Enter never presses the window's
    // default button behind the user's back.
    if (auto *button = qobject_cast<QPushButton *>(focused)) {
        if (button->isEnabled())
            button->click();
        return true;
    }
    // Memos take Enter as a line break, cell editors as the end of the edit.
    if (qobject_cast<QPlainTextEdit *>(focused) || qobject_cast<QTextEdit *>(focused)
        || isInsideItemView(focused))
        return false;
    focusNextChild();
    return true;
}

void TForm1::moveToNextCell(QTableView *grid)
{
    QAbstractItemModel *model = grid->model();
    if (!model || model->columnCount() == 0)
        return;
    const QHeaderView *header = grid->horizontalHeader();
    const QModelIndex current = grid->currentIndex();
    int row = current.isValid() ? current.row() : 0;
    const int fromVisual = current.isValid() ? header->visualIndex(current.column()) : -1;

    auto nextVisible = [&](int visual) {
        for (int v = visual + 1; v < header->count(); ++v) {
            if (!header->isSectionHidden(header->logicalIndex(v)))
                return header->logicalIndex(v);
        }
        return -1;
    };

    int column = nextVisible(fromVisual);
    if (column < 0) {
        column = nextVisible(-1);
        if (column < 0)
            return;
        if (row + 1 >= model->rowCount() && model->canFetchMore(QModelIndex()))
            model->fetchMore(QModelIndex());
        if (row + 1 < model->rowCount())
            ++row;
    }
    if (row < model->rowCount())
        grid->setCurrentIndex(model->index(row, column));
}

void TForm1::restorePlacement()
{
    IniFile ini(iniFilePath());
    const QScreen *screen = this->screen();
    const QSize screenSize = screen ? screen->geometry().size() : QSize();
    const WindowPlacement::Restored restored = m_placement.restore(ini, screenSize, m_resizable);

    move(restored.topLeft);
    if (m_resizable) {
        QSize size = this->size();
        if (restored.size.width() > 0)
            size.setWidth(restored.size.width());
        if (restored.size.height() > 0)
            size.setHeight(restored.size.height());
        resize(size);
    } else {
        setFixedSize(size());
    }
    if (restored.stateGiven)
        setWindowState(qtState(restored.state));
    m_namePanel->setText(m_internalName);
}

void TForm1::savePlacement()
{
    IniFile ini(iniFilePath());
    m_placement.save(ini, QRect(pos(), size()), placementState(windowState()));
    // A placement that cannot be written is not worth a message on every
    // close; the main window reports a settings file it cannot write.
    ini.updateFile();
}
