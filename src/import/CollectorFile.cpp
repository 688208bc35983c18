#include "CollectorFile.h"

#include "ImportError.h"
#include "base/Cp932.h"
#include "base/FileErrorText.h"

#include <QFile>
#include <QStringDecoder>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace CollectorFile {

namespace {

QString shownName(const QByteArray &name)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(name);
    return utf8.hasError() ? Cp932::decode(name) : text;
}

bool endsWithCsv(const QByteArray &name)
{
    return name.size() > 4 && name.right(4).toLower() == ".csv";
}

Stamp stampOf(const struct stat &st)
{
    Stamp s;
    s.size = st.st_size;
    s.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = st.st_ino;
    return s;
}

// Closes a file descriptor however the function ends.
class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return m_fd; }
    int release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

[[noreturn]] void fail(const QString &pattern, const QString &file, int error)
{
    throw ImportError(pattern.arg(file, SystemErrorText(error)));
}

} // namespace

QString header()
{
    return QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday");
}

QVector<Entry> list(const QString &folder)
{
    const QString shownFolder = folder.isEmpty() ? QStringLiteral("(なし)") : folder;
    const QString cannotRead = QStringLiteral("フォルダ %1 を読み込めませんでした: %2");
    QByteArray dirPath = QFile::encodeName(folder);
    if (dirPath.isEmpty())
        fail(cannotRead, shownFolder, ENOENT);
    DIR *dir = ::opendir(dirPath.constData());
    if (!dir)
        fail(cannotRead, shownFolder, errno);
    if (!dirPath.endsWith('/'))
        dirPath += '/';
    const QString shownDir = QFile::decodeName(dirPath);
    QVector<Entry> entries;
    errno = 0;
    while (const dirent *e = ::readdir(dir)) {
        const QByteArray name(e->d_name);
        if (endsWithCsv(name)) {
            const QString shown = shownName(name);
            entries.append({dirPath + name, shown, shownDir + shown});
        }
        errno = 0;
    }
    const int error = errno;
    ::closedir(dir);
    if (error != 0)
        fail(cannotRead, shownFolder, error);
    std::sort(entries.begin(), entries.end(),
              [](const Entry &a, const Entry &b) { return a.path < b.path; });
    return entries;
}

QStringList linesOf(const QByteArray &bytes)
{
    const qsizetype nul = bytes.indexOf('\0');
    const QString text = Cp932::decode(nul >= 0 ? bytes.left(nul) : bytes);
    QStringList lines;
    const qsizetype n = text.size();
    qsizetype start = 0;
    while (start < n) {
        qsizetype i = start;
        while (i < n && text[i] != u'\r' && text[i] != u'\n')
            ++i;
        lines.append(text.mid(start, i - start));
        if (i < n && text[i] == u'\r')
            ++i;
        if (i < n && text[i] == u'\n')
            ++i;
        start = i;
    }
    return lines;
}

QByteArray readBytes(const Entry &file, Stamp *stamp)
{
    const QString cannotOpen = QStringLiteral("%1 を開けませんでした: %2");
    const QString cannotRead = QStringLiteral("%1 を読み込めませんでした: %2");
    // Not blocking on a pipe or a device that is not a plain file.
    Descriptor fd(::open(file.path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0)
        fail(cannotOpen, file.shownPath, errno);
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        fail(cannotOpen, file.shownPath, errno);
    if (!S_ISREG(st.st_mode))
        throw ImportError(QStringLiteral("%1 を開けませんでした: 通常のファイルではありません")
                              .arg(file.shownPath));
    QByteArray bytes;
    bytes.reserve(qsizetype(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            fail(cannotRead, file.shownPath, errno);
        }
        if (n == 0)
            break;
        bytes.append(buffer, n);
    }
    if (stamp)
        *stamp = stampOf(st);
    return bytes;
}

NulRewrite blankNulBytes(const Entry &file, const Stamp &stamp, const QByteArray &bytes)
{
    const QString cannotWrite = QStringLiteral("%1 に書き込めませんでした: %2");
    // Not blocking on a lease another program holds: that program has the
    // file open.
    Descriptor fd(::open(file.path.constData(), O_RDWR | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    const auto stillOpen = [&] {
        throw ImportError(cannotWrite.arg(
            file.shownPath, QStringLiteral("他のプログラムがファイルを開いています")));
    };
    if (fd.get() < 0) {
        if (errno == EWOULDBLOCK)
            stillOpen();
        if (errno == EACCES || errno == EPERM || errno == EROFS)
            return NulRewrite::NotPossible;
        fail(cannotWrite, file.shownPath, errno);
    }
    if (::fcntl(fd.get(), F_SETLEASE, F_WRLCK) != 0) {
        if (errno == EAGAIN || errno == EBUSY)
            stillOpen();
        return NulRewrite::NotPossible; // EINVAL, EACCES: no leases here
    }
    // Closing the descriptor gives the lease back, however this ends.
    struct stat st;
    if (::fstat(fd.get(), &st) != 0)
        fail(cannotWrite, file.shownPath, errno);
    if (!(stampOf(st) == stamp) || st.st_size != bytes.size())
        return NulRewrite::FileChanged;
    // Each run of NUL bytes becomes as many blanks; the length stays, so
    // a run that stops half-way leaves only NUL bytes behind.
    for (qsizetype start = bytes.indexOf('\0'); start >= 0;) {
        qsizetype end = start;
        while (end < bytes.size() && bytes[end] == '\0')
            ++end;
        const QByteArray blanks(end - start, ' ');
        for (qsizetype done = 0; done < blanks.size();) {
            const ssize_t n = ::pwrite(fd.get(), blanks.constData() + done,
                                       size_t(blanks.size() - done), off_t(start + done));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(cannotWrite, file.shownPath, n < 0 ? errno : EIO);
            done += n;
        }
        start = bytes.indexOf('\0', end);
    }
    if (::fsync(fd.get()) != 0)
        fail(cannotWrite, file.shownPath, errno);
    return NulRewrite::Done;
}

bool replaceNulBytes(QByteArray &bytes)
{
    if (!bytes.contains('\0'))
        return false;
    bytes.replace('\0', ' ');
    return true;
}

} // namespace CollectorFile
