// Linked into every window test: Qt's own texts in Japanese, as in the
// program.
#include "kit/JapaneseQtTexts.h"

#include <QCoreApplication>

namespace {

void installJapanese()
{
    JapaneseQtTexts::install(*QCoreApplication::instance());
}

} // namespace

Q_COREAPP_STARTUP_FUNCTION(installJapanese)
