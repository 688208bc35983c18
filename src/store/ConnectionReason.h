#pragma once

#include "StoreSettings.h"

#include <QString>

// Why a store server could not be connected, said in Japanese: the login
// was refused, the database is missing, the server does not answer (or is
// starting or stopping). The drivers' own texts come in English or in the
// language of the computer or the server, so the reason is found from
// both, and the server's port is tried when the text tells nothing.
namespace ConnectionReason {

// The reason for a failed connection with these settings; the driver's
// text itself when none of the above fits. For a local store, the text.
QString of(const StoreSettings &settings, const QString &driverText);

// Tries a connection to the server with these settings (user and password
// as given); callable from any thread. Empty when it works, else the
// driver's text.
QString tryConnect(const StoreSettings &settings, int timeoutSeconds);

// The reason of a server that does not answer.
QString notAnswering(const StoreSettings &settings);

// Whether the host accepts a connection on the port within the time.
bool portAnswers(const QString &host, int port, int timeoutMs);

} // namespace ConnectionReason
