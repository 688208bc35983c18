#include "Umain.h"
#include "base/ProgramPaths.h"
#include "kit/JapaneseQtTexts.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

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
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.34"));
    useJapaneseFont(app);
    JapaneseQtTexts::install(app);

    TFmain mainWindow(ProgramPaths::forRunningProgram());
    mainWindow.show();
    return app.exec();
}
