// Prints the monitors currentScreens() measures, one a line, for the real-desktop tests:
//   NAME<TAB>WxH+X+Y<TAB>SCALE[<TAB>primary]
// With --qt, then Qt's own view of each screen, for comparison:
//   qt<TAB>NAME<TAB>logical WxH+X+Y<TAB>ratio R<TAB>WxH (logical size times R, rounded)
#include "platform/screens.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <cstdio>
#include <exception>

namespace {

QString geometry(const QRect& r)
{
    return QStringLiteral("%1x%2%3%4%5%6")
        .arg(r.width())
        .arg(r.height())
        .arg(r.x() < 0 ? "" : "+")
        .arg(r.x())
        .arg(r.y() < 0 ? "" : "+")
        .arg(r.y());
}

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    try {
        for (const deskleaf::ScreenInfo& s : deskleaf::currentScreens())
            std::printf("%s\t%s\t%g%s\n", qUtf8Printable(s.name),
                        qUtf8Printable(geometry(s.pixels)), s.scale, s.primary ? "\tprimary" : "");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "print_screens: %s\n", e.what());
        return 1;
    }
    if (app.arguments().contains(QStringLiteral("--qt"))) {
        for (const QScreen* s : QGuiApplication::screens()) {
            const double r = s->devicePixelRatio();
            std::printf("qt\t%s\t%s\tratio %g\t%ldx%ld\n", qUtf8Printable(s->name()),
                        qUtf8Printable(geometry(s->geometry())), r,
                        std::lround(s->geometry().width() * r),
                        std::lround(s->geometry().height() * r));
        }
    }
    return 0;
}
