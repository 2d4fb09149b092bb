#include "controls/CustomPanel.h"

#include "controls/event_codes.h"
#include "controls/gradient.h"
#include "controls/system_colour.h"

#include <QApplication>
#include <QEnterEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

namespace deskleaf {

namespace {

// Pixels cut from each end of every row for corners that are quarter ellipses of the given
// diameter; shared by the window shape and the border so that the two always agree.
std::vector<int> cornerInsets(int w, int h, int diameter)
{
    std::vector<int> insets(h, 0);
    const double r = std::min({diameter, w, h}) / 2.0;
    for (int y = 0; y < h; ++y) {
        const double fromEdge = std::min(y, h - 1 - y) + 0.5;
        if (fromEdge >= r)
            continue;
        const double dy = r - fromEdge;
        const double dx = std::sqrt(r * r - dy * dy);
        insets[y] = std::max(0, int(std::ceil(r - dx - 0.5)));
    }
    return insets;
}

void drawOutline(QImage& image, const std::vector<int>& insets, QRgb colour)
{
    const int w = image.width();
    const int h = image.height();
    for (int y = 0; y < h; ++y) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(y));
        const int left = insets[y];
        const int right = w - 1 - left;
        if (y == 0 || y == h - 1) {
            for (int x = left; x <= right; ++x)
                row[x] = colour;
            continue;
        }
        // Where the neighbouring rows are narrower, the edge runs along this row.
        const int reach = std::max({insets[y - 1], insets[y + 1], left + 1}) - 1;
        for (int x = left; x <= reach && x <= right; ++x) {
            row[x] = colour;
            row[w - 1 - x] = colour;
        }
    }
}

QFont ambientFont(const QWidget* widget)
{
    return widget->parentWidget() ? widget->parentWidget()->font() : QApplication::font(widget);
}

} // namespace

CustomPanel::CustomPanel(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    setFocusPolicy(Qt::ClickFocus);
    finishTimer_.setSingleShot(true);
    // Qt has no end-of-move notice: the move or size counts as finished once the event loop has
    // worked through the burst of events it gave.
    finishTimer_.setInterval(0);
    connect(&finishTimer_, &QTimer::timeout, this, [this] {
        emit Status(QStringLiteral("Finished ") +
                    (lastWasMoving_ ? QStringLiteral("moving.") : QStringLiteral("sizing.")));
    });
    InitProperties();
}

// In load and save order.
const std::vector<CustomPanel::Property>& CustomPanel::properties()
{
    using P = Paint;
    constexpr bool gradient = true;
    static const std::vector<Property> table{
        {"GradientAngle", 270.0f},
        {"BGGradientStart", 16246222, &P::BGGradientStart, gradient},
        {"BGGradientEnd", 16246222, &P::BGGradientEnd, gradient},
        {"TitleGradientStart", 16246222, &P::TitleGradientStart, gradient},
        {"TitleGradientEnd", 15176238, &P::TitleGradientEnd, gradient},
        {"BorderColor", 12481573, &P::BorderColor},
        {"Font", {}},
        {"Caption", {}},
        {"TitleHeight", 23},
        {"RoundedCorners", 0, &P::RoundedCorners},
        {"Enabled", true},
        {"MouseIcon", {}},
        {"SmallIcon", {}},
        {"MousePointer", 0},
        {"Alignment", 2, &P::Alignment},
        {"OverBGGradientStart", 16578028, &P::OverBGGradientStart, gradient},
        {"OverBGGradientEnd", 16578028, &P::OverBGGradientEnd, gradient},
        {"OverTitleGradientStart", 16578028, &P::OverTitleGradientStart, gradient},
        {"OverTitleGradientEnd", 16693609, &P::OverTitleGradientEnd, gradient},
        {"OverBorderColor", 16027427, &P::OverBorderColor},
        {"DownBGGradientStart", 16246222, &P::DownBGGradientStart, gradient},
        {"DownBGGradientEnd", 16246222, &P::DownBGGradientEnd, gradient},
        {"DownTitleGradientStart", 16569503, &P::DownTitleGradientStart, gradient},
        {"DownTitleGradientEnd", 13070861, &P::DownTitleGradientEnd, gradient},
        {"DownBorderColor", 13070861, &P::DownBorderColor},
        // The button face, kept as its value when set.
        {"DisabledBGGradientStart", systemColourValue(15), &P::DisabledBGGradientStart, gradient},
        {"DisabledBGGradientEnd", systemColourValue(15), &P::DisabledBGGradientEnd, gradient},
        {"DisabledTitleGradientStart", 15596027, &P::DisabledTitleGradientStart, gradient},
        {"DisabledTitleGradientEnd", 14477803, &P::DisabledTitleGradientEnd, gradient},
        {"DisabledSmallIcon", {}},
        {"ForeColor", 0, &P::ForeColor},
        {"OverForeColor", 0, &P::OverForeColor},
        {"DisabledBorderColor", 8092539, &P::DisabledBorderColor},
    };
    return table;
}

