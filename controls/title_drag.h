// Makes a frameless window movable by its title band: a left press in the top bandHeight pixels
// of the watched widget hands the move to the window system (QWindow::startSystemMove, on X11,
// Wayland and Windows); where the window system cannot do it, the window follows the pointer
// until the button is released. The widget still receives every event.
#pragma once

#include <QObject>
#include <QPoint>

class QWidget;

namespace deskleaf {

class TitleBandDrag : public QObject {
    Q_OBJECT
public:
    // Installs itself on band, which owns it.
    TitleBandDrag(QWidget* band, int bandHeight);

    int bandHeight() const { return bandHeight_; }
    // True while the window follows the pointer by itself.
    bool following() const { return following_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* band_;
    int bandHeight_;
    bool following_ = false;
    QPoint pressGlobal_; // pointer at the press, global pixels
    QPoint windowStart_; // window position at the press
};

} // namespace deskleaf
