#include "screens.h"

#include <QGuiApplication>
#include <QScreen>

namespace deskleaf {

ScreenList currentScreens()
{
    ScreenList screens;
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ||
        QGuiApplication::platformName() == QLatin1String("offscreen"))
        return screens;
    const QScreen* primary = QGuiApplication::primaryScreen();
    for (const QScreen* screen : QGuiApplication::screens()) {
        const double ratio = screen->devicePixelRatio();
        const QRect logical = screen->geometry();
        const QRect pixels(QPoint(qRound(logical.x() * ratio), qRound(logical.y() * ratio)),
                           (QSizeF(logical.size()) * ratio).toSize());
        ScreenInfo info{screen->name(), pixels, ratio, screen == primary};
        if (info.primary)
            screens.prepend(info);
        else
            screens.append(info);
    }
    return screens;
}

} // namespace deskleaf
