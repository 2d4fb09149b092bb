#include "controls/XPContainer.h"

#include "controls/song_font.h"
#include "controls/system_colour.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

namespace deskleaf {

namespace {

constexpr int kHeaderTop = 1;
constexpr int kHeaderHeight = 23;
constexpr int kBodyTop = kHeaderTop + kHeaderHeight;
constexpr int kCaptionLeft = 10; // inside the header

struct Scheme {
    qint32 headerLight, headerDark, backLight, backDark, border, text;
};

constexpr std::array<Scheme, XPContainer::kThemeCount> kThemes{{
    {16244947, 15582631, 16577775, 16443612, 14467501, 8072450}, // blue
    {15523027, 14334632, 16315119, 15853021, 14070944, 4925975},
    {14214600, 11651986, 15857131, 14805973, 11191944, 2177792},
    {14740200, 12768977, 16054519, 15200237, 12374989, 3295041},
    {15852488, 14993810, 16446955, 16116437, 14861448, 5585152},
    {14349027, 11920840, 15858421, 14939626, 11461571, 2381624},
    {13820669, 10995450, 15726078, 14543357, 10469626, 1455725},
    {14934998, 13224366, 16119280, 15395552, 12895398, 3750173},
    {15390687, 14004415, 16249331, 15720934, 13740473, 4595759},
    {14078715, 11446008, 15790078, 14736892, 10985207, 1906026}, // pink
    {15526633, 14276307, 16316407, 15855598, 14078671, 4867908},
    {15006460, 12185332, 15662333, 14481402, 9822698, 6739425},
}};

QFont captionFont()
{
    return songFont(9, true);
}

// Rows [top, top + rows) from light to dark, the step measured over m rows: a body with one row
// more than m ends one step past dark, which is held to 0..255. A colour that cannot be
// translated leaves the area unpainted and gives false.
bool verticalGradient(QImage& image, int top, int rows, int left, int right, qint32 light,
                      qint32 dark, int m, const QPalette& palette)
{
    const std::optional<QColor> l = translateColour(light, palette);
    const std::optional<QColor> d = translateColour(dark, palette);
    if (!l || !d)
        return false;
    double value[3] = {double(l->red()), double(l->green()), double(l->blue())};
    const int target[3] = {d->red(), d->green(), d->blue()};
    double step[3] = {0, 0, 0};
    if (m > 1)
        for (int c = 0; c < 3; ++c)
            step[c] = (value[c] - target[c]) / (m - 1);
    left = std::max(left, 0);
    right = std::min(right, image.width() - 1);
    for (int r = 0; r < rows; ++r) {
        const int y = top + r;
        if (y >= 0 && y < image.height() && left <= right) {
            int channel[3];
            for (int c = 0; c < 3; ++c)
                channel[c] = std::clamp(int(std::nearbyint(value[c])), 0, 255);
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            std::fill(line + left, line + right + 1, qRgb(channel[0], channel[1], channel[2]));
        }
        for (int c = 0; c < 3; ++c)
            value[c] -= step[c];
    }
    return true;
}

} // namespace

XPContainer::XPContainer(QWidget* parent) : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    layoutCaption();
    redraw();
}

void XPContainer::InitProperties()
{
    const Scheme& scheme = kThemes[0];
    headerLight_ = scheme.headerLight;
    headerDark_ = scheme.headerDark;
    backLight_ = scheme.backLight;
    backDark_ = scheme.backDark;
    border_ = scheme.border;
    text_ = scheme.text;
    caption_ = QStringLiteral("XPContainer");
    style_ = 0;
    theme_ = 0;
    redraw();
}

void XPContainer::ReadProperties(const PropertyBag& bag)
{
    const Scheme& scheme = kThemes[0];
    const auto colour = [&](const char* name, qint32 defaultValue) {
        return bag.ReadProperty(QString::fromLatin1(name), defaultValue).toInt();
    };
    headerLight_ = colour("HeaderLightColor", scheme.headerLight);
    headerDark_ = colour("HeaderDarkColor", scheme.headerDark);
    backLight_ = colour("BackLightColor", scheme.backLight);
    backDark_ = colour("BackDarkColor", scheme.backDark);
    border_ = colour("BorderColor", scheme.border);
    text_ = colour("TextColor", scheme.text);
    caption_ =
        bag.ReadProperty(QStringLiteral("Caption"), QStringLiteral("XPContainer")).toString();
    style_ = bag.ReadProperty(QStringLiteral("Style"), QVariant::fromValue<qint16>(0)).toInt();
    theme_ = bag.ReadProperty(QStringLiteral("Theme"), QVariant::fromValue<qint16>(0)).toInt();
    redraw();
}

