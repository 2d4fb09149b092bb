#include "controls/XPContainer.h"

#include "controls/song_font.h"
#include "controls/system_colour.h"
#include "controls/title_drag.h"

#include <QEvent>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <optional>
#include <utility>

namespace deskleaf {

namespace {

constexpr int kHeaderTop = 1;
constexpr int kHeaderHeight = XPContainer::kHeaderBottom - kHeaderTop;
constexpr int kBodyTop = XPContainer::kHeaderBottom;
constexpr int kCaptionLeft = 10; // inside the header

using Colours = XPContainer::Colours;

// Theme 0 holds the defaults.
constexpr std::array<Colours, XPContainer::kThemeCount> kThemes{{
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

// The colours as stored, in load and save order.
constexpr std::pair<const char*, qint32 Colours::*> kColourNames[] = {
    {"HeaderLightColor", &Colours::headerLight}, {"HeaderDarkColor", &Colours::headerDark},
    {"BackLightColor", &Colours::backLight},     {"BackDarkColor", &Colours::backDark},
    {"BorderColor", &Colours::border},           {"TextColor", &Colours::text},
};

// The other defaults, as kept in the bag.
const QString kDefaultCaption = QStringLiteral("XPContainer");
constexpr qint16 kDefaultStyle = 0;
constexpr qint16 kDefaultTheme = 0;

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
    InitProperties();
    layoutCaption();
}

void XPContainer::InitProperties()
{
    ReadProperties(PropertyBag());
}

void XPContainer::ReadProperties(const PropertyBag& bag)
{
    for (const auto& [name, colour] : kColourNames)
        colours_.*colour = bag.ReadProperty(QString::fromLatin1(name), kThemes[0].*colour).toInt();
    caption_ = bag.ReadProperty(QStringLiteral("Caption"), kDefaultCaption).toString();
    style_ = bag.ReadProperty(QStringLiteral("Style"), QVariant::fromValue(kDefaultStyle)).toInt();
    theme_ = bag.ReadProperty(QStringLiteral("Theme"), QVariant::fromValue(kDefaultTheme)).toInt();
    redraw();
}

void XPContainer::WriteProperties(PropertyBag& bag) const
{
    for (const auto& [name, colour] : kColourNames)
        bag.WriteProperty(QString::fromLatin1(name), colours_.*colour, kThemes[0].*colour);
    bag.WriteProperty(QStringLiteral("Caption"), caption_, kDefaultCaption);
    bag.WriteProperty(QStringLiteral("Style"), style_, QVariant::fromValue(kDefaultStyle));
    bag.WriteProperty(QStringLiteral("Theme"), theme_, QVariant::fromValue(kDefaultTheme));
}

void XPContainer::setValue(qint32& field, qint32 value, const char* name)
{
    if (field == value)
        return;
    field = value;
    emit PropertyChanged(QString::fromLatin1(name));
    redraw();
}

void XPContainer::setColour(qint32 Colours::*colour, qint32 value)
{
    const auto* row = std::find_if(std::begin(kColourNames), std::end(kColourNames),
                                   [&](const auto& row) { return row.second == colour; });
    setValue(colours_.*colour, value, row->first);
}

void XPContainer::setStyle(qint32 style)
{
    setValue(style_, style, "Style");
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
    for (const auto& [name, colour] : kColourNames)
        setValue(colours_.*colour, kThemes[theme].*colour, name);
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
        verticalGradient(face_, 0, h, 0, w - 1, colours_.backLight, colours_.backDark, h, pal);
    else
        verticalGradient(face_, kBodyTop, h - kBodyTop, 0, innerWidth, colours_.backLight,
                         colours_.backDark, h - (kHeaderHeight + 2), pal);

    if (const std::optional<QColor> border = translateColour(colours_.border, pal)) {
        QPainter painter(&face_);
        painter.setPen(*border);
        painter.drawRect(0, 0, w - 1, h - 1);
    }

    if (style_ == 0 && innerWidth > 0) {
        // The caption keeps its last colour when the header cannot be painted.
        if (verticalGradient(face_, kHeaderTop, kHeaderHeight, 1, innerWidth, colours_.headerLight,
                             colours_.headerDark, kHeaderHeight, pal))
            if (const std::optional<QColor> text = translateColour(colours_.text, pal))
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

void frameDialog(XPContainer* frame, const char* name, const QString& caption, qint32 theme,
                 const QString& title)
{
    frame->setObjectName(QLatin1String(name));
    frame->setCaption(caption);
    frame->setTheme(theme);
    frame->setAccessibleName(title);
    frame->setGeometry(frame->parentWidget()->rect());
    frame->parentWidget()->setWindowTitle(title);
    new TitleBandDrag(frame, XPContainer::kHeaderBottom);
}

} // namespace deskleaf
