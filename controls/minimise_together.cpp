#include "controls/minimise_together.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>

#ifdef DESKLEAF_HAVE_XCB
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>
#endif

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

#ifdef DESKLEAF_HAVE_XCB

// A window manager that takes a modal window down alone (xfwm4, from its own shortcut or
// menu) first offers the focus to the window under it (WM_TAKE_FOCUS, then FocusIn), and Qt
// answers that at once by activating the modal window, which brings it straight back up. So
// the focus a window under a modal one is offered is kept from Qt for a moment: if by then
// the modal window is iconic, the program goes down as a whole; if not (the user clicked the
// window under it), the modal window is activated, as Qt would have done.
class IconicModalFocus : public QObject, public QAbstractNativeEventFilter {
public:
    IconicModalFocus(xcb_connection_t* connection, QObject* parent)
        : QObject(parent), connection_(connection), wmState_(atom("WM_STATE")),
          wmProtocols_(atom("WM_PROTOCOLS")), wmTakeFocus_(atom("WM_TAKE_FOCUS"))
    {
    }

    bool nativeEventFilter(const QByteArray& type, void* message, qintptr*) override
    {
        if (type != "xcb_generic_event_t" || wmState_ == XCB_ATOM_NONE)
            return false;
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        xcb_window_t window = XCB_WINDOW_NONE;
        switch (event->response_type & 0x7f) {
        case XCB_FOCUS_IN: {
            const auto* focus = reinterpret_cast<const xcb_focus_in_event_t*>(event);
            if (focus->detail != XCB_NOTIFY_DETAIL_POINTER)
                window = focus->event;
            break;
        }
        case XCB_CLIENT_MESSAGE: {
            const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
            if (client->type == wmProtocols_ && client->format == 32 &&
                client->data.data32[0] == wmTakeFocus_)
                window = client->window;
            break;
        }
        default:
            break;
        }
        QPointer<QWindow> modal = QGuiApplication::modalWindow();
        if (window == XCB_WINDOW_NONE || !modal || !modal->handle() || !owns(window, *modal))
            return false;
        if (!pending_) {
            pending_ = true;
            // The window manager's next steps arrive within a few milliseconds.
            QTimer::singleShot(kSettle, this, [this, modal] {
                pending_ = false;
                if (!modal || !modal->isVisible() || QGuiApplication::modalWindow() != modal)
                    return;
                if (!iconic(*modal))
                    modal->requestActivate();
                else if (QWidget* widget = QWidget::find(modal->winId()))
                    minimiseProgram(widget);
            });
        }
        return true;
    }

private:
    // Whether window is one of the windows that modal stands on (its transient parents).
    static bool owns(xcb_window_t window, const QWindow& modal)
    {
        for (const QWindow* w = modal.transientParent(); w; w = w->transientParent())
            if (w->handle() && w->winId() == window)
                return true;
        return false;
    }

    // Whether the window manager keeps window iconic (ICCCM's WM_STATE), asked now: the
    // change may still be on its way to Qt.
    bool iconic(const QWindow& window) const
    {
        constexpr quint32 kIconicState = 3;
        const std::unique_ptr<xcb_get_property_reply_t, decltype(&std::free)> reply(
            xcb_get_property_reply(connection_,
                                   xcb_get_property(connection_, 0, xcb_window_t(window.winId()),
                                                    wmState_, XCB_ATOM_ANY, 0, 1),
                                   nullptr),
            &std::free);
        return reply && reply->format == 32 && xcb_get_property_value_length(reply.get()) >= 4 &&
               *static_cast<const quint32*>(xcb_get_property_value(reply.get())) == kIconicState;
    }

    xcb_atom_t atom(const char* name) const
    {
        const std::unique_ptr<xcb_intern_atom_reply_t, decltype(&std::free)> reply(
            xcb_intern_atom_reply(connection_,
                                  xcb_intern_atom(connection_, 0, quint16(qstrlen(name)), name),
                                  nullptr),
            &std::free);
        return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    }

    static constexpr std::chrono::milliseconds kSettle{100};
    xcb_connection_t* connection_;
    xcb_atom_t wmState_;
    xcb_atom_t wmProtocols_;
    xcb_atom_t wmTakeFocus_;
    bool pending_ = false;
};

#endif

} // namespace

void minimiseProgram(QWidget* window)
{
    lastOwner(window)->showMinimized();
}

MinimiseTogether::MinimiseTogether(QObject* parent) : QObject(parent)
{
    qApp->installEventFilter(this);
#ifdef DESKLEAF_HAVE_XCB
    // Qt removes the filter when it goes.
    // (The offscreen platform answers as X11, with no connection.)
    if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        x11 && x11->connection())
        qApp->installNativeEventFilter(new IconicModalFocus(x11->connection(), this));
#endif
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
