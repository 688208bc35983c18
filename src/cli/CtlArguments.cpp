#include "CtlArguments.h"

#include <QDate>

CtlArguments::CtlArguments(QStringList arguments) : m_arguments(std::move(arguments)) { }

std::optional<QString> CtlArguments::value(QLatin1StringView name)
{
    const qsizetype i = m_arguments.indexOf(name);
    if (i < 0)
        return std::nullopt;
    if (i + 1 >= m_arguments.size()) {
        refuse();
        return std::nullopt;
    }
    const QString v = m_arguments.at(i + 1);
    m_arguments.remove(i, 2);
    return v;
}

bool CtlArguments::flag(QLatin1StringView name)
{
    return m_arguments.removeAll(name) > 0;
}

std::optional<int> CtlArguments::count(QLatin1StringView name, const QString &wrongText,
                                       int maximum)
{
    const std::optional<QString> text = value(name);
    if (!text)
        return std::nullopt;
    bool ok = false;
    const qlonglong v = text->toLongLong(&ok);
    if (!ok || v < 0) {
        refuse(wrongText.arg(*text));
        return std::nullopt;
    }
    if (v > maximum) {
        refuse(wrongText.arg(*text) + QStringLiteral(" (%1 まで)").arg(maximum));
        return std::nullopt;
    }
    return int(v);
}

std::optional<QDate> CtlArguments::date(QLatin1StringView name)
{
    const std::optional<QString> text = value(name);
    if (!text)
        return std::nullopt;
    const QDate d = QDate::fromString(*text, QStringLiteral("yyyy/M/d"));
    if (!d.isValid()) {
        refuse(QStringLiteral("日付に誤りがあります: %1").arg(*text));
        return std::nullopt;
    }
    return d;
}

QStringList CtlArguments::positional()
{
    for (const QString &a : std::as_const(m_arguments)) {
        if (a.startsWith(QLatin1String("--"))) {
            refuse(QStringLiteral("不明なオプションです: %1").arg(a));
            break;
        }
    }
    return m_arguments;
}

bool CtlArguments::refuse(const QString &text)
{
    if (!m_failed) {
        m_failed = true;
        m_error = text;
    }
    return false;
}
