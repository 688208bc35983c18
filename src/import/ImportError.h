#pragma once

#include <QString>
#include <stdexcept>

// The one error of the import: a collector file that cannot be imported
// (a record without a field its rule reads, an empty line, a row the store
// refuses), or a file that cannot be opened, read or written. Carries the
// line of the file (1 for the header) where it happened, 0 when the error
// belongs to no line.
class ImportError : public std::runtime_error
{
public:
    explicit ImportError(const QString &message, int line = 0)
        : std::runtime_error(message.toStdString()), m_message(message), m_line(line)
    { }

    QString message() const { return m_message; }
    int line() const { return m_line; }
    void setLine(int line) { m_line = line; }
    // The message with the line number in front when there is one.
    QString text() const
    {
        return m_line > 0 ? QStringLiteral("%1 行目: %2").arg(m_line).arg(m_message) : m_message;
    }

private:
    QString m_message;
    int m_line = 0;
};
