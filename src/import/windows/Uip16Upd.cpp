#include "Uip16Upd.h"

#include "import/Ip16Backfill.h"
#include "kit/MessageBoxes.h"
#include "store/StoreError.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

TFip16Upd::TFip16Upd(TDMdata &dm, int total, const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("Fip16Upd"), paths, parent), m_dm(dm), m_total(total),
      m_message(new QLabel(QStringLiteral("ＩＰアドレス（１６進数）セット中"), contentArea())),
      m_counter(new QLabel(contentArea())),
      m_closeBTN(new QPushButton(QStringLiteral("閉じる"), contentArea()))
{
    setWindowTitle(QStringLiteral("IPｱﾄﾞﾚｽ（16）セット"));
    setResizable(false);
    resize(360, 150);

    m_message->setObjectName(QStringLiteral("MessageLBL"));
    m_counter->setObjectName(QStringLiteral("CountLBL"));
    m_counter->setAlignment(Qt::AlignCenter);
    m_closeBTN->setObjectName(QStringLiteral("CloseBTN"));
    m_closeBTN->setEnabled(false);
    showProgress(0);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_closeBTN);
    buttons->addStretch();

    auto *layout = new QVBoxLayout(contentArea());
    layout->addWidget(m_message, 0, Qt::AlignHCenter);
    layout->addWidget(m_counter, 0, Qt::AlignHCenter);
    layout->addStretch();
    layout->addLayout(buttons);

    connect(m_closeBTN, &QPushButton::clicked, this, &QDialog::accept);
}

QString TFip16Upd::messageText() const
{
    return m_message->text();
}

QString TFip16Upd::counterText() const
{
    return m_counter->text();
}

void TFip16Upd::done(int result)
{
    // The run cannot be left half way; the button closes it afterwards.
    if (m_running)
        return;
    TForm1::done(result);
}

void TFip16Upd::formShow()
{
    // Centred on the screen whatever the saved placement says.
    if (const QScreen *screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->geometry().center());
        move(frame.topLeft());
    }
    QTimer::singleShot(0, this, &TFip16Upd::run);
}

void TFip16Upd::run()
{
    if (m_hasRun)
        return;
    m_hasRun = true;
    m_running = true;
    int count = 0;
    try {
        count = Ip16Backfill::run(m_dm, [this, &count](int c) {
            count = c;
            showProgress(c);
        });
        m_message->setText(QStringLiteral("ＩＰアドレス（１６進数）セット完了"));
        m_counter->setText(QStringLiteral("処理件数＝ %1 件").arg(count));
    } catch (const StoreError &error) {
        m_running = false;
        MessageBoxes::error(this, error.message());
    }
    m_running = false;
    m_closeBTN->setEnabled(true);
    m_closeBTN->setDefault(true);
    m_closeBTN->setFocus();
    emit runFinished();
}

void TFip16Upd::showProgress(int count)
{
    m_counter->setText(QStringLiteral("%1/%2").arg(count).arg(m_total));
    if (m_running) {
        // Let the counter paint; the user's input waits until the run ends.
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
}
