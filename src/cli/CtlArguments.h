#pragma once

#include <QString>
#include <QStringList>
#include <limits>
#include <optional>

class QDate;

// The arguments after a command's name. A command takes its options first,
// then its positional arguments; an option it did not take is an error.
class CtlArguments
{
public:
    explicit CtlArguments(QStringList arguments);

    // The value of "--name VALUE", removed from the arguments; nothing when
    // the option is absent or lacks its value (then an error is set).
    std::optional<QString> value(QLatin1StringView name);
    // Whether "--name" was given, removed from the arguments.
    bool flag(QLatin1StringView name);
    // A whole number of seconds or days, 0 to maximum, of "--name VALUE";
    // absent: nothing; a wrong value sets the error given (with the maximum
    // when it is beyond that).
    std::optional<int> count(QLatin1StringView name, const QString &wrongText,
                             int maximum = std::numeric_limits<int>::max());

    // A day in seconds: the longest wait or time limit taken.
    static constexpr int SecondsInADay = 24 * 60 * 60;
    // "--name YYYY/MM/DD" (one-digit months and days allowed).
    std::optional<QDate> date(QLatin1StringView name);

    // What is left once the options are taken; an option among it is an
    // error.
    QStringList positional();

    bool failed() const { return m_failed; }
    // The first error's text; empty for a usage error without one.
    QString error() const { return m_error; }
    // Records a usage error.
    bool refuse(const QString &text = QString());

private:
    QStringList m_arguments;
    bool m_failed = false;
    QString m_error;
};
