#include "OrvaneCtl.h"

#include <QGuiApplication>
#include <QTextStream>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace {

bool showQtMessages = false;

// Qt's own diagnostics (such as "QStandardPaths: XDG_RUNTIME_DIR not set")
// are not the tool's output: a scheduled job would mail them every night.
// They are shown with --verbose only.
void qtMessage(QtMsgType type, const QMessageLogContext &, const QString &text)
{
    if (showQtMessages)
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    if (type == QtFatalMsg)
        std::abort();
}

} // namespace

int main(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--verbose") == 0)
            showQtMessages = true;
    }
    qInstallMessageHandler(qtMessage);
    // The sheets are drawn with fonts, which need a GUI application; the
    // tool never shows a window, so it needs no display either.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("Orvane"));
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList arguments = QCoreApplication::arguments();
    arguments.removeFirst();
    OrvaneCtl ctl(QCoreApplication::applicationFilePath(), out, err);
    ctl.setErrIsTerminal(::isatty(STDERR_FILENO) == 1);
    return ctl.run(arguments);
}
