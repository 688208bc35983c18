#pragma once

#include <QString>
#include <memory>

class QFileDevice;
class QIODevice;

// A file written as a whole: into a new file beside the target that takes
// the target's name only when commit() completes it, so a failed or
// discarded write leaves an earlier file of that name as it was. A target
// that exists but is not a plain file (a device such as /dev/full, a pipe)
// is written to in place and is never removed or replaced.
//
// A write that does not go through whole (a full disk, a size limit) fails
// the file, also when the writer does not look at what its writes return.
class WholeFile
{
public:
    explicit WholeFile(const QString &path);
    ~WholeFile();

    // Opens for writing; false (with errorText()) when it cannot.
    bool open();
    bool inPlace() const { return m_inPlace; }

    // Where to write: each write goes through whole, or fails (-1) and
    // fails the file.
    QIODevice &output() const;
    // The file itself, for writers that check every write themselves.
    QFileDevice &file() const { return *m_file; }

    // Completes the file; false (with errorText()) when it could not be
    // written completely, which leaves the target as it was.
    bool commit();
    // Gives up: the new file goes, the target stays as it was.
    void discard();

    // Why the file failed, in Japanese (without the file's name).
    QString errorText() const { return m_error; }

private:
    class Output;
    void fail(int errorNumber);

    std::unique_ptr<QFileDevice> m_file;
    std::unique_ptr<Output> m_output;
    bool m_inPlace = false;
    bool m_failed = false;
    QString m_error;
};
