// The translations of the user's language, for both programs.
#pragma once

#include <QLocale>

class QCoreApplication;

namespace deskleaf {

// Installs on app the program's own translation of locale's language (every message and
// notice the programs make) and Qt's own (its dialogs, their buttons and the standard buttons
// of message boxes), when there is one. English needs none: the messages are written in it.
// Returns whether any was installed.
bool installTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

} // namespace deskleaf
