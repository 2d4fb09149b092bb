#include "controls/CustomPanel.h"
#include "controls/XPContainer.h"
#include "controls/property_bag.h"
#include "controls/system_colour.h"

#include <QDialog>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

#include <ostream>
#include <utility>

void PrintTo(const QColor& colour, std::ostream* os)
{
    *os << colour.name().toStdString();
}

void PrintTo(const QString& text, std::ostream* os)
{
    *os << '"' << text.toStdString() << '"';
}

using deskleaf::CustomPanel;
using deskleaf::PropertyBag;
using deskleaf::XPContainer;

namespace {

// The pointer arrives through the window system, which gives Qt's enter event and a move.
void pointTo(QWidget& widget, QPoint at)
{
    QTest::mouseMove(&widget, at);
}

void pointAway(QWidget& widget)
{
    QTest::mouseMove(&widget, widget.mapFromGlobal(QPoint(0, 0)));
}

QColor rgb(int value)
{
    return QColor(QRgb(value));
}

// The signals a panel raised, in order, with their arguments.
struct SignalLog : QObject {
    explicit SignalLog(CustomPanel& panel)
    {
        const auto mouse = [this](const char* name) {
            return [this, name](short button, short shift, float x, float y) {
                add(QStringLiteral("%1(%2,%3,%4,%5)")
                        .arg(name)
                        .arg(button)
                        .arg(shift)
                        .arg(x)
                        .arg(y));
            };
        };
        connect(&panel, &CustomPanel::MouseEnters, this, [this] { add("MouseEnters"); });
        connect(&panel, &CustomPanel::MouseLeaves, this, [this] { add("MouseLeaves"); });
        connect(&panel, &CustomPanel::Click, this, [this] { add("Click"); });
        connect(&panel, &CustomPanel::DoubleClick, this, [this] { add("DoubleClick"); });
        connect(&panel, &CustomPanel::KeyDown, this, [this](short key, short shift) {
            add(QStringLiteral("KeyDown(%1,%2)").arg(key).arg(shift));
        });
        connect(&panel, &CustomPanel::KeyUp, this, [this](short key, short shift) {
            add(QStringLiteral("KeyUp(%1,%2)").arg(key).arg(shift));
        });
        connect(&panel, &CustomPanel::KeyPress, this,
                [this](short ascii) { add(QStringLiteral("KeyPress(%1)").arg(ascii)); });
        connect(&panel, &CustomPanel::MouseDown, this, mouse("MouseDown"));
        connect(&panel, &CustomPanel::MouseMove, this, mouse("MouseMove"));
        connect(&panel, &CustomPanel::MouseUp, this, mouse("MouseUp"));
    }
    void add(const QString& entry) { entries << entry; }
    // What came since the last call.
    QStringList take() { return std::exchange(entries, {}); }

    QStringList entries;
};

// The first argument of every signal a spy caught.
QStringList firstArguments(const QSignalSpy& spy)
{
    QStringList texts;
    for (const QList<QVariant>& arguments : spy)
        texts << arguments.at(0).toString();
    return texts;
}

// A panel filling a shown, exposed window, with the pointer elsewhere.
struct ShownPanel {
    explicit ShownPanel(QSize size = {320, 180})
    {
        QCursor::setPos(0, 0);
        window.move(100, 100);
        window.resize(size);
        panel.setObjectName(QStringLiteral("CustomPanel1"));
        panel.resize(size);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QCoreApplication::processEvents();
    }
    QColor at(int x, int y) { return panel.grab().toImage().pixelColor(x, y); }

    QWidget window;
    CustomPanel panel{&window};
};

} // namespace

TEST(CustomPanel, DefaultTitleBandSweepsFromItsStartOverARampTwoRowsLongerThanTheBand)
{
    ShownPanel shown;
    EXPECT_EQ(shown.at(160, 100), rgb(0xCEE5F7)); // body: start and end are equal
    // Row r of the band is ramp entry r of 25 (23 rows + 2), from #CEE5F7 to #2E92E7.
    EXPECT_EQ(shown.at(160, 1), QColor(200, 226, 246));
    EXPECT_EQ(shown.at(160, 23), rgb(0x2574BE)); // separator in the border colour
    EXPECT_EQ(shown.at(160, 24), rgb(0x2E92E7)); // the last ramp entry lies past the band
    EXPECT_EQ(shown.at(160, 25), rgb(0xCEE5F7));
    for (const QPoint border : {QPoint(0, 0), QPoint(319, 179), QPoint(0, 100), QPoint(319, 100)})
        EXPECT_EQ(shown.at(border.x(), border.y()), rgb(0x2574BE))
            << border.x() << "," << border.y();
    EXPECT_TRUE(shown.panel.mask().isEmpty()); // square corners
}

