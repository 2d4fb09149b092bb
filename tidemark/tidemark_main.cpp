// Tidemark, the desktop program. Started by the logon entry, with its one argument, it makes
// the day's wallpaper without a window; any other start opens the main window.
#include "model/jobs.h"
#include "model/picture_import.h"
#include "model/settings.h"
#include "windows/main_window.h"
#include "windows/settings_window.h"
#include "wiring/program_place.h"
#include "wiring/translations.h"
#include "wiring/wiring.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>
#include <QTimer>

#include <cstdio>
#include <stdexcept>

using namespace deskleaf;

namespace {

void tell(const QString& problem)
{
    std::fprintf(stderr, "Tidemark: %s\n", qUtf8Printable(problem));
}

} // namespace

int main(int argc, char** argv)
{
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const bool unattended = isLogonStart(arguments);
    // The logon start shows nothing, so it needs no display.
    if (unattended && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    installTranslations(app);
    // The launcher's name: Wayland compositors match the window to it by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.deskleaf.Deskleaf"));
    // Every window's icon: the one installed with the launcher, from the icon theme; hicolor,
    // where it is installed, when the desktop names no theme or its theme lacks it.
    if (QIcon::fallbackThemeName().isEmpty())
        QIcon::setFallbackThemeName(QStringLiteral("hicolor"));
    QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.deskleaf.Deskleaf")));

    // The folder and the registered program are this very file's, never a guess from the
    // working folder.
    QString executable;
    QString folderPath;
    QString why;
    try {
        executable = runningProgram();
        folderPath = defaultProgramFolder(executable);
    } catch (const std::runtime_error& e) {
        const QString reason = QString::fromUtf8(e.what());
        why = reason.front().toUpper() + reason.mid(1) + u'.';
    }
    if (!why.isEmpty()) {
        if (unattended)
            tell(why);
        else
            MainWindow::showMessage(nullptr, why);
        return 1;
    }

    ProgramFolder folder(folderPath);
    QStringList problems;
    try {
        ensureSettingsFile(folder);
    } catch (const std::exception& e) {
        problems << QString::fromUtf8(e.what());
    }
    const RealDesktop real(executable);
    const StartupDecision decision =
        decideStartup(folder, real.desktop(), RealDesktop::today(), unattended);
    if (!decision.problem.isEmpty())
        problems << decision.problem;
    if (!decision.interactive) {
        // Nobody sees this start: each failure goes to stderr and into the exit status.
        for (const QString& problem : problems)
            tell(problem);
        const LogonJobResult& job = *decision.logonJob;
        if (!job.message.isEmpty())
            tell(job.message);
        return problems.isEmpty() && job.job != LogonJob::Failed ? 0 : 1;
    }
    const QString problem = problems.join(QStringLiteral("\n\n"));

    MainWindow window(MainWindowServices{folder, real.desktop(), &RealDesktop::today,
                                         [](QWidget* w) { return screenSizeInPixels(w->screen()); },
                                         &MainWindow::askForPicture, &MainWindow::showMessage,
                                         [&folder](QWidget* owner) {
                                             SettingsWindow settings(
                                                 SettingsServices{folder, &RealDesktop::today,
                                                                  &SettingsWindow::askForColour,
                                                                  &SettingsWindow::showMessage,
                                                                  &SettingsWindow::execute,
                                                                  &clearIconLabelBackground},
                                                 owner);
                                             settings.exec();
                                         }},
                      decision.autoRunTicked);
    window.show();
    if (!problem.isEmpty())
        QTimer::singleShot(0, &window, [&] { MainWindow::showMessage(&window, problem); });
    return app.exec();
}
