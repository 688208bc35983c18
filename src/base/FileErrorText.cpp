#include "FileErrorText.h"

#include <QFileDevice>
#include <cerrno>
#include <cstring>

namespace {

struct Reason
{
    int errorNumber;
    const char16_t *text;
};

// The reasons a user can act on, with the text the system gives for each.
const Reason Reasons[] = {
    {ENOSPC, u"ディスクの空き領域が不足しています"},
    {EDQUOT, u"ディスクの使用量の上限を超えました"},
    {EACCES, u"アクセスが拒否されました"},
    {EPERM, u"この操作は許可されていません"},
    {EROFS, u"読み取り専用のファイルシステムです"},
    {ENOENT, u"ファイルまたはフォルダがありません"},
    {ENOTDIR, u"パスの途中がフォルダではありません"},
    {EISDIR, u"フォルダです"},
    {EEXIST, u"同じ名前のファイルがすでにあります"},
    {ENAMETOOLONG, u"ファイル名が長すぎます"},
    {EIO, u"入出力エラーが発生しました"},
    {EBUSY, u"ファイルが使用中です"},
    {EMFILE, u"開いているファイルが多すぎます"},
    {ENFILE, u"開いているファイルが多すぎます"},
    {EFBIG, u"ファイルが大きすぎます"},
    {ETXTBSY, u"ファイルが使用中です"},
    {ELOOP, u"シンボリックリンクの階層が深すぎます"},
    {ESTALE, u"ネットワーク上のファイルが無効になりました"},
    {ENODEV, u"デバイスがありません"},
    {ENXIO, u"デバイスがありません"},
};

QString systemText(int errorNumber)
{
    return QString::fromLocal8Bit(std::strerror(errorNumber));
}

QString kindText(QFileDevice::FileError error)
{
    switch (error) {
    case QFileDevice::ReadError:
        return QStringLiteral("読み込みに失敗しました");
    case QFileDevice::WriteError:
        return QStringLiteral("書き込みに失敗しました");
    case QFileDevice::FatalError:
        return QStringLiteral("致命的なエラーが発生しました");
    case QFileDevice::ResourceError:
        return QStringLiteral("資源(ディスクの空き領域など)が不足しています");
    case QFileDevice::OpenError:
        return QStringLiteral("ファイルを開けませんでした");
    case QFileDevice::AbortError:
        return QStringLiteral("操作が中止されました");
    case QFileDevice::TimeOutError:
        return QStringLiteral("時間切れになりました");
    case QFileDevice::RemoveError:
        return QStringLiteral("ファイルを削除できませんでした");
    case QFileDevice::RenameError:
        return QStringLiteral("ファイル名を変更できませんでした");
    case QFileDevice::PositionError:
        return QStringLiteral("ファイルの位置を移動できませんでした");
    case QFileDevice::ResizeError:
        return QStringLiteral("ファイルの大きさを変更できませんでした");
    case QFileDevice::PermissionsError:
        return QStringLiteral("アクセスが拒否されました");
    case QFileDevice::CopyError:
        return QStringLiteral("ファイルをコピーできませんでした");
    case QFileDevice::NoError:
    case QFileDevice::UnspecifiedError:
        break;
    }
    return QStringLiteral("ファイルの操作に失敗しました");
}

} // namespace

QString SystemErrorText(int errorNumber)
{
    for (const Reason &r : Reasons) {
        if (r.errorNumber == errorNumber)
            return QString::fromUtf16(r.text);
    }
    return QStringLiteral("システムエラー %1 (%2)").arg(errorNumber).arg(systemText(errorNumber));
}

QString FileErrorText(const QFileDevice &file, int errorNumber)
{
    return errorNumber != 0 ? SystemErrorText(errorNumber) : FileErrorText(file);
}

QString FileErrorText(const QFileDevice &file)
{
    // Qt gives the system's text for the error number; find the number back.
    // A folder given as a file gets Qt's own text.
    const QString given = file.errorString();
    if (given == QLatin1String("file to open is a directory")
        || given == QLatin1String("Filename refers to a directory"))
        return SystemErrorText(EISDIR);
    for (const Reason &r : Reasons) {
        if (given == systemText(r.errorNumber))
            return QString::fromUtf16(r.text);
    }
    const QString kind = kindText(file.error());
    return given.isEmpty() ? kind : QStringLiteral("%1 (%2)").arg(kind, given);
}
