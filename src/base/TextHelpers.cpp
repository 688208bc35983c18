#include "TextHelpers.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <optional>
#include <sys/socket.h>
#include <unistd.h>

namespace {

// Splits at the first '.': the head goes to part, the tail stays in rest.
// False when there is no '.'.
bool cutAtDot(QStringView &rest, QStringView &part)
{
    const qsizetype dot = rest.indexOf(u'.');
    if (dot < 0)
        return false;
    part = rest.left(dot);
    rest = rest.mid(dot + 1);
    return true;
}

// One octet of a dotted address: leading blanks skipped, an optional sign,
// then decimal digits and nothing after them. An octet with a minus sign is
// refused, so a negative number never reaches the hexadecimal form.
std::optional<int> readOctet(QStringView part)
{
    qsizetype i = 0;
    while (i < part.size() && part.at(i) == u' ')
        ++i;
    if (i < part.size() && (part.at(i) == u'+' || part.at(i) == u'-')) {
        if (part.at(i) == u'-')
            return std::nullopt;
        ++i;
    }
    const QStringView digits = part.mid(i);
    if (!IsDigits(digits.toString()))
        return std::nullopt;
    // More than three significant digits is out of range in any case; this
    // also keeps long digit runs from overflowing.
    qsizetype first = 0;
    while (first + 1 < digits.size() && digits.at(first) == u'0')
        ++first;
    if (digits.size() - first > 3)
        return 256;
    return digits.mid(first).toInt();
}

std::optional<quint32> ip16Value(const QString &ip16)
{
    bool ok = false;
    const quint32 value = ip16.toUInt(&ok, 16);
    if (ip16.size() != 8 || !ok)
        return std::nullopt;
    return value;
}

} // namespace

QDate ZeroDate()
{
    return QDate(1899, 12, 30);
}

bool IsDigits(const QString &text)
{
    if (text.isEmpty())
        return false;
    for (QChar ch : text) {
        if (ch < u'0' || ch > u'9')
            return false;
    }
    return true;
}

QDate ParseYMD(const QString &text)
{
    QString yearPart, monthPart, dayPart;
    const qsizetype slash1 = text.indexOf(u'/');
    if (slash1 >= 0) {
        yearPart = text.left(slash1);
        const QString rest = text.mid(slash1 + 1);
        const qsizetype slash2 = rest.indexOf(u'/');
        if (slash2 >= 0) {
            monthPart = rest.left(slash2);
            dayPart = rest.mid(slash2 + 1);
        }
    }
    if (!IsDigits(yearPart) || !IsDigits(monthPart) || !IsDigits(dayPart))
        return ZeroDate();

    // Digit runs too long for an int fail here and give the zero date.
    bool okY = false, okM = false, okD = false;
    const int year = yearPart.toInt(&okY);
    const int month = monthPart.toInt(&okM);
    const int day = dayPart.toInt(&okD);
    if (!okY || !okM || !okD || year < 1 || year > 9999)
        return ZeroDate();
    const QDate date(year, month, day);
    return date.isValid() ? date : ZeroDate();
}

QString IPToIP16(const QString &address)
{
    QStringView rest(address);
    QStringView parts[4];
    if (!cutAtDot(rest, parts[0]) || !cutAtDot(rest, parts[1]) || !cutAtDot(rest, parts[2]))
        return QString();
    parts[3] = rest;
    if (parts[3].isEmpty())
        return QString();

    QString result;
    for (QStringView part : parts) {
        const std::optional<int> octet = readOctet(part);
        if (!octet || *octet >= 256)
            return QString();
        result += QStringLiteral("%1").arg(*octet, 2, 16, QLatin1Char('0')).toUpper();
    }
    return result;
}

QString NetworkAddress(const QString &address, const QString &mask)
{
    const std::optional<quint32> a = ip16Value(IPToIP16(address));
    const std::optional<quint32> m = ip16Value(IPToIP16(mask));
    if (!a || !m)
        return QString();
    const quint32 net = *a & *m;
    return QStringLiteral("%1.%2.%3.%4")
        .arg((net >> 24) & 0xFF)
        .arg((net >> 16) & 0xFF)
        .arg((net >> 8) & 0xFF)
        .arg(net & 0xFF);
}

QString LocalIPAddress()
{
    char host[129] = {};
    if (gethostname(host, sizeof(host) - 1) != 0)
        return QString();

    addrinfo hints = {};
    hints.ai_family = AF_INET;
    addrinfo *answer = nullptr;
    if (getaddrinfo(host, nullptr, &hints, &answer) != 0 || !answer)
        return QStringLiteral("0.0.0.0");

    QString result = QStringLiteral("0.0.0.0");
    const auto *in = reinterpret_cast<const sockaddr_in *>(answer->ai_addr);
    char text[INET_ADDRSTRLEN] = {};
    if (in && inet_ntop(AF_INET, &in->sin_addr, text, sizeof(text)))
        result = QString::fromLatin1(text);
    freeaddrinfo(answer);
    return result;
}
