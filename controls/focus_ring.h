// The ring that shows which control of a window has the keyboard focus: a band of a strong
// blue just outside the control, over whatever is there, for every control of the window,
// the skinned ones and Qt's own alike (their own focus marks are faint or none). It follows
// the control as it moves. As on the desktop, it shows while the user works with the keyboard:
// from a key press in any of the program's windows until a click.
#pragma once

#include <QColor>
#include <QPointer>
#include <QWidget>

namespace deskleaf {

class FocusRing : public QWidget {
public:
    static constexpr int kWidth = 2; // pixels outside the control
    static inline const QColor kColour{0, 70, 200};

    // Rings the focused control of window (a top-level widget) from now on, until it goes.
    explicit FocusRing(QWidget* window);

    // The control the ring is around while it shows.
    QWidget* target() const { return target_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void follow(QWidget* control);
    void place();

    QPointer<QWidget> target_;
    static inline bool keyboard_ = false; // the user works with the keyboard
};

} // namespace deskleaf
