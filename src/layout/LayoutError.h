#pragma once

#include <QString>
#include <stdexcept>

// The one error type of the page layout engine: a refusal of the page (a
// mode that does not allow the call, a page range that is wrong) or a
// device that cannot be used. The text is meant for the user.
class LayoutError : public std::runtime_error
{
public:
    explicit LayoutError(const QString &message)
        : std::runtime_error(message.toStdString()), m_message(message)
    { }
    QString message() const { return m_message; }

private:
    QString m_message;
};
