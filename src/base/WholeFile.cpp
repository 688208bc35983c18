#include "WholeFile.h"

#include "FileErrorText.h"

#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

class WholeFile::Output : public QIODevice
{
public:
    explicit Output(WholeFile &owner) : m_owner(owner) { }

protected:
    qint64 readData(char *, qint64) override { return -1; }
    qint64 writeData(const char *data, qint64 length) override
    {
        if (m_owner.m_failed)
            return -1;
        errno = 0;
        if (m_owner.m_file->write(data, length) != length) {
            m_owner.fail(errno);
            return -1;
        }
        return length;
    }

private:
    WholeFile &m_owner;
};

WholeFile::WholeFile(const QString &path)
{
    const QFileInfo target(path);
    m_inPlace = target.exists() && !target.isFile();
    if (m_inPlace)
        m_file = std::make_unique<QFile>(path);
    else
        m_file = std::make_unique<QSaveFile>(path);
    m_output = std::make_unique<Output>(*this);
}

WholeFile::~WholeFile() = default;

QIODevice &WholeFile::output() const
{
    return *m_output;
}

void WholeFile::fail(int errorNumber)
{
    if (m_failed)
        return;
    m_failed = true;
    m_error = errorNumber != 0 ? FileErrorText(*m_file, errorNumber) : FileErrorText(*m_file);
}

bool WholeFile::open()
{
    m_failed = false;
    m_error.clear();
    if (!m_file->open(QIODevice::WriteOnly)) {
        fail(0);
        return false;
    }
    m_output->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

bool WholeFile::commit()
{
    if (!m_file->isOpen())
        return false;
    m_output->close();
    // What is still buffered goes now; a short write fails here.
    errno = 0;
    if (!m_failed && (!m_file->flush() || m_file->error() != QFileDevice::NoError))
        fail(errno);
    if (m_failed) {
        discard();
        return false;
    }
    if (auto *save = qobject_cast<QSaveFile *>(m_file.get())) {
        if (!save->commit()) {
            fail(0);
            return false;
        }
        return true;
    }
    m_file->close();
    return true;
}

void WholeFile::discard()
{
    m_output->close();
    if (!m_file->isOpen())
        return;
    if (auto *save = qobject_cast<QSaveFile *>(m_file.get())) {
        // A cancelled commit removes the unfinished new file.
        save->cancelWriting();
        save->commit();
    } else {
        m_file->close();
    }
}