TEST(CustomPanel, AngleZeroSweepsLeftToRightAndTakesEffectAtTheNextRedraw)
{
    ShownPanel shown(QSize(100, 300));
    shown.panel.setBGGradientStart(deskleaf::colourValue(255, 0, 0));
    shown.panel.setBGGradientEnd(deskleaf::colourValue(0, 0, 255));
    const QColor before = shown.at(50, 200);
    shown.panel.setGradientAngle(0);
    EXPECT_EQ(shown.at(50, 200), before);

    shown.panel.resize(100, 301);
    EXPECT_EQ(shown.at(1, 200), QColor(252, 0, 2)); // column c is entry c of 102
    // The title's lines run across the whole segment, far below the band.
    EXPECT_EQ(shown.at(50, 50), QColor(128, 188, 239));
}

TEST(CustomPanel, RoundedCornersCutTheWindowShapeAndTheBorderAlike)
{
    ShownPanel shown;
    shown.panel.setRoundedCorners(12);
    const QRegion shape = shown.panel.mask();
    EXPECT_FALSE(shape.contains(QPoint(0, 0)));
    EXPECT_FALSE(shape.contains(QPoint(319, 179)));
    EXPECT_TRUE(shape.contains(QPoint(6, 6)));
    EXPECT_TRUE(shape.contains(QPoint(0, 90)));
    EXPECT_EQ(shown.at(0, 90), rgb(0x2574BE));
    EXPECT_FALSE(shape.contains(QPoint(1, 1)));
    EXPECT_EQ(shown.at(2, 1), rgb(0x2574BE)); // the border follows the corner
    EXPECT_EQ(shown.at(1, 2), rgb(0x2574BE));
    shown.panel.setRoundedCorners(0);
    EXPECT_TRUE(shown.panel.mask().isEmpty());
}

TEST(CustomPanel, ResizedPanelCutsItsRoundedShapeAgain)
{
    ShownPanel shown;
    shown.panel.setRoundedCorners(12);
    shown.panel.resize(200, 100);
    const QRegion shape = shown.panel.mask();
    EXPECT_FALSE(shape.contains(QPoint(199, 99)));
    EXPECT_TRUE(shape.contains(QPoint(199, 50)));
    EXPECT_FALSE(shape.contains(QPoint(200, 50)));
}

TEST(CustomPanel, PointerAndButtonsChangeTheLookAndRaiseTheirSignalsInOrder)
{
    ShownPanel shown;
    CustomPanel& panel = shown.panel;
    SignalLog log(panel);

    pointTo(panel, {50, 40});
    // The move is handled first; the enter notice follows it.
    EXPECT_EQ(log.take(), QStringList({"MouseMove(0,0,50,40)", "MouseEnters"}));
    EXPECT_EQ(shown.at(160, 100), rgb(0xECF5FC));
    EXPECT_EQ(shown.at(160, 1), QColor(231, 243, 252)); // #ECF5FC towards #69B9FE
    EXPECT_EQ(shown.at(0, 100), rgb(0x238FF4));

    QTest::mouseClick(&panel, Qt::RightButton, {}, {60, 50});
    EXPECT_EQ(log.take(), QStringList({"MouseDown(2,0,60,50)", "MouseUp(2,0,60,50)"}));
    EXPECT_EQ(shown.at(0, 100), rgb(0x238FF4));

    QColor borderWhenRaised;
    const auto probe = QObject::connect(&panel, &CustomPanel::MouseDown,
                                        [&] { borderWhenRaised = shown.at(0, 100); });
    QTest::mousePress(&panel, Qt::LeftButton, Qt::ShiftModifier, {70, 60});
    QObject::disconnect(probe);
    EXPECT_EQ(log.take(), QStringList({"MouseDown(1,1,70,60)"}));
    EXPECT_EQ(borderWhenRaised, rgb(0x238FF4));         // raised before the pressed look is drawn
    EXPECT_EQ(shown.at(160, 1), QColor(153, 208, 250)); // #9FD4FC towards #0D72C7
    EXPECT_EQ(shown.at(0, 100), rgb(0x0D72C7));
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, {70, 60});
    EXPECT_EQ(log.take(), QStringList({"MouseUp(1,0,70,60)", "Click"}));
    EXPECT_EQ(shown.at(0, 100), rgb(0x238FF4));

    QTest::mouseClick(&panel, Qt::LeftButton, {}, {10, 10});
    QTest::mouseDClick(&panel, Qt::LeftButton, {}, {10, 10});
    QTest::mouseRelease(&panel, Qt::LeftButton, {}, {10, 10});
    EXPECT_EQ(log.take(), QStringList({"MouseDown(1,0,10,10)", "MouseUp(1,0,10,10)", "Click",
                                       "DoubleClick", "MouseUp(1,0,10,10)"}));

    QTest::keyClick(&panel, Qt::Key_A);
    EXPECT_EQ(log.take(), QStringList({"KeyDown(65,0)", "KeyPress(97)", "KeyUp(65,0)"}));

    pointAway(panel);
    EXPECT_EQ(log.take(), QStringList({"MouseLeaves"}));
    EXPECT_EQ(shown.at(0, 100), rgb(0x2574BE));
    EXPECT_EQ(shown.at(160, 1), QColor(200, 226, 246));
}

