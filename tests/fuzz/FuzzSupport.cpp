#include "FuzzSupport.h"

#include "store/StoreError.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

namespace {

class QuietTableCheck : public TableCheckObserver
{
public:
    void status(const QString &) override { }
    void ip16BackfillNeeded(int) override { }
};

// Qt's plugins (the SQL drivers) and its text codecs want an application.
void ensureApplication()
{
    if (QCoreApplication::instance())
        return;
    static int argc = 1;
    static char name[] = "orvane-fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
}

} // namespace

namespace Fuzz {

QByteArray bytes(const uint8_t *data, size_t size)
{
    return QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
}

QString scratchFolder()
{
    static const std::unique_ptr<QTemporaryDir> dir = [] {
        const QString memory = QStringLiteral("/dev/shm");
        const QString base = QFileInfo(memory).isWritable() ? memory : QDir::tempPath();
        auto made = std::make_unique<QTemporaryDir>(base + QStringLiteral("/orvane-fuzz-XXXXXX"));
        if (!made->isValid())
            fail(QStringLiteral("no scratch folder: ") + made->errorString());
        return made;
    }();
    return dir->path();
}

QString writeScratchFile(const QString &name, const QByteArray &bytes)
{
    const QString path = QDir(scratchFolder()).filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
        || !file.flush())
        fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
    return path;
}

TDMdata &store()
{
    static TDMdata *dm = [] {
        ensureApplication();
        const QString folder = QDir(scratchFolder()).filePath(QStringLiteral("PCDB"));
        QDir().mkpath(folder);
        auto *made = new TDMdata;
        StoreSettings settings;
        settings.folder = folder;
        made->setSettings(settings);
        try {
            made->open();
            QuietTableCheck observer;
            made->checkTables(observer);
        } catch (const StoreError &e) {
            fail(QStringLiteral("cannot open the store: ") + e.message());
        }
        return made;
    }();
    return *dm;
}

void fail(const QString &what)
{
    std::fprintf(stderr, "fuzz rule broken: %s\n", what.toLocal8Bit().constData());
    std::fflush(stderr);
    std::abort();
}

} // namespace Fuzz
