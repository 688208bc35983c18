#pragma once

#include <QList>
#include <QString>

class QWidget;

// The one place that shows the program's fixed message texts. Every box has
// the application title as caption unless a caption is given.
//
// Tests put a ScopedRecorder on the stack: while it lives, boxes are recorded
// and answered with its preset reply instead of being shown.
namespace MessageBoxes {

enum class Kind { Error, Warning, Information, YesNo, OkCancel, WarningYesNo };
enum class Reply { Ok, Cancel, Yes, No };

// "Orvane", the caption of every box that names none.
QString applicationTitle();

// Error icon, one OK button.
void error(QWidget *parent, const QString &text, const QString &caption = QString());
// Warning icon, one OK button.
void warning(QWidget *parent, const QString &text, const QString &caption = QString());
// Information icon, one OK button.
void information(QWidget *parent, const QString &text, const QString &caption = QString());
// Question with Yes and No; true on Yes.
bool yesNo(QWidget *parent, const QString &text, const QString &caption = QString());
// Question with OK and Cancel; true on OK.
bool okCancel(QWidget *parent, const QString &text, const QString &caption = QString());
// Warning icon with Yes and No, for a step that cannot be taken back; true
// on Yes.
bool warningYesNo(QWidget *parent, const QString &text, const QString &caption = QString());

struct Entry
{
    Kind kind;
    QString caption;
    QString text;
};

class ScopedRecorder
{
public:
    // reply answers the Yes/No and OK/Cancel boxes: Yes and Ok mean yes,
    // anything else no.
    explicit ScopedRecorder(Reply reply = Reply::Ok);
    ~ScopedRecorder();
    ScopedRecorder(const ScopedRecorder &) = delete;
    ScopedRecorder &operator=(const ScopedRecorder &) = delete;

    void setReply(Reply reply) { m_reply = reply; }
    Reply reply() const { return m_reply; }

    QList<Entry> entries() const { return m_entries; }
    // The texts of all boxes shown so far, in order.
    QStringList texts() const;
    // How many boxes showed exactly this text.
    int count(const QString &text) const;
    void clear() { m_entries.clear(); }

    void record(const Entry &entry) { m_entries.append(entry); }

private:
    Reply m_reply;
    QList<Entry> m_entries;
    ScopedRecorder *m_previous;
};

} // namespace MessageBoxes
