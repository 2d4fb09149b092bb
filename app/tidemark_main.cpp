// Tidemark, the desktop program. No arguments: within three minutes of start-up it makes
// the day's wallpaper without a window; otherwise it opens the main window.
#include "jobs.h"
#include "main_window.h"
#include "picture_import.h"
#include "settings.h"
#include "settings_window.h"
#include "startup_clock.h"
#include "wiring.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>

using namespace deskleaf;

int main(int argc, char** argv)
{
    const QString executable = executablePath(argv[0]);
    const std::optional<double> uptime = secondsSinceStartup();
    // The logon start shows nothing, so it needs no display.
    if (isLogonStart(uptime) && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The launcher's name: Wayland compositors match the window to it by this id.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.deskleaf.Deskleaf"));

    ProgramFolder folder(defaultProgramFolder(executable));
    QString problem;
    try {
        ensureSettingsFile(folder);
    } catch (const std::exception& e) {
        problem = QString::fromUtf8(e.what());
    }
    const RealDesktop real(executable);
    const StartupDecision decision =
        decideStartup(folder, real.desktop(), RealDesktop::today(), uptime);
    if (!decision.interactive) {
        const LogonJobResult& job = *decision.logonJob;
        if (!job.message.isEmpty())
            std::fprintf(stderr, "Tidemark: %s\n", qUtf8Printable(job.message));
        return job.job == LogonJob::Failed ? 1 : 0;
    }
    if (problem.isEmpty())
        problem = decision.problem;

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
