#pragma once

#include <QString>

class QFileDevice;

// The reason a file operation failed, in Japanese: the system's reason
// where it is one we know (no space left, access denied, ...), otherwise
// the kind of failure, followed by the system's own text.
QString FileErrorText(const QFileDevice &file);
// The same, preferring the system's error number taken right after the
// failed call (errno): Qt reports some failed writes as "Unknown error".
QString FileErrorText(const QFileDevice &file, int errorNumber);

// The same for a system error number (errno).
QString SystemErrorText(int errorNumber);
