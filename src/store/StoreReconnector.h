#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <functional>

class QThread;
class QTimer;
class TDMdata;

// Brings a lost server connection back (TDMdata::isLost): the same store
// is opened again with the same settings, quietly, a few times over up to
// 30 seconds. A window program attaches one to its data module; a loss
// noticed anywhere starts the attempts in the background, each first tried
// on a thread of its own so that a server that does not answer never holds
// up the windows. Commands that need the store call ensure(), which also
// notices a connection that died while nobody used it.
class StoreReconnector : public QObject
{
    Q_OBJECT

public:
    // The reconnector of the data module, made at the first call.
    static StoreReconnector &of(TDMdata &dm);
    ~StoreReconnector() override;

    // How long the attempts go on after a loss: 30 s unless set.
    void setPatience(int milliseconds) { m_patienceMs = milliseconds; }
    bool isTrying() const { return m_trying; }
    // The reason of the last failed attempt, in Japanese.
    QString reason() const { return m_reason; }

    // For a command that needs the store now: true when it answers. A lost
    // connection (noticed here or before) gets one attempt at once; while
    // the server stays away false is returned and the attempts go on.
    bool ensure();

    // For a run without an event loop (the import, the command-line tool):
    // tries until the store is back or patienceMs have passed, pausing
    // between attempts; empty when back, else the reason in Japanese.
    static QString waitFor(TDMdata &dm, int patienceMs);

    // The pause before each attempt after the first, in milliseconds.
    static int pauseBefore(int attempt);

signals:
    // The attempts begin (the status bar says so); TDMdata::reconnected
    // tells when the store is back.
    void reconnecting();
    // The attempts ended without success; the reason in Japanese.
    void gaveUp(const QString &reason);

private:
    explicit StoreReconnector(TDMdata &dm);
    void startTrying();
    void attempt();
    void probed();
    // One attempt on this thread; true when the store is back.
    bool reconnectNow();
    void stop();

    TDMdata &m_dm;
    int m_patienceMs = 30000;
    bool m_trying = false;
    int m_attempt = 0;
    QElapsedTimer m_since;
    QTimer *m_timer;
    QThread *m_probe = nullptr;
    QString m_probeError;
    QString m_reason;
};
