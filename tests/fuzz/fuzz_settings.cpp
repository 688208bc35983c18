// A settings file as the program reads it at start (the main window's keys
// and a window's placement), then written back at close and read again.
//
// Rules: the file reads back as it was written, and every value read from
// it reads back the same.

#include "FuzzSupport.h"
#include "base/AppSettings.h"
#include "base/IniFile.h"
#include "base/WindowPlacement.h"

namespace {

const QString DataDir = QStringLiteral("/opt/orvane/PCDB");
const QSize Screen(1920, 1080);

QString localIp()
{
    return QStringLiteral("192.168.10.20");
}

QString describeGrid(const GridSettings &grid, const QStringList &fields)
{
    QStringList out;
    for (int i = 0; i < 3; ++i)
        out << grid.sort.komoku[i] << grid.sort.jyun[i];
    out << grid.columns.order();
    for (const QString &f : fields)
        out << QStringLiteral("%1:%2:%3")
                   .arg(f)
                   .arg(grid.columns.isVisible(f))
                   .arg(grid.columns.width(f));
    out << QString::number(grid.fontSize);
    return out.join(u'|');
}

QString describe(const AppSettings &s)
{
    const DbSettings &db = s.db;
    return QStringList {db.type,
                        db.folder,
                        db.ip,
                        QString::number(db.port),
                        db.name,
                        db.user,
                        db.pass,
                        describeGrid(s.pcGrid, AppSettings::pcGridFields()),
                        QString::number(s.tekkyoHiHyoji),
                        QString::number(s.jidoKosin),
                        describeGrid(s.appliPcGrid, AppSettings::appliPcGridFields()),
                        QString::number(s.appliDel),
                        s.net.ipAddr,
                        s.net.subNetMask,
                        s.net.ipAddr2,
                        s.net.subNetMask2}
        .join(u'\n');
}

// A state text the program does not know leaves the window as designed,
// normal, which the close writes back.
QString describe(const WindowPlacement::Restored &r)
{
    return QStringLiteral("%1,%2 %3x%4 %5")
        .arg(r.topLeft.x())
        .arg(r.topLeft.y())
        .arg(r.size.width())
        .arg(r.size.height())
        .arg(int(r.stateGiven ? r.state : WindowPlacement::State::Normal));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path
        = Fuzz::writeScratchFile(QStringLiteral("Orvane.INI"), Fuzz::bytes(data, size));
    IniFile ini(path);
    if (ini.readFailed())
        return 0;
    AppSettings read(DataDir);
    read.readAtStart(ini, {}, localIp);
    WindowPlacement placement(QStringLiteral("Fmain"));
    const WindowPlacement::Restored restored = placement.restore(ini, Screen, true);

    // The close, with the window where and as it was placed.
    read.writeAtClose(ini);
    AppSettings::writeVersion(ini);
    placement.save(ini, placement.rememberedBounds(),
                   restored.stateGiven ? restored.state : WindowPlacement::State::Normal);
    Fuzz::check(ini.updateFile(), QStringLiteral("not written: ") + ini.errorString());

    const IniFile back(path);
    Fuzz::check(back.toText() == ini.toText(), QStringLiteral("the file reads back changed"));
    AppSettings again(DataDir);
    again.readAtStart(back, {}, localIp);
    Fuzz::check(describe(again) == describe(read),
                QStringLiteral("settings read back changed:\n%1\n---\n%2")
                    .arg(describe(read), describe(again)));
    WindowPlacement placementAgain(QStringLiteral("Fmain"));
    Fuzz::check(describe(placementAgain.restore(back, Screen, true)) == describe(restored),
                QStringLiteral("placement read back changed: %1 / %2")
                    .arg(describe(restored), describe(placementAgain.restore(back, Screen, true))));
    Fuzz::check(back.readFloat(QStringLiteral("Orvane"), QStringLiteral("Ver"), 0)
                    == AppSettings::Version,
                QStringLiteral("version not read back"));
    return 0;
}