TEST(CustomPanel, ALookShownAgainIsDrawnWithWhatChangedWhileAnotherWasShown)
{
    ShownPanel shown(QSize(100, 300));
    CustomPanel& panel = shown.panel;
    panel.setBGGradientStart(deskleaf::colourValue(255, 0, 0));
    panel.setBGGradientEnd(deskleaf::colourValue(0, 0, 255));
    pointTo(panel, {50, 40});
    pointAway(panel);
    pointTo(panel, {50, 40});

    panel.setGradientAngle(0); // redrawn at the next look change, in whichever look
    pointAway(panel);
    EXPECT_EQ(shown.at(1, 200), QColor(252, 0, 2));

    pointTo(panel, {50, 40});
    panel.setBorderColor(deskleaf::systemColourValue(13)); // the highlight; not the over look's
    pointAway(panel);
    EXPECT_EQ(shown.at(0, 100), panel.palette().color(QPalette::Highlight));

    pointTo(panel, {50, 40});
    QPalette palette = panel.palette();
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    panel.setPalette(palette);
    pointAway(panel);
    EXPECT_EQ(shown.at(0, 100), QColor(1, 2, 3));

    const QImage band = panel.grab(QRect(0, 0, 100, 23)).toImage();
    pointTo(panel, {50, 40});
    panel.setCaption(QStringLiteral("WWWW"));
    pointAway(panel);
    EXPECT_NE(panel.grab(QRect(0, 0, 100, 23)).toImage(), band);
}

TEST(CustomPanel, AControlOnThePanelTakesThePointerOffIt)
{
    ShownPanel shown;
    QWidget button(&shown.panel);
    button.setGeometry(100, 60, 80, 30);
    button.show();
    SignalLog log(shown.panel);
    pointTo(shown.panel, {50, 40});
    pointTo(shown.panel, {120, 70}); // onto the control
    pointTo(shown.panel, {60, 40});  // back onto the panel
    QCoreApplication::processEvents();
    QStringList enters;
    for (const QString& entry : log.take())
        if (!entry.startsWith("MouseMove"))
            enters << entry;
    EXPECT_EQ(enters, QStringList({"MouseEnters", "MouseLeaves", "MouseEnters"}));
}

TEST(CustomPanel, DisabledPanelPaintsItsOwnLookAndRaisesNothing)
{
    ShownPanel shown;
    CustomPanel& panel = shown.panel;
    SignalLog log(panel);
    pointTo(panel, {50, 40});
    log.take();

    panel.setPanelEnabled(false);
    EXPECT_EQ(shown.at(0, 100), rgb(0x7B7B7B));
    EXPECT_EQ(shown.at(160, 1), QColor(250, 248, 236)); // #FBF9ED towards #EBE9DC
    EXPECT_EQ(shown.at(160, 100), panel.palette().color(QPalette::Button)); // button face
    QTest::mouseClick(&panel, Qt::LeftButton, {}, {50, 40});
    pointTo(panel, {60, 40});
    pointAway(panel);
    EXPECT_EQ(log.take(), QStringList());

    // Re-enabled after the pointer has gone, it is back to normal, not stuck in the over look.
    panel.setPanelEnabled(true);
    EXPECT_EQ(shown.at(0, 100), rgb(0x2574BE));
    EXPECT_EQ(shown.at(160, 100), rgb(0xCEE5F7));
    pointTo(panel, {50, 40});
    EXPECT_EQ(log.take(), QStringList({"MouseMove(0,0,50,40)", "MouseEnters"}));
}

