#include "controls/xptopbuttons.h"

#include "controls/event_codes.h"

#include "controls/xpcmdbutton.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

namespace deskleaf {

xptopbuttons::xptopbuttons(QWidget* parent)
    : QWidget(parent),
      sheets_{SpriteSheet::fromResource(QStringLiteral("xptopbuttons-close.png"), 1, 4),
              SpriteSheet::fromResource(QStringLiteral("xptopbuttons-maximise.png"), 1, 4),
              SpriteSheet::fromResource(QStringLiteral("xptopbuttons-minimise.png"), 1, 4)},
      timer_(new QTimer(this))
{
    setFixedSize(sizeHint());
    setMouseTracking(true);
    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(10);
    connect(timer_, &QTimer::timeout, this, &xptopbuttons::poll);
    timer_->start();
    refresh();
    showCell(Normal);
}

void xptopbuttons::setValue(int value)
{
    if (value == value_)
        return;
    value_ = value;
    emit PropertyChanged(QStringLiteral("Value"));
    refresh();
}

void xptopbuttons::InitProperties()
{
    setValue(0);
    setEnabled(true);
}

// Value is only stored: the glyph it picks shows from the next refresh, at the latest when
// the button is shown.
void xptopbuttons::ReadProperties(const PropertyBag& bag)
{
    value_ = bag.ReadProperty(QStringLiteral("Value"), 0).toInt();
    setEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
}

void xptopbuttons::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("Value"), value_, 0);
    bag.WriteProperty(QStringLiteral("Enabled"), !testAttribute(Qt::WA_ForceDisabled), true);
}

// The cell is drawn at the screen's pixel ratio, taken again when the window moves to a screen
// of another ratio.
void xptopbuttons::paintEvent(QPaintEvent*)
{
    if (shownSheet_ >= 0) {
        QPixmap sharp = sheets_[std::size_t(shownSheet_)].cell(cell_, devicePixelRatioF());
        if (sharp.devicePixelRatio() != cache_.devicePixelRatio())
            cache_ = sharp;
    }
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(0, 0, cache_);
}

void xptopbuttons::showEvent(QShowEvent*)
{
    refresh();
}

// Enabling or disabling keeps the sheet chosen so far.
void xptopbuttons::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange)
        showCell(isEnabled() ? Normal : Disabled);
    QWidget::changeEvent(event);
}

void xptopbuttons::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        clickArmed_ = true;
    showCell(Pressed);
    const QPointF pos = event->position();
    emit MouseDown(buttonCode(event->button()), shiftCode(event->modifiers()), float(pos.x()),
                   float(pos.y()));
}

// The second press of a double click does nothing, so a double click clicks once.
void xptopbuttons::mouseDoubleClickEvent(QMouseEvent*)
{
}

void xptopbuttons::mouseMoveEvent(QMouseEvent* event)
{
    if (!timer_->isActive())
        timer_->start();
    const QPointF pos = event->position();
    if (pos.x() < 0 || pos.y() < 0 || pos.x() > width() || pos.y() > height())
        return;
    const short button = buttonCode(event->buttons());
    emit MouseMove(button, shiftCode(event->modifiers()), float(pos.x()), float(pos.y()));
    showCell(button == 1 ? Pressed : Hover);
}

// The normal cell even while the pointer is still over the button, until it moves again.
void xptopbuttons::mouseReleaseEvent(QMouseEvent* event)
{
    const QPointF pos = event->position();
    const bool click =
        event->button() == Qt::LeftButton && clickArmed_ && rect().contains(pos.toPoint());
    if (event->button() == Qt::LeftButton)
        clickArmed_ = false;
    showCell(Normal);
    emit MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), float(pos.x()),
                 float(pos.y()));
    if (click)
        emit Click(); // last: the handler may close the window
}

void xptopbuttons::poll()
{
    const QPoint pos = mapFromGlobal(QCursor::pos());
    if (pos.x() >= 0 && pos.y() >= 0 && pos.x() <= width() && pos.y() <= height())
        return;
    timer_->stop();
    emit MouseOut();
    if (isEnabled())
        showCell(Normal);
}

void xptopbuttons::refresh()
{
    if (value_ >= Close && value_ <= Minimise)
        sheet_ = value_;
    showCell(isEnabled() ? Normal : Disabled);
}

void xptopbuttons::showCell(int cell)
{
    if (cell == cell_ && sheet_ == shownSheet_)
        return;
    cell_ = cell;
    shownSheet_ = sheet_;
    cache_ = sheets_[std::size_t(sheet_)].cell(cell, devicePixelRatioF());
    update();
}

} // namespace deskleaf
