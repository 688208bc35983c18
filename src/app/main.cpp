#include "Umain.h"
#include "base/OrvaneVersion.h"
#include "base/ProgramPaths.h"
#include "kit/JapaneseQtTexts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <cstdio>
#include <cstring>

namespace {

// A Japanese gothic face for the whole interface when it is installed.
void useJapaneseFont(QApplication &app)
{
    const QStringList families = QFontDatabase::families();
    for (const QString &family : {QStringLiteral("IPAexGothic"), QStringLiteral("IPAPGothic")}) {
        if (families.contains(family)) {
            QFont font = app.font();
            font.setFamily(family);
            app.setFont(font);
            return;
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    // Answered before the application exists: it needs no display.
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Orvane %s\n", ORVANE_VERSION);
        return 0;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    useJapaneseFont(app);
    JapaneseQtTexts::install(app);

    TFmain mainWindow(ProgramPaths::forRunningProgram());
    mainWindow.show();
    return app.exec();
}
