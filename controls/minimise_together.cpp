#include "controls/minimise_together.h"

#include <QApplication>
#include <QEvent>
#include <QWindowStateChangeEvent>

#include <algorithm>

namespace deskleaf {

namespace {

// Windows the user sees as the program's own: shown main windows and dialogs, not menus or
// tool tips.
bool isProgramWindow(const QWidget* w)
{
    const Qt::WindowType type = w->windowType();
    return w->isWindow() && w->isVisible() && (type == Qt::Window || type == Qt::Dialog);
}

// The window at the end of w's owners: the one that owns the others.
QWidget* lastOwner(QWidget* w)
{
    w = w->window();
    while (w->parentWidget())
        w = w->parentWidget()->window();
    return w;
}

} // namespace

void minimiseProgram(QWidget* window)
{
    lastOwner(window)->showMinimized();
}

MinimiseTogether::MinimiseTogether(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
}

bool MinimiseTogether::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::WindowStateChange || busy_ || !watched->isWidgetType())
        return false;
    auto* w = static_cast<QWidget*>(watched);
    if (!w->isWindow())
        return false;
    const bool was = static_cast<QWindowStateChangeEvent*>(event)->oldState() & Qt::WindowMinimized;
    const bool is = w->windowState() & Qt::WindowMinimized;
    if (is && !was)
        minimiseAll(w);
    else if (was && !is)
        restoreAll(w);
    return false;
}

void MinimiseTogether::minimiseAll(QWidget* from)
{
    // A modal window is on top of what it blocks; otherwise the active window, or the one
    // that went down.
    QWidget* top = QApplication::activeModalWidget();
    if (!top)
        top = QApplication::activeWindow();
    top_ = top ? top : from;
    busy_ = true;
    // Owners first, so that no focus falls on a window that a modal one blocks.
    QWidgetList windows = QApplication::topLevelWidgets();
    std::stable_partition(windows.begin(), windows.end(),
                          [](const QWidget* w) { return !w->parentWidget(); });
    for (QWidget* w : windows)
        if (w != from && isProgramWindow(w) && !w->isMinimized())
            w->setWindowState(w->windowState() | Qt::WindowMinimized);
    busy_ = false;
}

void MinimiseTogether::restoreAll(QWidget* from)
{
    busy_ = true;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w != from && isProgramWindow(w) && w->isMinimized()) {
            w->setWindowState(w->windowState() & ~Qt::WindowMinimized);
            w->show();
        }
    busy_ = false;
    QWidget* top = top_ && top_->isVisible() ? top_.data() : from;
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != top)
        top = modal; // nothing under a modal window may end up above it
    top->raise();
    top->activateWindow();
    top_ = nullptr;
}

} // namespace deskleaf