// The font and the caption come from where the panel is; pictures are empty.
QVariant CustomPanel::defaultOf(const Property& property) const
{
    if (property.defaultValue.isValid())
        return property.defaultValue;
    if (qstrcmp(property.name, "Font") == 0)
        return ambientFont(this);
    if (qstrcmp(property.name, "Caption") == 0)
        return objectName();
    return QVariant::fromValue(QPixmap());
}

void CustomPanel::InitProperties()
{
    {
        QScopedValueRollback batch(batching_, true);
        for (const Property& property : properties())
            setProperty(property.name, defaultOf(property));
    }
    showLook();
}

void CustomPanel::ReadProperties(const PropertyBag& bag)
{
    {
        QScopedValueRollback batch(batching_, true);
        for (const Property& property : properties())
            setProperty(property.name,
                        bag.ReadProperty(QString::fromLatin1(property.name), defaultOf(property)));
    }
    showLook();
}

void CustomPanel::WriteProperties(PropertyBag& bag) const
{
    for (const Property& property : properties()) {
        const QString name = QString::fromLatin1(property.name);
        const QVariant value = this->property(property.name);
        // Pictures do not compare; an empty one is the default and is not kept.
        if (value.metaType().id() == QMetaType::QPixmap) {
            if (!value.value<QPixmap>().isNull())
                bag.WriteProperty(name, value);
            continue;
        }
        bag.WriteProperty(name, value, defaultOf(property));
    }
}

qint32 CustomPanel::hwnd() const
{
    return static_cast<qint32>(effectiveWinId());
}

void CustomPanel::assign(qint32 Paint::*number, qint32 value)
{
    const auto& table = properties();
    const auto property = std::find_if(table.begin(), table.end(),
                                       [&](const Property& p) { return p.number == number; });
    Q_ASSERT(property != table.end());
    // Gradient colours keep the current value of a system colour rather than its index.
    if (property->gradientColour && isSystemColour(value) && (value & 0x7FFFFFFF) < 25)
        value = colourValue(systemColour(value & 0x7FFFFFFF, palette()).value_or(Qt::black));
    if (paint_.*number == value)
        return;
    paint_.*number = value;
    emit PropertyChanged(QString::fromLatin1(property->name));
    dropFaces();
    showLook();
}

void CustomPanel::setGradientAngle(float angle)
{
    if (gradientAngle_ == angle)
        return;
    gradientAngle_ = angle;
    emit PropertyChanged(QStringLiteral("GradientAngle"));
    // Not shown until the next redraw, whatever look that shows.
    dropFaces();
}

void CustomPanel::setPanelFont(const QFont& font)
{
    if (font == this->font())
        return;
    setFont(font); // repaints through changeEvent
    emit PropertyChanged(QStringLiteral("Font"));
}