void XPContainer::WriteProperties(PropertyBag& bag) const
{
    const Scheme& scheme = kThemes[0];
    bag.WriteProperty(QStringLiteral("HeaderLightColor"), headerLight_, scheme.headerLight);
    bag.WriteProperty(QStringLiteral("HeaderDarkColor"), headerDark_, scheme.headerDark);
    bag.WriteProperty(QStringLiteral("BackLightColor"), backLight_, scheme.backLight);
    bag.WriteProperty(QStringLiteral("BackDarkColor"), backDark_, scheme.backDark);
    bag.WriteProperty(QStringLiteral("BorderColor"), border_, scheme.border);
    bag.WriteProperty(QStringLiteral("TextColor"), text_, scheme.text);
    bag.WriteProperty(QStringLiteral("Caption"), caption_, QStringLiteral("XPContainer"));
    bag.WriteProperty(QStringLiteral("Style"), style_, QVariant::fromValue<qint16>(0));
    bag.WriteProperty(QStringLiteral("Theme"), theme_, QVariant::fromValue<qint16>(0));
}

void XPContainer::setValue(qint32& field, qint32 colour, const char* name)
{
    if (field == colour)
        return;
    field = colour;
    emit PropertyChanged(QString::fromLatin1(name));
    redraw();
}

void XPContainer::setBackDarkColor(qint32 colour)
{
    setValue(backDark_, colour, "BackDarkColor");
}

void XPContainer::setBackLightColor(qint32 colour)
{
    setValue(backLight_, colour, "BackLightColor");
}

void XPContainer::setBorderColor(qint32 colour)
{
    setValue(border_, colour, "BorderColor");
}

void XPContainer::setHeaderDarkColor(qint32 colour)
{
    setValue(headerDark_, colour, "HeaderDarkColor");
}

void XPContainer::setHeaderLightColor(qint32 colour)
{
    setValue(headerLight_, colour, "HeaderLightColor");
}

void XPContainer::setStyle(qint32 style)
{
    setValue(style_, style, "Style");
}

void XPContainer::setTextColor(qint32 colour)
{
    setValue(text_, colour, "TextColor");
}

void XPContainer::setCaption(const QString& caption)
{
    if (caption_ == caption)
        return;
    caption_ = caption;
    emit PropertyChanged(QStringLiteral("Caption"));
    redraw();
}

void XPContainer::setTheme(qint32 theme)
{
    if (theme_ != theme) {
        theme_ = theme;
        emit PropertyChanged(QStringLiteral("Theme"));
    }
    // Applied even when the number is unchanged, so that a theme restores colours edited since.
    if (theme < 0 || theme >= kThemeCount)
        return;
    const Scheme& scheme = kThemes[theme];
    setHeaderLightColor(scheme.headerLight);
    setHeaderDarkColor(scheme.headerDark);
    setBackLightColor(scheme.backLight);
    setBackDarkColor(scheme.backDark);
    setBorderColor(scheme.border);
    setTextColor(scheme.text);
}

void XPContainer::layoutCaption()
{
    if (width() == 0)
        return;
    const QFontMetrics metrics(captionFont(), this);
    const int height = std::max(metrics.height(), metrics.size(0, caption_).height());
    captionTop_ = (kHeaderHeight - height) / 2;
}

void XPContainer::redraw()
{
    const int w = width();
    const int h = height();
    if (w <= 0 || h <= 0) {
        face_ = QImage();
        return;
    }
    const QPalette& pal = palette();
    face_ = QImage(w, h, QImage::Format_RGB32);
    face_.setDotsPerMeterX(qRound(logicalDpiX() / 0.0254));
    face_.setDotsPerMeterY(qRound(logicalDpiY() / 0.0254));
    face_.fill(systemColour(15, pal).value_or(Qt::black));

    const int innerWidth = std::max(0, w - 2);
    if (style_ != 0)
        verticalGradient(face_, 0, h, 0, w - 1, backLight_, backDark_, h, pal);
    else
        verticalGradient(face_, kBodyTop, h - kBodyTop, 0, innerWidth, backLight_, backDark_,
                         h - (kHeaderHeight + 2), pal);

    if (const std::optional<QColor> border = translateColour(border_, pal)) {
        QPainter painter(&face_);
        painter.setPen(*border);
        painter.drawRect(0, 0, w - 1, h - 1);
    }

    if (style_ == 0 && innerWidth > 0) {
        // The caption keeps its last colour when the header cannot be painted.
        if (verticalGradient(face_, kHeaderTop, kHeaderHeight, 1, innerWidth, headerLight_,
                             headerDark_, kHeaderHeight, pal))
            if (const std::optional<QColor> text = translateColour(text_, pal))
                captionColour_ = *text;
    }
    update();
}

// The caption is drawn from the font at the screen's pixel ratio, over the face.
void XPContainer::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.drawImage(0, 0, face_);
    const int innerWidth = std::max(0, width() - 2);
    if (style_ != 0 || innerWidth <= 0 || face_.isNull())
        return;
    const QRect header(1, kHeaderTop, innerWidth, kHeaderHeight);
    painter.setClipRect(header);
    painter.setFont(captionFont());
    painter.setPen(captionColour_);
    painter.drawText(QRect(header.left() + kCaptionLeft, header.top() + captionTop_, 0, 0),
                     Qt::AlignLeft | Qt::AlignTop | Qt::TextDontClip, caption_);
}

void XPContainer::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutCaption();
    redraw();
}

void XPContainer::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    layoutCaption();
    redraw();
}

void XPContainer::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        redraw();
}

} // namespace deskleaf
