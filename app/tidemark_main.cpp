// Tidemark, the desktop program. No arguments: within three minutes of start-up it makes
// the day's wallpaper without a window; otherwise it opens the main window.
#include "main_window.h"
#include "picture_import.h"
#include "settings.h"
#include "startup.h"
#include "startup_clock.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

using namespace deskleaf;

int main(int argc, char** argv)
{
    const QString executable = executablePath(argv[0]);
    const QString folder =
        programFolder(executable, QStringLiteral(DESKLEAF_INSTALL_BINDIR),
                      QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
    const std::optional<double> uptime = secondsSinceStartup();
    const bool unattended = uptime && *uptime < kUnattendedWindow;
    // The logon start shows nothing, so it needs no display.
    if (unattended && !qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);

    QString problem;
    try {
        ensureSettingsFile(folder);
    } catch (const std::exception& e) {
        problem = QString::fromUtf8(e.what());
    }
    ProfileFile profile(QDir(folder).filePath(QStringLiteral("kel.ini")));
    ProcessRunner runner;
    const auto wallpaper = makeWallpaperSetter(DesktopEnvironment::fromProcess(), runner);
    const auto logon = makeLogonStart();
    const StartupServices services{profile,    folder, QDate::currentDate(),
                                   *wallpaper, *logon, executable};
    const StartupDecision decision = decideStartup(services, uptime);
    if (!decision.interactive) {
        const LogonJobResult& job = *decision.logonJob;
        if (!job.message.isEmpty())
            std::fprintf(stderr, "Tidemark: %s\n", qUtf8Printable(job.message));
        return job.job == LogonJob::Failed ? 1 : 0;
    }
    if (problem.isEmpty())
        problem = decision.problem;

    MainWindow window(MainWindowServices{profile, folder, *wallpaper, *logon, executable,
                                         [] { return QDate::currentDate(); },
                                         [&window] { return screenSizeInPixels(window.screen()); },
                                         &MainWindow::askForPicture, &MainWindow::showMessage},
                      decision.autoRunTicked);
    window.show();
    if (!problem.isEmpty())
        QTimer::singleShot(0, &window, [&] { MainWindow::showMessage(&window, problem); });
    return app.exec();
}
