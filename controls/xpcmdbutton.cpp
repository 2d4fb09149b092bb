#include "controls/xpcmdbutton.h"

#include "controls/event_codes.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include <utility>

namespace deskleaf {

namespace {

const QColor kCaptionColour(0, 0, 0);
const QColor kDisabledCaptionColour(161, 161, 146);

} // namespace

xpcmdbutton::xpcmdbutton(QWidget* parent)
    : QWidget(parent), faces_(SpriteSheet::fromResource(QStringLiteral("xpcmdbutton.png"), 1, 5)),
      label_(new QLabel(QStringLiteral("xpcmdbutton"), this)), timer_(new QTimer(this))
{
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    resize(sizeHint());

    label_->setObjectName(QStringLiteral("lbl"));
    label_->setTextFormat(Qt::PlainText);
    label_->setAlignment(Qt::AlignCenter);
    label_->setMouseTracking(true);
    label_->installEventFilter(this);
    QPalette palette = label_->palette();
    palette.setColor(QPalette::WindowText, kCaptionColour);
    label_->setPalette(palette);

    timer_->setObjectName(QStringLiteral("Timer1"));
    timer_->setInterval(10);
    connect(timer_, &QTimer::timeout, this, &xpcmdbutton::poll);

    relayout();
}

xpcmdbutton::~xpcmdbutton()
{
    if (hasFocus())
        clearFocus();
}

void xpcmdbutton::setEnabled(bool enabled)
{
    if (enabled == !testAttribute(Qt::WA_ForceDisabled))
        return;
    QWidget::setEnabled(enabled); // changeEvent repaints
    emit PropertyChanged(QStringLiteral("Enabled"));
}

void xpcmdbutton::setFont(const QFont& font)
{
    if (testAttribute(Qt::WA_SetFont) && font == this->font())
        return;
    QWidget::setFont(font); // changeEvent re-lays out
    emit PropertyChanged(QStringLiteral("Font"));
}

void xpcmdbutton::setState(int state)
{
    if (state == state_)
        return;
    state_ = state;
    emit PropertyChanged(QStringLiteral("State"));
    refresh();
}

QString xpcmdbutton::caption() const
{
    return label_->text();
}

void xpcmdbutton::setCaption(const QString& caption)
{
    if (caption == label_->text())
        return;
    label_->setText(caption);
    relayout();
    emit PropertyChanged(QStringLiteral("Caption"));
}

void xpcmdbutton::InitProperties()
{
    setEnabled(true);
    setCaption(objectName());
    setFont(ambientFont());
}

void xpcmdbutton::ReadProperties(const PropertyBag& bag)
{
    setState(bag.ReadProperty(QStringLiteral("State"), 0).toInt());
    setEnabled(bag.ReadProperty(QStringLiteral("Enabled"), true).toBool());
    setCaption(bag.ReadProperty(QStringLiteral("Caption"), objectName()).toString());
    setFont(bag.ReadProperty(QStringLiteral("Font"), QVariant::fromValue(ambientFont()))
                .value<QFont>());
}

void xpcmdbutton::WriteProperties(PropertyBag& bag) const
{
    bag.WriteProperty(QStringLiteral("State"), state_, 0);
    // Its own flag: a button in a disabled window is still saved as enabled.
    bag.WriteProperty(QStringLiteral("Enabled"), !testAttribute(Qt::WA_ForceDisabled), true);
    bag.WriteProperty(QStringLiteral("Caption"), caption(), objectName());
    bag.WriteProperty(QStringLiteral("Font"), QVariant::fromValue(font()),
                      QVariant::fromValue(ambientFont()));
}

QFont xpcmdbutton::ambientFont() const
{
    return parentWidget() ? parentWidget()->font() : QApplication::font();
}

void xpcmdbutton::paintEvent(QPaintEvent*)
{
    if (cache_.devicePixelRatio() != devicePixelRatioF()) { // moved to a screen of another ratio
        cache_ = QPixmap();
        paintFace(face_);
    }
    QPainter(this).drawPixmap(0, 0, cache_);
}

void xpcmdbutton::resizeEvent(QResizeEvent*)
{
    cache_ = QPixmap();
    relayout();
}

void xpcmdbutton::showEvent(QShowEvent*)
{
    refresh();
}

void xpcmdbutton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange) {
        refresh();
        QPalette palette = label_->palette();
        palette.setColor(QPalette::WindowText,
                         isEnabled() ? kCaptionColour : kDisabledCaptionColour);
        label_->setPalette(palette);
    } else if (event->type() == QEvent::FontChange) {
        label_->setFont(font());
        relayout();
    }
    QWidget::changeEvent(event);
}

void xpcmdbutton::mousePressEvent(QMouseEvent* event)
{
    pressed(*event, event->position());
}

void xpcmdbutton::mouseMoveEvent(QMouseEvent* event)
{
    moved(*event, event->position());
}

void xpcmdbutton::mouseReleaseEvent(QMouseEvent* event)
{
    released(*event, event->position(), event->position());
}

// The second press of a double click is no press of its own: no MouseDown, and its
// release gives no second Click, so a fast double click runs the command once.
void xpcmdbutton::mouseDoubleClickEvent(QMouseEvent* event)
{
    event->accept();
}

