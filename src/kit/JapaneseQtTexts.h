#pragma once

class QCoreApplication;

// Qt's own texts (Yes/No, OK/Cancel, the file and print dialogs) in
// Japanese: Qt's Japanese translation is installed on the application and
// the default locale becomes Japanese. False when the translation is not
// installed on this machine; the texts then stay as Qt ships them.
namespace JapaneseQtTexts {

bool install(QCoreApplication &app);

} // namespace JapaneseQtTexts
