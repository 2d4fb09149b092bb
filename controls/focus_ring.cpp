#include "controls/focus_ring.h"

#include <QApplication>
#include <QFocusEvent>
#include <QPainter>

namespace deskleaf {

FocusRing::FocusRing(QWidget* window) : QWidget(window)
{
    setObjectName(QStringLiteral("focusRing"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    hide();
    qApp->installEventFilter(this);
}

bool FocusRing::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::FocusIn && type != QEvent::KeyPress && type != QEvent::MouseButtonPress &&
        type != QEvent::Move && type != QEvent::Resize && type != QEvent::Show &&
        type != QEvent::Hide)
        return false;
    if (!watched->isWidgetType())
        return false;
    auto* widget = static_cast<QWidget*>(watched);
    if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress) {
        // Any window of the program switches the mode, this one shows it.
        keyboard_ = type == QEvent::KeyPress;
        if (QWidget* focused = window()->focusWidget(); keyboard_ && focused)
            follow(focused);
        else if (!keyboard_)
            hide();
    } else if (type == QEvent::FocusIn) {
        if (widget != this && widget->window() == window())
            follow(widget);
    } else if (widget == target_) {
        place();
    }
    return false;
}

void FocusRing::follow(QWidget* control)
{
    if (target_ != control) {
        if (target_)
            disconnect(target_, nullptr, this, nullptr);
        target_ = control;
        connect(control, &QObject::destroyed, this, &QWidget::hide);
    }
    place();
}

void FocusRing::place()
{
    if (!target_ || !keyboard_ || !target_->isVisible() || window()->focusWidget() != target_ ||
        target_->isWindow()) {
        hide();
        return;
    }
    const QRect place(target_->mapTo(window(), QPoint()), target_->size());
    setGeometry(place.adjusted(-kWidth, -kWidth, kWidth, kWidth));
    raise();
    show();
}

void FocusRing::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect r = rect();
    painter.fillRect(r.x(), r.y(), r.width(), kWidth, kColour);
    painter.fillRect(r.x(), r.bottom() - kWidth + 1, r.width(), kWidth, kColour);
    painter.fillRect(r.x(), r.y(), kWidth, r.height(), kColour);
    painter.fillRect(r.right() - kWidth + 1, r.y(), kWidth, r.height(), kColour);
}

} // namespace deskleaf
