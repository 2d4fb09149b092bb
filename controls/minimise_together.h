// The program's windows go down and come back as one. Minimising any of them (its minimise
// button or the desktop's) minimises all the program's windows, so a modal window never hides
// alone and leaves the window under it frozen without a taskbar entry; restoring any of them
// (the main window from the taskbar, usually) brings them all back and raises and activates
// the window that was on top when they went down.
#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

namespace deskleaf {

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
