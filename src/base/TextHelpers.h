#pragma once

#include <QDate>
#include <QString>

// Small stateless helpers shared by the import, the ledger windows, the lease
// window and the display settings. They never raise errors: bad input shows
// in the result.

// The date-time origin 1899/12/30, returned for every unreadable date.
QDate ZeroDate();

// True when the text is not empty and consists of the digits 0-9 only.
bool IsDigits(const QString &text);

// Reads "y/m/d" (digits only in each part); the zero date when it cannot.
QDate ParseYMD(const QString &text);

// "192.168.0.11" -> "C0A8000B"; the empty text when the address is invalid.
QString IPToIP16(const QString &address);

// The address masked with the mask, in dotted decimal; empty when either is
// invalid.
QString NetworkAddress(const QString &address, const QString &mask);

// The computer's first IPv4 address as four decimal octets; "0.0.0.0" when
// the host name does not resolve, empty when name lookup is unavailable.
QString LocalIPAddress();