TEST(CustomPanel, HostWindowMovesAndSizesAreReportedAsStatus)
{
    QWidget host;
    host.resize(400, 300);
    CustomPanel panel(&host);
    panel.setGeometry(0, 0, 400, 300);
    host.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    QCoreApplication::processEvents();

    QSignalSpy status(&panel, &CustomPanel::Status);
    host.move(host.pos() + QPoint(30, 20));
    QCoreApplication::processEvents();
    host.resize(420, 310);
    QCoreApplication::processEvents();
    EXPECT_EQ(firstArguments(status), QStringList({"Form is moving...", "Finished moving.",
                                                   "Form is sizing...", "Finished sizing."}));
}

namespace {

QFont simSun9()
{
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(9);
    return font;
}

} // namespace

TEST(CustomPanelBag, MainWindowPanelLoadsThroughItsSettersAndSavesTheSameBag)
{
    PropertyBag stored; // in save order
    stored.WriteProperty("Font", simSun9());
    stored.WriteProperty("Caption", QStringLiteral("DeskleafV4.0"));
    stored.WriteProperty("DownTitleGradientEnd", 16569503);
    stored.WriteProperty("DisabledBGGradientStart", 13160660);
    stored.WriteProperty("DisabledBGGradientEnd", 13160660);

    CustomPanel panel;
    panel.setObjectName(QStringLiteral("CustomPanel1"));
    QSignalSpy changed(&panel, &CustomPanel::PropertyChanged);
    panel.ReadProperties(stored);
    EXPECT_EQ(firstArguments(changed),
              QStringList({"Font", "Caption", "DownTitleGradientEnd", "DisabledBGGradientStart",
                           "DisabledBGGradientEnd"}));
    EXPECT_EQ(panel.Caption(), QStringLiteral("DeskleafV4.0"));
    EXPECT_EQ(panel.font(), simSun9());
    EXPECT_EQ(panel.DownTitleGradientEnd(), 16569503);
    EXPECT_EQ(panel.TitleHeight(), 23);

    PropertyBag saved;
    panel.WriteProperties(saved);
    EXPECT_EQ(saved.names(), stored.names());
    EXPECT_EQ(saved, stored);
}

TEST(CustomPanelBag, NewPanelShowsItsNameAndKeepsTheButtonFaceItResolved)
{
    QWidget form;
    CustomPanel panel(&form);
    panel.setObjectName(QStringLiteral("CustomPanel1"));
    panel.InitProperties();
    EXPECT_EQ(panel.Caption(), QStringLiteral("CustomPanel1"));
    const qint32 buttonFace = deskleaf::colourValue(panel.palette().color(QPalette::Button));
    EXPECT_EQ(panel.DisabledBGGradientStart(), buttonFace);

    // The system colour was turned into its value when set, so it differs from the default.
    PropertyBag saved;
    panel.WriteProperties(saved);
    EXPECT_EQ(saved.names(), QStringList({"DisabledBGGradientStart", "DisabledBGGradientEnd"}));
    EXPECT_EQ(saved.ReadProperty("DisabledBGGradientEnd"), buttonFace);

    CustomPanel unnamed(&form);
    unnamed.setObjectName(QStringLiteral("CustomPanel2"));
    unnamed.setGradientAngle(45);
    unnamed.ReadProperties(PropertyBag());
    EXPECT_EQ(unnamed.Caption(), QStringLiteral("CustomPanel2"));
    EXPECT_EQ(unnamed.GradientAngle(), 270);
    unnamed.setGradientAngle(45);
    unnamed.setSmallIcon(QPixmap(16, 16));
    PropertyBag angled;
    unnamed.WriteProperties(angled);
    EXPECT_EQ(angled.names(), QStringList({"GradientAngle", "SmallIcon", "DisabledBGGradientStart",
                                           "DisabledBGGradientEnd"}));
    EXPECT_EQ(angled.ReadProperty("GradientAngle").metaType(), QMetaType::fromType<float>());
}