void CustomPanel::setCaption(const QString& caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    emit PropertyChanged(QStringLiteral("Caption"));
    dropFaces();
    showLook();
}

void CustomPanel::setTitleHeight(qint16 height)
{
    if (titleHeight_ == height)
        return;
    titleHeight_ = height;
    emit PropertyChanged(QStringLiteral("TitleHeight"));
    dropFaces();
    showLook();
}

void CustomPanel::setPanelEnabled(bool enabled)
{
    if (enabled_ == enabled)
        return;
    enabled_ = enabled;
    // A disabled panel cannot be over or pressed; without this, re-enabling it after the pointer
    // left would bring back a stale look.
    inside_ = hot_ = down_ = false;
    emit PropertyChanged(QStringLiteral("Enabled"));
    showLook();
}

void CustomPanel::setMouseIcon(const QPixmap& icon)
{
    if (mouseIcon_.cacheKey() == icon.cacheKey())
        return;
    mouseIcon_ = icon;
    emit PropertyChanged(QStringLiteral("MouseIcon"));
}

void CustomPanel::setSmallIcon(const QPixmap& icon)
{
    if (smallIcon_.cacheKey() == icon.cacheKey())
        return;
    smallIcon_ = icon;
    emit PropertyChanged(QStringLiteral("SmallIcon"));
    dropFaces();
    showLook();
}

void CustomPanel::setMousePointer(qint32 pointer)
{
    if (mousePointer_ == pointer)
        return;
    mousePointer_ = pointer;
    emit PropertyChanged(QStringLiteral("MousePointer"));
    // No face is drawn from it, but it redraws like the other setters (a new GradientAngle shows).
    showLook();
}

void CustomPanel::setDisabledSmallIcon(const QPixmap& icon)
{
    if (disabledSmallIcon_.cacheKey() == icon.cacheKey())
        return;
    disabledSmallIcon_ = icon;
    emit PropertyChanged(QStringLiteral("DisabledSmallIcon"));
    dropFaces();
    showLook();
}

CustomPanel::Look CustomPanel::currentLook() const
{
    if (!enabled_)
        return Look::Disabled;
    if (down_)
        return hot_ ? Look::DownOver : Look::Down;
    return hot_ ? Look::Over : Look::Normal;
}

void CustomPanel::dropFaces()
{
    for (QImage& face : faces_)
        face = QImage();
}

void CustomPanel::showLook()
{
    if (batching_)
        return;
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0) {
        face_ = QImage();
        return;
    }
    const QSize size(w, h);
    if (maskSize_ != size || maskCorners_ != paint_.RoundedCorners) {
        if (paint_.RoundedCorners > 0) {
            const std::vector<int> insets = cornerInsets(w, h, paint_.RoundedCorners);
            QRegion shape;
            for (int y = 0; y < h; ++y)
                shape += QRect(insets[y], y, w - 2 * insets[y], 1);
            setMask(shape);
        } else {
            clearMask();
        }
        maskSize_ = size;
        maskCorners_ = paint_.RoundedCorners;
    }

    const QPalette::ColorGroup group = palette().currentColorGroup();
    const QSize dpi(logicalDpiX(), logicalDpiY());
    if (size != facesSize_ || group != facesGroup_ || dpi != facesDpi_) {
        dropFaces();
        facesSize_ = size;
        facesGroup_ = group;
        facesDpi_ = dpi;
    }
    const Look look = currentLook();
    QImage& face = faces_[std::size_t(look)];
    if (face.isNull()) {
        face = QImage(w, h, QImage::Format_RGB32);
        face.setDotsPerMeterX(qRound(dpi.width() / 0.0254));
        face.setDotsPerMeterY(qRound(dpi.height() / 0.0254));
        face.fill(palette().color(QPalette::Window));
        paintFace(face, look);
    }
    face_ = face;
    update();
}

