#include "controls/title_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace deskleaf {

TitleBandDrag::TitleBandDrag(QWidget* band, int bandHeight)
    : QObject(band), band_(band), bandHeight_(bandHeight)
{
    band->installEventFilter(this);
}

bool TitleBandDrag::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != band_)
        return false;
    // Never consumed: the band keeps its own press, move and release for its looks and signals.
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        const qreal y = mouse->position().y();
        if (mouse->button() != Qt::LeftButton || y < 0 || y >= bandHeight_)
            break;
        QWidget* window = band_->window();
        QWindow* handle = window->windowHandle();
        following_ = !(handle && handle->startSystemMove());
        pressGlobal_ = mouse->globalPosition().toPoint();
        windowStart_ = window->pos();
        break;
    }
    case QEvent::MouseMove: {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (!following_)
            break;
        if (!(mouse->buttons() & Qt::LeftButton)) {
            following_ = false; // the release went elsewhere
            break;
        }
        band_->window()->move(windowStart_ + mouse->globalPosition().toPoint() - pressGlobal_);
        break;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            following_ = false;
        break;
    default:
        break;
    }
    return false;
}

} // namespace deskleaf
