#include "MessageBoxes.h"

#include <QMessageBox>
#include <QStringList>
#include <algorithm>

namespace MessageBoxes {

namespace {

// The innermost recorder alive, or none: boxes are then really shown.
ScopedRecorder *s_recorder = nullptr;

QString captionOr(const QString &caption)
{
    return caption.isEmpty() ? applicationTitle() : caption;
}

// Records the box when a recorder is active; returns whether it did.
bool recorded(Kind kind, const QString &caption, const QString &text, Reply *reply = nullptr)
{
    if (!s_recorder)
        return false;
    s_recorder->record({kind, captionOr(caption), text});
    if (reply)
        *reply = s_recorder->reply();
    return true;
}

// Lines longer than this break after each sentence inside them.
constexpr qsizetype LongLine = 30;

// The texts break their lines with LF CR or CR LF, as the Windows boxes
// take them; on the screen each pair is one line break. Japanese text has
// no blanks, so the box would wrap a long line anywhere, even inside a
// word ("くださ" / "い。"): such a line breaks after its sentences instead.
QString shown(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1String("\n\r"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    for (QString &line : lines) {
        if (line.size() <= LongLine)
            continue;
        for (qsizetype i = line.indexOf(u'。'); i >= 0; i = line.indexOf(u'。', i)) {
            ++i;
            // A closing bracket stays with its sentence.
            while (i < line.size() && QStringLiteral("」』）)").contains(line.at(i)))
                ++i;
            if (i >= line.size())
                break;
            line.insert(i++, u'\n');
        }
    }
    return lines.join(u'\n');
}

void showOk(QWidget *parent, QMessageBox::Icon icon, const QString &caption, const QString &text)
{
    QMessageBox box(icon, captionOr(caption), shown(text), QMessageBox::Ok, parent);
    box.exec();
}

bool ask(QWidget *parent, Kind kind, const QString &caption, const QString &text)
{
    Reply reply = Reply::No;
    if (recorded(kind, caption, text, &reply))
        return reply == Reply::Yes || reply == Reply::Ok;

    const bool isYesNo = kind == Kind::YesNo || kind == Kind::WarningYesNo;
    const QMessageBox::StandardButtons buttons = isYesNo
        ? QMessageBox::StandardButtons(QMessageBox::Yes | QMessageBox::No)
        : QMessageBox::StandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
    const QMessageBox::Icon icon
        = kind == Kind::WarningYesNo ? QMessageBox::Warning : QMessageBox::Question;
    QMessageBox box(icon, captionOr(caption), shown(text), buttons, parent);
    box.setDefaultButton(isYesNo ? QMessageBox::Yes : QMessageBox::Ok);
    const int answer = box.exec();
    return answer == QMessageBox::Yes || answer == QMessageBox::Ok;
}

} // namespace

QString applicationTitle()
{
    return QStringLiteral("Orvane");
}

void error(QWidget *parent, const QString &text, const QString &caption)
{
    if (!recorded(Kind::Error, caption, text))
        showOk(parent, QMessageBox::Critical, caption, text);
}

void warning(QWidget *parent, const QString &text, const QString &caption)
{
    if (!recorded(Kind::Warning, caption, text))
        showOk(parent, QMessageBox::Warning, caption, text);
}

void information(QWidget *parent, const QString &text, const QString &caption)
{
    if (!recorded(Kind::Information, caption, text))
        showOk(parent, QMessageBox::Information, caption, text);
}

void plain(QWidget *parent, const QString &text, const QString &caption)
{
    if (!recorded(Kind::Plain, caption, text))
        showOk(parent, QMessageBox::NoIcon, caption, text);
}

bool yesNo(QWidget *parent, const QString &text, const QString &caption)
{
    return ask(parent, Kind::YesNo, caption, text);
}

bool okCancel(QWidget *parent, const QString &text, const QString &caption)
{
    return ask(parent, Kind::OkCancel, caption, text);
}

bool warningYesNo(QWidget *parent, const QString &text, const QString &caption)
{
    return ask(parent, Kind::WarningYesNo, caption, text);
}

ScopedRecorder::ScopedRecorder(Reply reply) : m_reply(reply), m_previous(s_recorder)
{
    s_recorder = this;
}

ScopedRecorder::~ScopedRecorder()
{
    s_recorder = m_previous;
}

QStringList ScopedRecorder::texts() const
{
    QStringList result;
    for (const Entry &entry : m_entries)
        result.append(entry.text);
    return result;
}

int ScopedRecorder::count(const QString &text) const
{
    return int(std::count_if(m_entries.cbegin(), m_entries.cend(),
                             [&](const Entry &entry) { return entry.text == text; }));
}

} // namespace MessageBoxes