namespace {

struct ThemeRow {
    int theme;
    int headerLight, headerDark, backLight, backDark, border, text;
};

// The two themes the dialogs store: the confirmation box's and the settings window's.
constexpr ThemeRow kStoredThemes[] = {
    {4, 0xC8E3F1, 0x92C9E4, 0xEBF5FA, 0xD5EAF5, 0x88C4E2, 0x003955},
    {9, 0xFBD2D6, 0xF8A6AE, 0xFEEFF0, 0xFCDDE0, 0xF79EA7, 0x6A151D},
};

bool containsColour(const QImage& image, const QRect& area, QColor colour)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

TEST(XPContainer, StoredThemesPaintTheirHeaderBodyBorderAndCaption)
{
    for (const ThemeRow& row : kStoredThemes) {
        SCOPED_TRACE(row.theme);
        QWidget box;
        box.move(100, 100);
        box.resize(305, 209);
        XPContainer frame(&box);
        frame.resize(305, 209);
        frame.setCaption(QStringLiteral("消息提示"));
        QSignalSpy changed(&frame, &XPContainer::PropertyChanged);
        frame.setTheme(row.theme);
        EXPECT_EQ(firstArguments(changed),
                  QStringList({"Theme", "HeaderLightColor", "HeaderDarkColor", "BackLightColor",
                               "BackDarkColor", "BorderColor", "TextColor"}));
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));

        const QImage face = frame.grab().toImage();
        EXPECT_EQ(face.pixelColor(290, 1), rgb(row.headerLight));
        EXPECT_EQ(face.pixelColor(290, 23), rgb(row.headerDark));
        EXPECT_EQ(face.pixelColor(150, 24), rgb(row.backLight));
        EXPECT_EQ(face.pixelColor(150, 207), rgb(row.backDark)); // last row above the border
        EXPECT_EQ(face.pixelColor(303, 100), face.pixelColor(150, 100)); // up to the border
        for (const QPoint border :
             {QPoint(0, 0), QPoint(304, 208), QPoint(0, 12), QPoint(304, 100)})
            EXPECT_EQ(face.pixelColor(border), rgb(row.border));
        EXPECT_TRUE(containsColour(face, QRect(11, 1, 80, 23), rgb(row.text)));
    }
}

TEST(XPContainer, ThemeOutsideTheTableIsOnlyStored)
{
    XPContainer frame;
    frame.setTheme(4);
    QSignalSpy changed(&frame, &XPContainer::PropertyChanged);
    for (const int theme : {12, -1}) {
        frame.setTheme(theme);
        EXPECT_EQ(frame.Theme(), theme);
        EXPECT_EQ(frame.HeaderLightColor(), 15852488);
        EXPECT_EQ(frame.TextColor(), 5585152);
    }
    EXPECT_EQ(firstArguments(changed), QStringList({"Theme", "Theme"}));
}

TEST(XPContainer, StyleHidesTheHeaderAndRunsTheBodyFromTheTop)
{
    XPContainer frame;
    frame.resize(165, 128);
    frame.setStyle(1);
    const QImage face = frame.grab().toImage();
    // Theme 0's body, #EFF4FC to #DCE8FA over all 128 rows.
    EXPECT_EQ(face.pixelColor(80, 1), QColor(239, 244, 252));
    EXPECT_EQ(face.pixelColor(80, 10), QColor(238, 243, 252));
    EXPECT_FALSE(containsColour(face, QRect(11, 1, 80, 23), rgb(0x022D7B))); // no caption
    EXPECT_EQ(face.pixelColor(80, 64), QColor(229, 238, 251));
    EXPECT_EQ(face.pixelColor(80, 126), rgb(0xDCE8FA));
}

TEST(XPContainer, SystemColoursArePaintedInThePalettesCurrentColour)
{
    XPContainer frame;
    frame.resize(165, 128);
    frame.setBorderColor(deskleaf::systemColourValue(13));
    frame.setBackLightColor(deskleaf::systemColourValue(5));
    frame.setBackDarkColor(deskleaf::systemColourValue(5));
    const QImage face = frame.grab().toImage();
    EXPECT_EQ(face.pixelColor(0, 60), frame.palette().color(QPalette::Highlight));
    EXPECT_EQ(face.pixelColor(80, 60), frame.palette().color(QPalette::Base));
}

