#include "StoreReconnector.h"

#include "ConnectionReason.h"
#include "StoreError.h"
#include "UDMdata.h"

#include <QThread>
#include <QTimer>

namespace {

// Each probe gives a server that does not answer this long.
constexpr int ProbeTimeoutSeconds = 2;
// A command that needs the store waits this long for the server's port.
constexpr int QuickProbeMs = 300;

} // namespace

StoreReconnector &StoreReconnector::of(TDMdata &dm)
{
    if (auto *existing = dm.findChild<StoreReconnector *>(QString(), Qt::FindDirectChildrenOnly))
        return *existing;
    return *new StoreReconnector(dm);
}

StoreReconnector::StoreReconnector(TDMdata &dm) : QObject(&dm), m_dm(dm), m_timer(new QTimer(this))
{
    m_timer->setSingleShot(true);
    connect(m_timer, &QTimer::timeout, this, &StoreReconnector::attempt);
    connect(&m_dm, &TDMdata::connectionLost, this, &StoreReconnector::startTrying);
}

StoreReconnector::~StoreReconnector()
{
    if (m_probe) {
        m_probe->wait();
        delete m_probe;
    }
}

int StoreReconnector::pauseBefore(int attempt)
{
    // Soon after the loss (a restart takes a few seconds), then every 5 s.
    static const int pauses[] = {500, 1000, 2000, 3000};
    return attempt < 1 ? 0 : attempt <= 4 ? pauses[attempt - 1] : 5000;
}

bool StoreReconnector::ensure()
{
    if (!m_dm.isConnected())
        return false;
    if (!m_dm.isLost() && m_dm.answers())
        return true;
    // One attempt at once when the server's port answers (it is back after
    // a restart); one that does not answer is left to the attempts in the
    // background, so the window is not held up.
    const StoreSettings target = m_dm.reconnectSettings();
    if (ConnectionReason::portAnswers(target.host, target.port, QuickProbeMs)) {
        if (reconnectNow())
            return true;
    } else {
        m_reason = ConnectionReason::notAnswering(target);
    }
    if (!m_trying)
        startTrying();
    return false;
}

void StoreReconnector::startTrying()
{
    if (m_trying)
        return;
    m_trying = true;
    m_attempt = 0;
    m_since.start();
    emit reconnecting();
    // After the current statement's failure has been dealt with.
    m_timer->start(0);
}

void StoreReconnector::attempt()
{
    if (!m_dm.isLost()) {
        // Reconnected by a command meanwhile, or another store chosen.
        stop();
        return;
    }
    ++m_attempt;
    const StoreSettings target = m_dm.reconnectSettings();
    m_probe = QThread::create([this, target] {
        m_probeError = ConnectionReason::tryConnect(target, ProbeTimeoutSeconds);
    });
    connect(m_probe, &QThread::finished, this, &StoreReconnector::probed);
    m_probe->start();
}

void StoreReconnector::probed()
{
    m_probe->deleteLater();
    m_probe = nullptr;
    if (!m_trying)
        return;
    if (!m_dm.isLost()) {
        stop();
        return;
    }
    if (m_probeError.isEmpty() ? reconnectNow() : false)
        return;
    if (!m_probeError.isEmpty())
        m_reason = ConnectionReason::of(m_dm.reconnectSettings(), m_probeError);
    const int pause = pauseBefore(m_attempt + 1);
    if (m_since.elapsed() + pause > m_patienceMs) {
        stop();
        emit gaveUp(m_reason);
        return;
    }
    m_timer->start(pause);
}

bool StoreReconnector::reconnectNow()
{
    try {
        m_dm.reconnect();
    } catch (const StoreError &e) {
        m_reason = ConnectionReason::of(m_dm.reconnectSettings(), e.message());
        return false;
    }
    stop();
    return true;
}

void StoreReconnector::stop()
{
    m_trying = false;
    m_timer->stop();
}

QString StoreReconnector::waitFor(TDMdata &dm, int patienceMs)
{
    QElapsedTimer since;
    since.start();
    QString reason;
    for (int attempt = 0;; ++attempt) {
        if (!dm.isLost())
            return QString();
        const int pause = pauseBefore(attempt);
        if (attempt > 0 && since.elapsed() + pause > patienceMs)
            return reason;
        QThread::msleep(pause);
        try {
            dm.reconnect();
            return QString();
        } catch (const StoreError &e) {
            reason = ConnectionReason::of(dm.reconnectSettings(), e.message());
        }
    }
}
