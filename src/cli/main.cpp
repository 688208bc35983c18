#include "OrvaneCtl.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>

int main(int argc, char *argv[])
{
    // The sheets are drawn with fonts, which need a GUI application; the
    // tool never shows a window, so it needs no display either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    return OrvaneCtl(QCoreApplication::applicationFilePath(), out, err).run(arguments);
}