// The frame of the dialogs: it fills the dialog, titles it, and its header strip moves it.
TEST(XPContainer, FrameOfADialogFillsItTitlesItAndMovesItByTheHeaderStrip)
{
    QDialog dialog(nullptr, Qt::Dialog | Qt::FramelessWindowHint);
    dialog.setFixedSize(305, 209);
    auto* frame = new XPContainer(&dialog);
    deskleaf::frameDialog(frame, "tsxx", QStringLiteral("消 息"), 4, QStringLiteral("消息"));
    EXPECT_EQ(frame->objectName(), QStringLiteral("tsxx"));
    EXPECT_EQ(frame->Caption(), QStringLiteral("消 息"));
    EXPECT_EQ(frame->HeaderLightColor(), 15852488); // theme 4
    EXPECT_EQ(frame->accessibleName(), QStringLiteral("消息"));
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("消息"));
    EXPECT_EQ(frame->geometry(), dialog.rect());
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();
    for (const int y : {XPContainer::kHeaderBottom, XPContainer::kHeaderBottom - 1}) {
        QTest::mousePress(frame, Qt::LeftButton, {}, {50, y});
        QTest::mouseMove(frame, {80, y + 5});
        QTest::mouseRelease(frame, Qt::LeftButton, {}, {80, y + 5});
    }
    // Only the press on the header's last row moved it; the offscreen platform lets it follow.
    EXPECT_EQ(dialog.pos(), start + QPoint(30, 5));
}

TEST(XPContainerBag, StoredColoursDecideTheLookNotTheStoredTheme)
{
    PropertyBag settings; // the settings window's frame, in save order
    const ThemeRow& pink = kStoredThemes[1];
    for (const auto& [name, value] : {std::pair{"HeaderLightColor", 14078715},
                                      {"HeaderDarkColor", 11446008},
                                      {"BackLightColor", 15790078},
                                      {"BackDarkColor", 14736892},
                                      {"BorderColor", 10985207},
                                      {"TextColor", 1906026}})
        settings.WriteProperty(name, value);
    settings.WriteProperty("Caption", QStringLiteral("设  置"));
    settings.WriteProperty("Theme", 9);

    XPContainer frame;
    frame.resize(313, 305);
    frame.ReadProperties(settings);
    EXPECT_EQ(frame.grab().toImage().pixelColor(150, 1), rgb(pink.headerLight));
    PropertyBag saved;
    frame.WriteProperties(saved);
    EXPECT_EQ(saved.names(), settings.names());
    EXPECT_EQ(saved, settings);

    PropertyBag themeOnly;
    themeOnly.WriteProperty("Theme", 9);
    frame.ReadProperties(themeOnly);
    EXPECT_EQ(frame.Theme(), 9);
    EXPECT_EQ(frame.Caption(), QStringLiteral("XPContainer"));
    EXPECT_EQ(frame.grab().toImage().pixelColor(150, 1), rgb(0xD3E0F7)); // theme 0's header
}

namespace {

// Edge energy: the sum of the absolute differences between horizontal neighbours' grey levels.
qint64 edgeEnergy(const QImage& image)
{
    qint64 sum = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 1; x < image.width(); ++x)
            sum += std::abs(qGray(image.pixel(x, y)) - qGray(image.pixel(x - 1, y)));
    return sum;
}

// Whether every aligned 2 x 2 block is one colour, as in a picture drawn at 1x and doubled.
bool onlyDoubledPixels(const QImage& image)
{
    for (int y = 0; y + 1 < image.height(); y += 2)
        for (int x = 0; x + 1 < image.width(); x += 2) {
            const QRgb p = image.pixel(x, y);
            if (image.pixel(x + 1, y) != p || image.pixel(x, y + 1) != p ||
                image.pixel(x + 1, y + 1) != p)
                return false;
        }
    return true;
}

} // namespace

// At a pixel ratio of 2 the captions of both panels are drawn from the font at that ratio: not
// the 1x caption doubled, and with sharper edges than the 1x caption scaled up smoothly.
TEST(Captions, AreDrawnAtTheScreensPixelRatio)
{
    XPContainer frame;
    frame.resize(305, 60);
    frame.setCaption(QStringLiteral("消息提示 Help"));
    CustomPanel panel;
    panel.resize(305, 60);
    panel.setCaption(QStringLiteral("消息提示 Help"));
    for (QWidget* widget : {static_cast<QWidget*>(&frame), static_cast<QWidget*>(&panel)}) {
        SCOPED_TRACE(widget->metaObject()->className());
        widget->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(widget));
        const QRect caption(2, 2, 120, 20); // in widget pixels
        QPixmap once(widget->size());
        widget->render(&once);
        QPixmap twice(widget->size() * 2);
        twice.setDevicePixelRatio(2);
        widget->render(&twice);
        const QImage sharp = twice.toImage().copy(QRect(caption.topLeft() * 2, caption.size() * 2));
        const QImage scaled = once.toImage().copy(caption).scaled(
            caption.size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        EXPECT_FALSE(onlyDoubledPixels(sharp));
        EXPECT_GT(edgeEnergy(sharp), edgeEnergy(scaled) * 5 / 4);
    }
}
