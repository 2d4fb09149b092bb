// Composes the wallpaper of one monitor or of two (1920x1080 beside a portrait 1080x1920)
// from one picture into a fresh folder, as an import does, and prints the milliseconds it
// took: bench/compose_monitors.sh runs it.
//   compose_monitors PICTURE one|two|spanned
#include "model/jobs.h"

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <cstring>

using namespace deskleaf;

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: compose_monitors PICTURE one|two|spanned\n");
        return 2;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QTemporaryDir dir;
    ProgramFolder folder(dir.path());
    ComposeTarget target = ComposeTarget::single({1920, 1080});
    if (std::strcmp(argv[2], "one") != 0) {
        target.screens.front().name = QStringLiteral("DP-1");
        target.screens.append({QStringLiteral("DP-2"), QRect(1920, 0, 1080, 1920), 1, false});
        target.layout = std::strcmp(argv[2], "spanned") == 0 ? PictureLayout::Spanned
                                                             : PictureLayout::PerScreen;
    }
    MonthGrid grid(MonthGrid::Kind::Main);
    fillForToday(grid, folder, QDate(2026, 3, 5));
    QElapsedTimer timer;
    timer.start();
    try {
        importPicture(folder, QString::fromLocal8Bit(argv[1]), target, grid);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "compose_monitors: %s\n", e.what());
        return 1;
    }
    std::printf("%lld\n", timer.elapsed());
    return 0;
}