// The caption's mouse events are the button's, with the caption's own coordinates.
bool xpcmdbutton::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != label_)
        return QWidget::eventFilter(watched, event);
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick &&
        type != QEvent::MouseMove && type != QEvent::MouseButtonRelease)
        return false;
    const auto& mouse = static_cast<const QMouseEvent&>(*event);
    const QPointF pos = mouse.position();
    if (type == QEvent::MouseMove)
        moved(mouse, pos);
    else if (type == QEvent::MouseButtonDblClick)
        ; // as on the button itself
    else if (type == QEvent::MouseButtonRelease)
        released(mouse, pos, label_->mapToParent(pos));
    else
        pressed(mouse, pos);
    return true;
}

void xpcmdbutton::pressed(const QMouseEvent& event, QPointF pos)
{
    if (event.button() == Qt::LeftButton)
        clickArmed_ = true;
    emit MouseDown(buttonCode(event.button()), shiftCode(event.modifiers()), float(pos.x()),
                   float(pos.y()));
    paintFace(Pressed);
}

void xpcmdbutton::moved(const QMouseEvent& event, QPointF pos)
{
    if (!timer_->isActive())
        timer_->start();
    // Edges included: a point at x = width still counts as over the button.
    if (pos.x() < 0 || pos.y() < 0 || pos.x() > width() || pos.y() > height())
        return;
    const short button = buttonCode(event.buttons());
    emit MouseMove(button, shiftCode(event.modifiers()), float(pos.x()), float(pos.y()));
    paintFace(button == 1 ? Pressed : Hover);
}

void xpcmdbutton::released(const QMouseEvent& event, QPointF pos, QPointF posInButton)
{
    const bool click =
        event.button() == Qt::LeftButton && clickArmed_ && rect().contains(posInButton.toPoint());
    if (event.button() == Qt::LeftButton)
        clickArmed_ = false;
    emit MouseUp(buttonCode(event.button()), shiftCode(event.modifiers()), float(pos.x()),
                 float(pos.y()));
    refresh();
    if (click)
        emit Click(); // last: the handler may close the window
}

void xpcmdbutton::keyPressEvent(QKeyEvent* event)
{
    emit KeyDown(keyCode(*event), shiftCode(event->modifiers()));
    if (!event->text().isEmpty())
        emit KeyPress(short(event->text().front().unicode()));
    QWidget::keyPressEvent(event);
}

void xpcmdbutton::keyReleaseEvent(QKeyEvent* event)
{
    if (!event->isAutoRepeat())
        emit KeyUp(keyCode(*event), shiftCode(event->modifiers()));
    QWidget::keyReleaseEvent(event);
}

void xpcmdbutton::poll()
{
    const QPoint pos = mapFromGlobal(QCursor::pos());
    if (pos.x() >= 0 && pos.y() >= 0 && pos.x() <= width() && pos.y() <= height())
        return;
    timer_->stop();
    emit MouseOut();
    refresh();
}

void xpcmdbutton::refresh()
{
    if (state_ == 1)
        restFace_ = Highlighted;
    else if (state_ == 0)
        restFace_ = Normal;
    paintFace(isEnabled() ? restFace_ : Disabled);
}

// Refreshes the face and centres the caption, which sizes itself to its text.
void xpcmdbutton::relayout()
{
    refresh();
    label_->adjustSize();
    label_->move((width() - label_->width()) / 2, (height() - label_->height()) / 2);
}

void xpcmdbutton::paintFace(int face)
{
    if (face == face_ && !cache_.isNull())
        return;
    face_ = face;
    // 18 x 21, drawn at twice the size for screens above 100%; the face is made at the screen's
    // pixel ratio.
    const QPixmap cell = faces_.cell(face, devicePixelRatioF());
    const qreal r = cell.devicePixelRatio();
    const int w = width(), h = height();
    // Nine pieces, in this order. They overlap on buttons narrower or lower than 6 pixels,
    // where the order decides what shows (qDrawBorderPixmap draws those sizes differently);
    // pieces that come out empty are left out.
    const struct {
        QRect source, target;
    } pieces[] = {
        {{0, 0, 3, 3}, {0, 0, 3, 3}},           // top-left corner
        {{15, 0, 3, 3}, {w - 3, 0, 3, 3}},      // top-right corner
        {{15, 18, 3, 3}, {w - 3, h - 3, 3, 3}}, // bottom-right corner
        {{0, 18, 3, 3}, {0, h - 3, 3, 3}},      // bottom-left corner
        {{3, 0, 12, 3}, {3, 0, w - 6, 3}},      // top edge
        {{15, 3, 3, 15}, {w - 3, 3, 3, h - 6}}, // right edge
        {{0, 3, 3, 15}, {0, 3, 3, h - 6}},      // left edge
        {{3, 18, 12, 3}, {3, h - 3, w - 6, 3}}, // bottom edge
        {{3, 3, 12, 15}, {3, 3, w - 6, h - 6}}, // centre
    };
    cache_ = QPixmap(size() * devicePixelRatioF());
    cache_.setDevicePixelRatio(devicePixelRatioF());
    cache_.fill(Qt::transparent);
    QPainter painter(&cache_);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, r != devicePixelRatioF());
    for (const auto& piece : pieces)
        if (!piece.target.isEmpty())
            painter.drawPixmap(QRectF(piece.target), cell,
                               QRectF(piece.source.topLeft() * r, piece.source.size() * r));
    painter.end();
    update();
}

} // namespace deskleaf