void CustomPanel::paintFace(QImage& image, Look look) const
{
    const int w = image.width();
    const int h = image.height();
    const bool disabled = look == Look::Disabled;
    const bool down = look == Look::Down || look == Look::DownOver;
    const bool hot = look == Look::Over || look == Look::DownOver;
    // The look's body and title band gradients and its border.
    struct Colours {
        qint32 bgStart, bgEnd, titleStart, titleEnd, border;
    };
    const Paint& p = paint_;
    const Colours set =
        disabled ? Colours{p.DisabledBGGradientStart, p.DisabledBGGradientEnd,
                           p.DisabledTitleGradientStart, p.DisabledTitleGradientEnd,
                           p.DisabledBorderColor}
        : down   ? Colours{p.DownBGGradientStart, p.DownBGGradientEnd, p.DownTitleGradientStart,
                         p.DownTitleGradientEnd, p.DownBorderColor}
        : hot    ? Colours{p.OverBGGradientStart, p.OverBGGradientEnd, p.OverTitleGradientStart,
                        p.OverTitleGradientEnd, p.OverBorderColor}
                 : Colours{p.BGGradientStart, p.BGGradientEnd, p.TitleGradientStart,
                        p.TitleGradientEnd, p.BorderColor};
    const QPalette& pal = palette();
    const auto resolved = [&](qint32 colour) {
        return colourValue(translateColour(colour, pal).value_or(Qt::black));
    };

    if (w > 1 && h > 1) {
        sweepGradient(image, resolved(set.bgStart), resolved(set.bgEnd), w, h, gradientAngle_);
        sweepGradient(image, resolved(set.titleStart), resolved(set.titleEnd), w, titleHeight_,
                      gradientAngle_);
    }

    const QRgb borderRgb = plainColour(resolved(set.border)).rgb();
    drawOutline(image, cornerInsets(w, h, paint_.RoundedCorners), borderRgb);
    if (titleHeight_ >= 0 && titleHeight_ < h) {
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(titleHeight_));
        std::fill(row, row + w, borderRgb);
    }
}

// The icon and caption are drawn over the face at the screen's pixel ratio, the caption from
// its font.
void CustomPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, face_);
    if (face_.isNull())
        return;
    const Look look = currentLook();
    const bool disabled = look == Look::Disabled;
    const bool hot = look == Look::Over || look == Look::DownOver;
    const int w = width();
    const auto resolved = [this](qint32 colour) {
        return colourValue(translateColour(colour, palette()).value_or(Qt::black));
    };
    const QPixmap& icon = disabled ? disabledSmallIcon_ : smallIcon_;
    if (!icon.isNull())
        painter.drawPixmap(5, roundEven(titleHeight_ * 0.5 - icon.height() * 0.5), icon);

    painter.setFont(font());
    const QFontMetrics metrics(font(), this);
    const int tw = metrics.horizontalAdvance(caption_);
    const int th = metrics.height();
    QPoint at(0, roundEven(titleHeight_ * 0.5 - th * 0.5));
    switch (paint_.Alignment) {
    case 0:
        at.setX(5);
        break;
    case 1:
        at.setX(roundEven(w - tw - 5));
        break;
    case 2:
        at.setX(roundEven(w * 0.5 - tw * 0.5));
        break;
    default:
        at = QPoint(0, 0);
    }
    painter.setPen(plainColour(resolved(hot ? paint_.OverForeColor : paint_.ForeColor)));
    painter.drawText(at + QPoint(0, metrics.ascent()), caption_);
}

void CustomPanel::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    showLook(); // the faces and the shape were made for the old size
}

void CustomPanel::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    watchHostWindow();
}

void CustomPanel::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    switch (event->type()) {
    case QEvent::FontChange:
    case QEvent::PaletteChange:
        dropFaces();
        showLook();
        break;
    case QEvent::ParentChange:
        watchHostWindow();
        break;
    default:
        break;
    }
}

void CustomPanel::watchHostWindow()
{
    QWidget* host = window();
    if (hostWindow_ == host)
        return;
    if (hostWindow_)
        hostWindow_->removeEventFilter(this);
    hostWindow_ = host;
    host->installEventFilter(this);
}

