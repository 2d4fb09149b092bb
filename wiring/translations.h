// The translations of the user's language, for both programs.
#pragma once

#include <QLocale>

class QCoreApplication;

namespace deskleaf {

// Installs on app Qt's own translation of locale's language (its dialogs, their buttons and
// the standard buttons of message boxes), when the system has one. English needs none; a
// language Qt has no translation for keeps Qt's English. Returns whether one was installed.
bool installTranslations(QCoreApplication& app, const QLocale& locale = QLocale::system());

} // namespace deskleaf
