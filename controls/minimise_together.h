// The program's windows go down and come back as one. Minimising any of them (its minimise
// button or the desktop's) minimises all the program's windows, so a modal window never hides
// alone and leaves the window under it frozen without a taskbar entry; restoring any of them
// (the main window from the taskbar, usually) brings them all back and raises and activates
// the window that was on top when they went down.
//
// A window manager may take a modal window down alone (xfwm4 does): the window under it is
// offered the focus and Qt hands that straight back to the modal window, which comes up
// again. So a window's own minimise button minimises the program through minimiseProgram,
// the owner going down first; and on X11 the focus offered to a modal window's owners is
// held back a moment, until it is clear whether the modal window went down (the program
// follows) or was only clicked past (it takes the focus back).
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace deskleaf {

// Minimises the program from one of its windows: the window that owns it (the last of its
// owners) goes down, and the windows it owns with it.
void minimiseProgram(QWidget* window);

class MinimiseTogether : public QObject {
public:
    // Watches every window of the application from now on, until parent goes.
    explicit MinimiseTogether(QObject* parent);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void minimiseAll(QWidget* from);
    void restoreAll(QWidget* from);

    QPointer<QWidget> top_;
    bool busy_ = false; // the state changes it makes itself are not answered
};

} // namespace deskleaf
