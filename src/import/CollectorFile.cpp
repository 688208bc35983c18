#include "CollectorFile.h"

#include "ImportError.h"
#include "base/Cp932.h"
#include "base/FileErrorText.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace CollectorFile {

QString header()
{
    return QStringLiteral("Key,Group,Item,SubItem,Contents,Unit,Renewalday");
}

QStringList list(const QString &folder)
{
    if (folder.isEmpty())
        return {};
    QDir dir(folder);
    // Without QDir::CaseSensitive the name pattern ignores case, like the
    // collector folders' home platform does.
    dir.setFilter(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    dir.setNameFilters({QStringLiteral("*.csv")});
    dir.setSorting(QDir::Unsorted);
    QStringList names = dir.entryList();
    std::sort(names.begin(), names.end());
    return names;
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

QByteArray readBytes(const QString &path)
{
    const QFileInfo info(path);
    // A folder or a device (a pipe would never end) is no collector file.
    if (info.exists() && !info.isFile())
        throw ImportError(
            QStringLiteral("%1 を開けませんでした: 通常のファイルではありません").arg(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ImportError(
            QStringLiteral("%1 を開けませんでした: %2").arg(path, FileErrorText(file)));
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw ImportError(
            QStringLiteral("%1 を読み込めませんでした: %2").arg(path, FileErrorText(file)));
    return bytes;
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    // Written in place without truncating first: the new bytes have the
    // old length, so a write that stops half-way loses nothing of the file.
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite))
        throw ImportError(
            QStringLiteral("%1 に書き込めませんでした: %2").arg(path, FileErrorText(file)));
    if (file.write(bytes) != bytes.size() || !file.resize(bytes.size()) || !file.flush())
        throw ImportError(
            QStringLiteral("%1 に書き込めませんでした: %2").arg(path, FileErrorText(file)));
}

bool replaceNulBytes(QByteArray &bytes)
{
    if (!bytes.contains('\0'))
        return false;
    bytes.replace('\0', ' ');
    return true;
}

} // namespace CollectorFile
