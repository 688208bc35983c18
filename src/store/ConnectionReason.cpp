#include "ConnectionReason.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QStringList>
#include <cerrno>
#include <fcntl.h>
#include <libpq-fe.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

bool containsAny(const QString &text, const QStringList &parts)
{
    for (const QString &part : parts) {
        if (text.contains(part, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

// The texts of PostgreSQL and its client library, in English and in
// Japanese.
bool loginRefused(const QString &text)
{
    return containsAny(text,
                       {QStringLiteral("password authentication failed"),
                        QStringLiteral("パスワード認証に失敗"),
                        QStringLiteral("authentication failed"), QStringLiteral("認証に失敗"),
                        QStringLiteral("no password supplied"), QStringLiteral("pg_hba.conf"),
                        QStringLiteral("role \""), QStringLiteral("ロール\"")});
}

bool databaseMissing(const QString &text)
{
    return (text.contains(QStringLiteral("database \""))
            && text.contains(QStringLiteral("does not exist")))
        || (text.contains(QStringLiteral("データベース\""))
            && text.contains(QStringLiteral("存在しません")));
}

bool startingOrStopping(const QString &text)
{
    return containsAny(text,
                       {QStringLiteral("starting up"), QStringLiteral("shutting down"),
                        QStringLiteral("recovery mode"), QStringLiteral("起動処理中"),
                        QStringLiteral("シャットダウンしています"),
                        QStringLiteral("リカバリモード")});
}

QString serverName(const StoreSettings &settings)
{
    return QStringLiteral("%1（ポート %2）").arg(settings.host).arg(settings.port);
}

} // namespace

namespace ConnectionReason {

QString of(const StoreSettings &settings, const QString &driverText)
{
    if (settings.mode == StoreSettings::Mode::Local)
        return driverText;
    if (databaseMissing(driverText))
        return QStringLiteral("サーバー %1にデータベース %2 がありません。")
            .arg(serverName(settings), settings.database);
    if (loginRefused(driverText))
        return QStringLiteral("サーバー %1がログインを拒否しました"
                              "（ユーザー名またはパスワードが違います）。")
            .arg(serverName(settings));
    if (startingOrStopping(driverText))
        return QStringLiteral("サーバー %1は起動中または停止中です。").arg(serverName(settings));
    if (!portAnswers(settings.host, settings.port, 2000))
        return notAnswering(settings);
    return driverText.trimmed();
}

QString notAnswering(const StoreSettings &settings)
{
    return QStringLiteral("サーバー %1が応答しません。").arg(serverName(settings));
}

QString tryConnect(const StoreSettings &settings, int timeoutSeconds)
{
    const QByteArray host = settings.host.toUtf8();
    const QByteArray port = QByteArray::number(settings.port);
    const QByteArray database = settings.database.toUtf8();
    const QByteArray user = settings.user.toUtf8();
    const QByteArray password = settings.password.toUtf8();
    const QByteArray timeout = QByteArray::number(qMax(2, timeoutSeconds));
    const char *keys[] = {"host", "port", "dbname", "user", "password", "connect_timeout", nullptr};
    const char *values[] = {host.constData(), port.constData(),     database.constData(),
                            user.constData(), password.constData(), timeout.constData(),
                            nullptr};
    PGconn *connection = PQconnectdbParams(keys, values, 0);
    QString error;
    if (PQstatus(connection) != CONNECTION_OK) {
        error = QString::fromUtf8(PQerrorMessage(connection)).trimmed();
        if (error.isEmpty())
            error = QStringLiteral("接続できません");
    }
    PQfinish(connection);
    return error;
}

bool portAnswers(const QString &host, int port, int timeoutMs)
{
    addrinfo hints {};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo *found = nullptr;
    if (getaddrinfo(host.toUtf8().constData(), QByteArray::number(port).constData(), &hints, &found)
        != 0)
        return false;
    QElapsedTimer clock;
    clock.start();
    bool answered = false;
    for (addrinfo *a = found; a && !answered; a = a->ai_next) {
        const int s
            = ::socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, a->ai_protocol);
        if (s < 0)
            continue;
        if (::connect(s, a->ai_addr, a->ai_addrlen) == 0) {
            answered = true;
        } else if (errno == EINPROGRESS) {
            pollfd p {s, POLLOUT, 0};
            const int left = int(qMax<qint64>(0, timeoutMs - clock.elapsed()));
            int error = 0;
            socklen_t size = sizeof error;
            answered = ::poll(&p, 1, left) == 1
                && ::getsockopt(s, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
        }
        ::close(s);
    }
    freeaddrinfo(found);
    return answered;
}

} // namespace ConnectionReason