// The pointer on a control placed on the panel has left the panel itself: Qt sends the
// panel no leave for it, so the child's enter stands in; a move back onto the panel
// enters it again.
void CustomPanel::childEvent(QChildEvent* event)
{
    QWidget::childEvent(event);
    if (event->added() && event->child()->isWidgetType())
        event->child()->installEventFilter(this);
}

bool CustomPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != hostWindow_ && watched->parent() == this && event->type() == QEvent::Enter &&
        enabled_ && inside_) {
        inside_ = hot_ = false;
        emit MouseLeaves();
        showLook();
    }
    if (watched == hostWindow_) {
        if (event->type() == QEvent::Move) {
            lastWasMoving_ = true;
            emit Status(QStringLiteral("Form is moving..."));
            finishTimer_.start();
        } else if (event->type() == QEvent::Resize) {
            lastWasMoving_ = false;
            emit Status(QStringLiteral("Form is sizing..."));
            finishTimer_.start();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void CustomPanel::enterEvent(QEnterEvent* event)
{
    QWidget::enterEvent(event);
    pointerOver_ = true;
    // Queued, so that the move that brought the pointer in is handled (MouseMove) first.
    QMetaObject::invokeMethod(this, &CustomPanel::pointerEntered, Qt::QueuedConnection);
}

void CustomPanel::pointerEntered()
{
    if (!enabled_ || inside_ || !pointerOver_)
        return;
    inside_ = hot_ = true;
    emit MouseEnters();
    showLook();
}

void CustomPanel::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    pointerOver_ = false;
    if (!enabled_ || !inside_)
        return;
    inside_ = hot_ = false;
    emit MouseLeaves();
    showLook();
}

void CustomPanel::mousePressEvent(QMouseEvent* event)
{
    if (!enabled_)
        return;
    const short button = buttonCode(event->button());
    emit MouseDown(button, shiftCode(event->modifiers()), float(event->position().x()),
                   float(event->position().y()));
    if (button == 1) {
        down_ = true;
        showLook();
    }
}

void CustomPanel::mouseMoveEvent(QMouseEvent* event)
{
    if (!enabled_)
        return;
    emit MouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()),
                   float(event->position().x()), float(event->position().y()));
    if (rect().contains(event->position().toPoint())) {
        pointerOver_ = true;
        pointerEntered();
    }
}

void CustomPanel::mouseReleaseEvent(QMouseEvent* event)
{
    const bool afterDoubleClick = std::exchange(suppressClick_, false);
    if (!enabled_)
        return;
    const short button = buttonCode(event->button());
    emit MouseUp(button, shiftCode(event->modifiers()), float(event->position().x()),
                 float(event->position().y()));
    if (button == 1) {
        down_ = false;
        showLook();
        if (!afterDoubleClick && rect().contains(event->position().toPoint()))
            emit Click();
    }
}

void CustomPanel::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        mousePressEvent(event);
        return;
    }
    if (!enabled_)
        return;
    // The second press of a double click is the double click alone, and its release is no click.
    suppressClick_ = true;
    emit DoubleClick();
}

void CustomPanel::keyPressEvent(QKeyEvent* event)
{
    if (!enabled_) {
        QWidget::keyPressEvent(event);
        return;
    }
    emit KeyDown(keyCode(*event), shiftCode(event->modifiers()));
    if (!event->text().isEmpty())
        emit KeyPress(short(event->text().front().unicode()));
}

void CustomPanel::keyReleaseEvent(QKeyEvent* event)
{
    if (!enabled_) {
        QWidget::keyReleaseEvent(event);
        return;
    }
    // A held key repeats its KeyDown only.
    if (!event->isAutoRepeat())
        emit KeyUp(keyCode(*event), shiftCode(event->modifiers()));
}

} // namespace deskleaf
