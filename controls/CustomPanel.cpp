#include "controls/CustomPanel.h"

#include "controls/event_codes.h"

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

// Halves go to the even neighbour, as the panel's coordinates and colours have always rounded.
int roundEven(double value)
{
    return static_cast<int>(std::nearbyint(value));
}

QRgb toRgb(qint32 value)
{
    return qRgb(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

// n colours from a to b. The step divides by n, not n - 1, so the last entry is set to b apart
// from the others; together with the sweep running past the far edge this decides which rows
// come close to b.
std::vector<QRgb> colourRamp(qint32 a, qint32 b, int n)
{
    n = std::max(n, 2);
    std::vector<QRgb> ramp(n);
    const int from[3] = {a & 0xFF, (a >> 8) & 0xFF, (a >> 16) & 0xFF};
    const int to[3] = {b & 0xFF, (b >> 8) & 0xFF, (b >> 16) & 0xFF};
    double step[3];
    for (int c = 0; c < 3; ++c)
        step[c] = double(to[c] - from[c]) / n;
    ramp.front() = toRgb(a);
    ramp.back() = toRgb(b);
    for (int i = 1; i <= n - 2; ++i) {
        int channel[3];
        for (int c = 0; c < 3; ++c)
            channel[c] = roundEven(i * step[c] + from[c]);
        ramp[i] = qRgb(channel[0], channel[1], channel[2]);
    }
    return ramp;
}

// A one-pixel line from a to b with b itself left out, clipped to the image. The sweep lays its
// lines one pixel apart, so each must put exactly one pixel per step of its major axis.
void plotLine(QImage& image, QPoint a, QPoint b, QRgb colour)
{
    const int w = image.width();
    const int h = image.height();
    if (a.y() == b.y()) {
        if (a.y() < 0 || a.y() >= h)
            return;
        const int left = a.x() < b.x() ? a.x() : b.x() + 1;
        const int right = a.x() < b.x() ? b.x() - 1 : a.x();
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(a.y()));
        for (int x = std::max(left, 0); x <= std::min(right, w - 1); ++x)
            row[x] = colour;
        return;
    }
    const int dx = std::abs(b.x() - a.x());
    const int dy = -std::abs(b.y() - a.y());
    const int sx = a.x() < b.x() ? 1 : -1;
    const int sy = a.y() < b.y() ? 1 : -1;
    int err = dx + dy;
    int x = a.x();
    int y = a.y();
    while (x != b.x() || y != b.y()) {
        if (x >= 0 && x < w && y >= 0 && y < h)
            reinterpret_cast<QRgb*>(image.scanLine(y))[x] = colour;
        const int e2 = 2 * err;
        if (e2 >= dy) {
            err += dy;
            x += sx;
        }
        if (e2 <= dx) {
            err += dx;
            y += sy;
        }
    }
}

// Fills a w x h area from its top-left corner with a gradient at angle degrees (0 runs left to
// right, 270 top to bottom): a segment across the gradient direction is swept one pixel at a
// time from the near edge until it is past the far edge, each position one line of the ramp.
// Lines are not clipped to the area, only to the image.
void sweepGradient(QImage& image, qint32 start, qint32 end, int w, int h, double angle)
{
    if (!std::isfinite(angle))
        return;
    const double cx = std::floor(w / 2.0);
    const double cy = std::floor(h / 2.0);
    const double s = w >= h ? w : h;
    const double half = (std::sqrt(s * s + s * s) + 2) / 2;
    const double turned = (angle + 90) - std::floor((angle + 90) / 360) * 360;
    const double radians = turned * 0.017453292519943278;
    double x0 = cx - half * std::cos(radians);
    double y0 = cy + half * std::sin(radians);
    double x1 = cx + half * std::cos(radians);
    double y1 = cy - half * std::sin(radians);

    // The sweep table goes by the angle as given, not the reduced one.
    const bool steep = std::abs(y0 - y1) >= std::abs(x0 - x1);
    QPoint step;
    double dx = 0;
    double dy = 0;
    if (steep) {
        const bool fromRight = angle > 90 && angle <= 270;
        step = QPoint(fromRight ? -1 : 1, 0);
        dx = fromRight ? w - std::min(x0, x1) : -std::max(x0, x1);
    } else {
        const bool fromBottom = angle >= 0 && angle <= 180;
        step = QPoint(0, fromBottom ? -1 : 1);
        dy = fromBottom ? h - std::min(y0, y1) : -std::max(y0, y1);
    }
    const auto beyond = [&](QPoint p) {
        if (step.x() > 0)
            return p.x() > w;
        if (step.x() < 0)
            return p.x() < 0;
        if (step.y() > 0)
            return p.y() > h;
        return p.y() < 0;
    };

    std::vector<QPoint> points;
    points.reserve(1000);
    points.emplace_back(roundEven(x0 + dx), roundEven(y0 + dy));
    points.emplace_back(roundEven(x1 + dx), roundEven(y1 + dy));
    do
        points.push_back(points[points.size() - 2] + step);
    while (!(beyond(points.back()) && beyond(points[points.size() - 2])));

    const std::vector<QRgb> ramp = colourRamp(start, end, roundEven(points.size() / 2.0));
    for (std::size_t j = 0; j + 1 < points.size(); j += 2)
        plotLine(image, points[j], points[j + 1], ramp[j / 2]);
}

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

namespace {

// Bag keys in load and save order, with the defaults as read (type as kept in the bag).
QList<QPair<const char*, QVariant>> panelDefaults(const CustomPanel& panel)
{
    const auto i16 = [](int v) { return QVariant::fromValue<qint16>(qint16(v)); };
    const QVariant noPicture = QVariant::fromValue(QPixmap());
    const QVariant buttonFace = systemColourValue(15);
    return {
        {"GradientAngle", i16(270)},
        {"BGGradientStart", 16246222},
        {"BGGradientEnd", 16246222},
        {"TitleGradientStart", 16246222},
        {"TitleGradientEnd", 15176238},
        {"BorderColor", 12481573},
        {"Font", ambientFont(&panel)},
        {"Caption", panel.objectName()},
        {"TitleHeight", i16(23)},
        {"RoundedCorners", i16(0)},
        {"Enabled", true},
        {"MouseIcon", noPicture},
        {"SmallIcon", noPicture},
        {"MousePointer", i16(0)},
        {"Alignment", 2},
        {"OverBGGradientStart", 16578028},
        {"OverBGGradientEnd", 16578028},
        {"OverTitleGradientStart", 16578028},
        {"OverTitleGradientEnd", 16693609},
        {"OverBorderColor", 16027427},
        {"DownBGGradientStart", 16246222},
        {"DownBGGradientEnd", 16246222},
        {"DownTitleGradientStart", 16569503},
        {"DownTitleGradientEnd", 13070861},
        {"DownBorderColor", 13070861},
        {"DisabledBGGradientStart", buttonFace},
        {"DisabledBGGradientEnd", buttonFace},
        {"DisabledTitleGradientStart", 15596027},
        {"DisabledTitleGradientEnd", 14477803},
        {"DisabledSmallIcon", noPicture},
        {"ForeColor", i16(0)},
        {"OverForeColor", i16(0)},
        {"DisabledBorderColor", 8092539},
    };
}

} // namespace

void CustomPanel::InitProperties()
{
    {
        QScopedValueRollback batch(batching_, true);
        for (const auto& [name, value] : panelDefaults(*this))
            setProperty(name, value);
    }
    showLook();
}

void CustomPanel::ReadProperties(const PropertyBag& bag)
{
    {
        QScopedValueRollback batch(batching_, true);
        for (const auto& [name, value] : panelDefaults(*this))
            setProperty(name, bag.ReadProperty(QString::fromLatin1(name), value));
    }
    showLook();
}

void CustomPanel::WriteProperties(PropertyBag& bag) const
{
    for (auto [name, defaultValue] : panelDefaults(*this)) {
        const QVariant value = property(name);
        // Pictures do not compare; an empty one is the default and is not kept.
        if (value.metaType().id() == QMetaType::QPixmap) {
            if (!value.value<QPixmap>().isNull())
                bag.WriteProperty(QString::fromLatin1(name), value);
            continue;
        }
        if (qstrcmp(name, "GradientAngle") == 0)
            defaultValue = 270.0f;
        bag.WriteProperty(QString::fromLatin1(name), value, defaultValue);
    }
}

qint32 CustomPanel::hwnd() const
{
    return static_cast<qint32>(effectiveWinId());
}

void CustomPanel::setValue(qint32& field, qint32 colour, const char* name)
{
    if (field == colour)
        return;
    field = colour;
    emit PropertyChanged(QString::fromLatin1(name));
    dropFaces();
    showLook();
}

void CustomPanel::setGradientColour(qint32& field, qint32 colour, const char* name)
{
    // Gradient colours keep the current value of a system colour rather than its index.
    if (isSystemColour(colour) && (colour & 0x7FFFFFFF) < 25)
        colour = colourValue(systemColour(colour & 0x7FFFFFFF, palette()).value_or(Qt::black));
    setValue(field, colour, name);
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

void CustomPanel::setDisabledBorderColor(qint32 colour)
{
    setValue(disabledBorderColor_, colour, "DisabledBorderColor");
}

void CustomPanel::setForeColor(qint32 colour)
{
    setValue(foreColor_, colour, "ForeColor");
}

void CustomPanel::setOverForeColor(qint32 colour)
{
    setValue(overForeColor_, colour, "OverForeColor");
}

void CustomPanel::setBGGradientStart(qint32 colour)
{
    setGradientColour(normalLook_.bgStart, colour, "BGGradientStart");
}

void CustomPanel::setBGGradientEnd(qint32 colour)
{
    setGradientColour(normalLook_.bgEnd, colour, "BGGradientEnd");
}

void CustomPanel::setTitleGradientStart(qint32 colour)
{
    setGradientColour(normalLook_.titleStart, colour, "TitleGradientStart");
}

void CustomPanel::setTitleGradientEnd(qint32 colour)
{
    setGradientColour(normalLook_.titleEnd, colour, "TitleGradientEnd");
}

void CustomPanel::setBorderColor(qint32 colour)
{
    setValue(borderColor_, colour, "BorderColor");
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

void CustomPanel::setRoundedCorners(qint32 diameter)
{
    setValue(roundedCorners_, diameter, "RoundedCorners");
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

void CustomPanel::setAlignment(qint32 alignment)
{
    setValue(alignment_, alignment, "Alignment");
}

void CustomPanel::setOverBGGradientStart(qint32 colour)
{
    setGradientColour(overLook_.bgStart, colour, "OverBGGradientStart");
}

void CustomPanel::setOverBGGradientEnd(qint32 colour)
{
    setGradientColour(overLook_.bgEnd, colour, "OverBGGradientEnd");
}

void CustomPanel::setOverTitleGradientStart(qint32 colour)
{
    setGradientColour(overLook_.titleStart, colour, "OverTitleGradientStart");
}

void CustomPanel::setOverTitleGradientEnd(qint32 colour)
{
    setGradientColour(overLook_.titleEnd, colour, "OverTitleGradientEnd");
}

void CustomPanel::setOverBorderColor(qint32 colour)
{
    setValue(overBorderColor_, colour, "OverBorderColor");
}

void CustomPanel::setDownBGGradientStart(qint32 colour)
{
    setGradientColour(downLook_.bgStart, colour, "DownBGGradientStart");
}

void CustomPanel::setDownBGGradientEnd(qint32 colour)
{
    setGradientColour(downLook_.bgEnd, colour, "DownBGGradientEnd");
}

void CustomPanel::setDownTitleGradientStart(qint32 colour)
{
    setGradientColour(downLook_.titleStart, colour, "DownTitleGradientStart");
}

void CustomPanel::setDownTitleGradientEnd(qint32 colour)
{
    setGradientColour(downLook_.titleEnd, colour, "DownTitleGradientEnd");
}

void CustomPanel::setDownBorderColor(qint32 colour)
{
    setValue(downBorderColor_, colour, "DownBorderColor");
}

void CustomPanel::setDisabledBGGradientStart(qint32 colour)
{
    setGradientColour(disabledLook_.bgStart, colour, "DisabledBGGradientStart");
}

void CustomPanel::setDisabledBGGradientEnd(qint32 colour)
{
    setGradientColour(disabledLook_.bgEnd, colour, "DisabledBGGradientEnd");
}

void CustomPanel::setDisabledTitleGradientStart(qint32 colour)
{
    setGradientColour(disabledLook_.titleStart, colour, "DisabledTitleGradientStart");
}

void CustomPanel::setDisabledTitleGradientEnd(qint32 colour)
{
    setGradientColour(disabledLook_.titleEnd, colour, "DisabledTitleGradientEnd");
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
    if (maskSize_ != size || maskCorners_ != roundedCorners_) {
        if (roundedCorners_ > 0) {
            const std::vector<int> insets = cornerInsets(w, h, roundedCorners_);
            QRegion shape;
            for (int y = 0; y < h; ++y)
                shape += QRect(insets[y], y, w - 2 * insets[y], 1);
            setMask(shape);
        } else {
            clearMask();
        }
        maskSize_ = size;
        maskCorners_ = roundedCorners_;
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
    const GradientSet& set = disabled ? disabledLook_
                             : down   ? downLook_
                             : hot    ? overLook_
                                      : normalLook_;
    const qint32 border = disabled ? disabledBorderColor_
                          : down   ? downBorderColor_
                          : hot    ? overBorderColor_
                                   : borderColor_;
    const QPalette& pal = palette();
    const auto resolved = [&](qint32 colour) {
        return colourValue(translateColour(colour, pal).value_or(Qt::black));
    };

    if (w > 1 && h > 1) {
        sweepGradient(image, resolved(set.bgStart), resolved(set.bgEnd), w, h, gradientAngle_);
        sweepGradient(image, resolved(set.titleStart), resolved(set.titleEnd), w, titleHeight_,
                      gradientAngle_);
    }

    const QRgb borderRgb = toRgb(resolved(border));
    drawOutline(image, cornerInsets(w, h, roundedCorners_), borderRgb);
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
    switch (alignment_) {
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
    painter.setPen(plainColour(resolved(hot ? overForeColor_ : foreColor_)));
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
