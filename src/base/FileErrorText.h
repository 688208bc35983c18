#pragma once

#include <QString>

class QFileDevice;

// The reason a file operation failed, in Japanese: the system's reason
// where it is one we know (no space left, access denied, ...), otherwise
// the kind of failure, followed by the system's own text.
QString FileErrorText(const QFileDevice &file);

// The same for a system error number (errno).
QString SystemErrorText(int errorNumber);
