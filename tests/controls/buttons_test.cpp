#include "controls/SpriteSheet.h"
#include "controls/button_gallery.h"
#include "controls/window_buttons.h"
#include "controls/xpcmdbutton.h"
#include "controls/xptopbuttons.h"

#include <QCursor>
#include <QDir>
#include <QLabel>
#include <QPainter>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

// Readable failures.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using deskleaf::PropertyBag;
using deskleaf::SpriteSheet;
using deskleaf::xpcmdbutton;
using deskleaf::xptopbuttons;

namespace {

QImage rgb(const QPixmap& pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

// The pointer's parking place, away from the windows.
const QPoint kAway(5, 5);

void showAt(QWidget& widget)
{
    QCursor::setPos(kAway);
    widget.move(200, 200);
    widget.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&widget));
}

// The command button's face, told by its corners, which are the cell's own pixels.
int shownFace(xpcmdbutton& button)
{
    const QImage shot = rgb(button.grab());
    const SpriteSheet faces = SpriteSheet::fromResource("xpcmdbutton.png", 1, 5);
    const int w = button.width(), h = button.height();
    for (int face = 0; face < faces.cellCount(); ++face) {
        const QImage cell = rgb(faces.cell(face));
        if (shot.copy(0, 0, 3, 3) == cell.copy(0, 0, 3, 3) &&
            shot.copy(w - 3, h - 3, 3, 3) == cell.copy(15, 18, 3, 3))
            return face;
    }
    return -1;
}

const char* const kGlyphSheets[] = {"xptopbuttons-close.png", "xptopbuttons-maximise.png",
                                    "xptopbuttons-minimise.png"};

QImage captionCell(int glyph, int cell)
{
    return rgb(SpriteSheet::fromResource(kGlyphSheets[glyph], 1, 4).cell(cell));
}

// Glyph * 10 + cell of what the caption button shows, -1 if it is none of them.
int shownCell(xptopbuttons& button)
{
    const QImage shot = rgb(button.grab());
    for (int glyph = 0; glyph < 3; ++glyph)
        for (int cell = 0; cell < 4; ++cell)
            if (shot == captionCell(glyph, cell))
                return glyph * 10 + cell;
    return -1;
}

// Every signal of a button, as "Name(arguments)", in the order raised.
struct SignalLog {
    template <typename Button> explicit SignalLog(Button& button)
    {
        const auto mouse = [this](const char* name) {
            return [this, name](short b, short s, float x, float y) {
                entries << QStringLiteral("%1(%2,%3,%4,%5)").arg(name).arg(b).arg(s).arg(x).arg(y);
            };
        };
        QObject::connect(&button, &Button::MouseDown, mouse("MouseDown"));
        QObject::connect(&button, &Button::MouseMove, mouse("MouseMove"));
        QObject::connect(&button, &Button::MouseUp, mouse("MouseUp"));
        QObject::connect(&button, &Button::Click, [this] { entries << "Click"; });
        QObject::connect(&button, &Button::MouseOut, [this] { entries << "MouseOut"; });
        QObject::connect(&button, &Button::PropertyChanged,
                         [this](const QString& name) { entries << "PropertyChanged " + name; });
    }
    QStringList entries;
};

QLabel* captionOf(xpcmdbutton& button)
{
    return button.findChild<QLabel*>("lbl");
}

} // namespace

TEST(SpriteSheet, CutsCellsLeftToRightThenTopToBottom)
{
    QPixmap picture(6, 4);
    QPainter painter(&picture);
    for (int i = 0; i < 6; ++i)
        painter.fillRect(i % 3 * 2, i / 3 * 2, 2, 2, QColor(i * 40, 0, 0));
    painter.end();
    const SpriteSheet sheet(picture, 2, 3);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(rgb(sheet.cell(i)), rgb(picture.copy(i % 3 * 2, i / 3 * 2, 2, 2))) << i;
    EXPECT_TRUE(sheet.cell(6).isNull());
}

TEST(CommandButton, StretchesTheFrameAndKeepsTheCorners)
{
    xpcmdbutton button;
    button.setCaption({});
    button.resize(18, 21);
    const QImage cell = rgb(SpriteSheet::fromResource("xpcmdbutton.png", 1, 5).cell(0));
    EXPECT_EQ(rgb(button.grab()), cell);

    button.resize(60, 40);
    const QImage shot = rgb(button.grab());
    EXPECT_EQ(shot.copy(57, 0, 3, 3), cell.copy(15, 0, 3, 3));
    EXPECT_EQ(shot.copy(0, 37, 3, 3), cell.copy(0, 18, 3, 3));
    for (int y = 3; y < 37; ++y)
        ASSERT_EQ(shot.pixel(59, y), cell.pixel(17, 10)) << y;
    for (int x = 3; x < 57; ++x)
        ASSERT_EQ(shot.pixel(x, 1), cell.pixel(9, 1)) << x;
    EXPECT_EQ(shot.pixel(30, 3), cell.pixel(9, 3));
    EXPECT_EQ(shot.pixel(30, 36), cell.pixel(9, 17));
}

TEST(CommandButton, FaceAndEventsFollowThePointerAndTheButtons)
{
    xpcmdbutton button;
    showAt(button);
    SignalLog log(button);
    QList<int> faces;
    const auto seen = [&] { faces << shownFace(button); };

    QTest::mouseMove(&button, {5, 5});
    seen();
    QTest::mousePress(&button, Qt::LeftButton, Qt::ShiftModifier, {5, 5});
    seen();
    QTest::mouseMove(&button, {6, 6}); // left held
    seen();
    QTest::mouseRelease(&button, Qt::LeftButton, Qt::ShiftModifier, {6, 6});
    seen(); // the rest face, though the pointer is still over it
    QTest::mousePress(&button, Qt::RightButton, {}, {6, 6});
    seen();
    QTest::mouseMove(&button, {7, 7}); // right held
    seen();
    QTest::mouseRelease(&button, Qt::RightButton, Qt::ControlModifier, {7, 7});
    seen();
    EXPECT_EQ(faces, QList<int>({xpcmdbutton::Hover, xpcmdbutton::Pressed, xpcmdbutton::Pressed,
                                 xpcmdbutton::Normal, xpcmdbutton::Pressed, xpcmdbutton::Hover,
                                 xpcmdbutton::Normal}));
    EXPECT_EQ(log.entries,
              QStringList({"MouseMove(0,0,5,5)", "MouseDown(1,1,5,5)", "MouseMove(1,0,6,6)",
                           "MouseUp(1,1,6,6)", "Click", "MouseDown(2,0,6,6)", "MouseMove(2,0,7,7)",
                           "MouseUp(2,2,7,7)"}));

    // On the caption: one Click, with the caption's own coordinates.
    log.entries.clear();
    QTest::mouseClick(captionOf(button), Qt::LeftButton, {}, {2, 3});
    EXPECT_EQ(log.entries, QStringList({"MouseDown(1,0,2,3)", "MouseUp(1,0,2,3)", "Click"}));

    // A double click, on the button or on its caption, runs the command once.
    for (QWidget* target :
         {static_cast<QWidget*>(&button), static_cast<QWidget*>(captionOf(button))}) {
        log.entries.clear();
        QTest::mouseClick(target, Qt::LeftButton, {}, {4, 4});
        QTest::mouseDClick(target, Qt::LeftButton, {}, {4, 4});
        QTest::mouseRelease(target, Qt::LeftButton, {}, {4, 4}); // the second release
        EXPECT_EQ(log.entries.count("Click"), 1);
        EXPECT_EQ(log.entries.count("MouseDown(1,0,4,4)"), 1);
    }
}

TEST(CommandButton, RestFaceFollowsStateAndEnabled)
{
    xpcmdbutton button;
    showAt(button);
    button.setState(1);
    EXPECT_EQ(shownFace(button), xpcmdbutton::Highlighted);
    button.setState(2); // keeps the last rest face
    EXPECT_EQ(shownFace(button), xpcmdbutton::Highlighted);
    button.setState(0);
    button.setState(7);
    EXPECT_EQ(shownFace(button), xpcmdbutton::Normal);

    EXPECT_EQ(captionOf(button)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
    button.setEnabled(false);
    EXPECT_EQ(shownFace(button), xpcmdbutton::Disabled);
    EXPECT_EQ(captionOf(button)->palette().color(QPalette::WindowText), QColor(161, 161, 146));
    button.setEnabled(true);
    EXPECT_EQ(shownFace(button), xpcmdbutton::Normal);
    EXPECT_EQ(captionOf(button)->palette().color(QPalette::WindowText), QColor(0, 0, 0));
}

TEST(CommandButton, LeavingWhileHeldRestoresTheRestFaceAtThePoll)
{
    xpcmdbutton button;
    showAt(button);
    SignalLog log(button);

    QTest::mouseMove(&button, {5, 5});
    QTest::mousePress(&button, Qt::LeftButton, {}, {5, 5});
    QTest::mouseMove(&button, {150, 5}); // outside: raises nothing
    EXPECT_EQ(shownFace(button), xpcmdbutton::Pressed);
    QCursor::setPos(kAway);
    QTRY_VERIFY(log.entries.contains("MouseOut"));
    EXPECT_EQ(shownFace(button), xpcmdbutton::Normal); // the button is still down
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {150, 5});
    EXPECT_EQ(log.entries, QStringList({"MouseMove(0,0,5,5)", "MouseDown(1,0,5,5)", "MouseOut",
                                        "MouseUp(1,0,150,5)"}));
}

TEST(CommandButton, FarEdgesCountAsInside)
{
    xpcmdbutton button;
    showAt(button);
    const int w = button.width(), h = button.height();
    QSignalSpy moves(&button, &xpcmdbutton::MouseMove);
    QSignalSpy out(&button, &xpcmdbutton::MouseOut);

    QTest::mouseMove(&button, {5, 5});
    QTest::mousePress(&button, Qt::LeftButton, {}, {5, 5});
    QTest::mouseMove(&button, {w, h});
    QTest::mouseMove(&button, {w + 1, h});
    ASSERT_EQ(moves.count(), 2);
    EXPECT_EQ(moves.last(), QVariantList({1, 0, float(w), float(h)}));

    QCursor::setPos(button.mapToGlobal(QPoint(w, h)));
    QTest::qWait(50);
    EXPECT_EQ(out.count(), 0);
    QCursor::setPos(button.mapToGlobal(QPoint(w, h + 1)));
    QTRY_COMPARE(out.count(), 1);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {w, h + 1});
}

TEST(CommandButton, KeysArePassedOnButPressNothing)
{
    xpcmdbutton button;
    QSignalSpy down(&button, &xpcmdbutton::KeyDown), press(&button, &xpcmdbutton::KeyPress),
        up(&button, &xpcmdbutton::KeyUp), clicks(&button, &xpcmdbutton::Click);
    QTest::keyClick(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Return);
    QTest::keyClick(&button, Qt::Key_A);
    ASSERT_EQ(down.count(), 3);
    EXPECT_EQ(down.at(1), QVariantList({short(0x0d), short(0)}));
    EXPECT_EQ(down.at(2), QVariantList({short('A'), short(0)}));
    EXPECT_EQ(press.at(0), QVariantList({short(' ')}));
    EXPECT_EQ(press.at(2), QVariantList({short('a')}));
    EXPECT_EQ(up.count(), 3);
    EXPECT_EQ(clicks.count(), 0);
}

TEST(CommandButton, CaptionIsCentredByItsOwnSize)
{
    xpcmdbutton button;
    button.setCaption(QStringLiteral("打开图片"));
    QLabel* caption = captionOf(button);
    EXPECT_EQ(caption->pos(), QPoint((113 - caption->width()) / 2, (59 - caption->height()) / 2));

    button.resize(40, 25);
    button.setCaption(QStringLiteral("设置桌面图标背景透明")); // wider than the button
    EXPECT_EQ(caption->size(), caption->sizeHint());
    EXPECT_LT(caption->x(), 0);
    EXPECT_EQ(caption->pos(), QPoint((40 - caption->width()) / 2, (25 - caption->height()) / 2));
}

TEST(CommandButton, PropertiesRoundTripByNameInOrder)
{
    QWidget window;
    const QFont windowFont("Liberation Sans", 11), song("Noto Sans CJK SC", 9);
    window.setFont(windowFont);

    // A new button takes its name as caption and its window's font: all defaults, none kept.
    xpcmdbutton made(&window);
    made.setObjectName("ok");
    made.InitProperties();
    EXPECT_EQ(made.caption(), "ok");
    EXPECT_EQ(made.font(), windowFont);
    PropertyBag bag;
    made.WriteProperties(bag);
    EXPECT_TRUE(bag.names().isEmpty());

    made.setState(1);
    made.setEnabled(false);
    made.setCaption(QStringLiteral("打开图片"));
    made.setFont(song);
    made.WriteProperties(bag);
    EXPECT_EQ(bag.names(), QStringList({"State", "Enabled", "Caption", "Font"}));

    xpcmdbutton loaded(&window);
    loaded.setObjectName("xpcmdbutton1");
    SignalLog log(loaded);
    loaded.ReadProperties(bag);
    EXPECT_EQ(log.entries, QStringList({"PropertyChanged State", "PropertyChanged Enabled",
                                        "PropertyChanged Caption", "PropertyChanged Font"}));
    EXPECT_EQ(loaded.caption(), QStringLiteral("打开图片"));
    EXPECT_EQ(loaded.font(), song);
    PropertyBag again;
    loaded.WriteProperties(again);
    EXPECT_EQ(again, bag);
    EXPECT_EQ(shownFace(loaded), xpcmdbutton::Disabled);
    loaded.setEnabled(true);
    EXPECT_EQ(shownFace(loaded), xpcmdbutton::Highlighted); // State 1 came back

    xpcmdbutton unnamed(&window);
    unnamed.setObjectName("ok");
    unnamed.ReadProperties(PropertyBag());
    EXPECT_EQ(unnamed.caption(), "ok");
}

TEST(CaptionButton, GlyphFollowsValueAndSizeStaysFixed)
{
    xptopbuttons button;
    button.InitProperties();
    EXPECT_EQ(shownCell(button), 0); // close, normal
    button.setValue(2);
    EXPECT_EQ(shownCell(button), 20);
    button.setValue(1);
    EXPECT_EQ(shownCell(button), 10);
    for (int kept : {5, -1, 3}) {
        button.setValue(kept);
        EXPECT_EQ(shownCell(button), 10) << kept;
    }
    button.setGeometry(0, 0, 40, 10);
    EXPECT_EQ(button.size(), QSize(21, 21));
}

TEST(CaptionButton, CellAndEventsFollowThePointerAndTheButtons)
{
    xptopbuttons button;
    button.setValue(2);
    showAt(button);
    // Down and up are raised after their cell shows: the cell is logged first.
    QStringList cells;
    const auto cell = [&] { cells << QString::number(shownCell(button)); };
    QObject::connect(&button, &xptopbuttons::MouseDown, cell);
    QObject::connect(&button, &xptopbuttons::MouseUp, cell);
    SignalLog log(button);
    QTRY_VERIFY(log.entries.contains("MouseOut")); // the first poll, pointer away
    log.entries.clear();

    QTest::mouseMove(&button, {3, 3});
    cell();
    QTest::mousePress(&button, Qt::LeftButton, {}, {3, 3});
    QTest::mouseMove(&button, {4, 4}); // left held
    cell();
    QTest::mouseRelease(&button, Qt::LeftButton, {}, {4, 4});
    cell(); // normal, though the pointer is still over it
    QTest::mouseMove(&button, {5, 5});
    QTest::mousePress(&button, Qt::RightButton, {}, {5, 5});
    QTest::mouseMove(&button, {6, 6}); // another button held
    cell();
    QTest::mouseRelease(&button, Qt::RightButton, {}, {6, 6});
    QCursor::setPos(kAway);
    QTRY_VERIFY(log.entries.contains("MouseOut"));
    cell();
    EXPECT_EQ(cells, QStringList({"21", "22", "22", "20", "20", "22", "21", "20", "20"}));
    EXPECT_EQ(log.entries,
              QStringList({"MouseMove(0,0,3,3)", "MouseDown(1,0,3,3)", "MouseMove(1,0,4,4)",
                           "MouseUp(1,0,4,4)", "Click", "MouseMove(0,0,5,5)", "MouseDown(2,0,5,5)",
                           "MouseMove(2,0,6,6)", "MouseUp(2,0,6,6)", "MouseOut"}));

    // A double click through the window, as the system sends it, clicks once.
    log.entries.clear();
    QTest::mouseDClick(button.windowHandle(), Qt::LeftButton, {}, {3, 3});
    EXPECT_EQ(log.entries, QStringList({"MouseMove(0,0,3,3)", "MouseDown(1,0,3,3)",
                                        "MouseUp(1,0,3,3)", "Click", "MouseUp(1,0,3,3)"}));
}

TEST(CaptionButton, DisabledKeepsItsCellWhenThePointerLeaves)
{
    xptopbuttons button;
    button.setValue(1);
    button.setEnabled(false);
    EXPECT_EQ(shownCell(button), 13);
    QSignalSpy out(&button, &xptopbuttons::MouseOut);
    showAt(button);
    QTRY_COMPARE(out.count(), 1); // once, at the first poll after it was made
    EXPECT_EQ(shownCell(button), 13);
    QTest::qWait(50);
    EXPECT_EQ(out.count(), 1);
    button.setEnabled(true);
    EXPECT_EQ(shownCell(button), 10);
}

TEST(CaptionButton, LoadedValueShowsWhenTheButtonIsShown)
{
    PropertyBag bag;
    xptopbuttons made;
    made.InitProperties();
    made.setValue(2);
    made.setEnabled(false);
    made.WriteProperties(bag);
    EXPECT_EQ(bag.names(), QStringList({"Value", "Enabled"}));

    xptopbuttons loaded;
    QSignalSpy changed(&loaded, &xptopbuttons::PropertyChanged);
    loaded.ReadProperties(bag);
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(shownCell(loaded), 3); // the close glyph's disabled cell, until shown
    showAt(loaded);
    EXPECT_EQ(shownCell(loaded), 23);
    PropertyBag again;
    loaded.WriteProperties(again);
    EXPECT_EQ(again, bag);
}

TEST(ButtonGallery, SavesEveryLook)
{
    QTemporaryDir dir;
    deskleaf::renderButtonGallery(dir.path());
    const QDir out(dir.path());
    for (const char* look : {"normal", "hover", "pressed", "disabled", "highlighted"})
        EXPECT_EQ(QImage(out.filePath(QStringLiteral("button-%1.png").arg(look))).size(),
                  QSize(100, 30))
            << look;
    const char* const glyphs[] = {"close", "maximise", "minimise"};
    const char* const cells[] = {"normal", "hover", "pressed", "disabled"};
    for (int glyph = 0; glyph < 3; ++glyph)
        for (int cell = 0; cell < 4; ++cell) {
            const QString file =
                QStringLiteral("caption-%1-%2.png").arg(glyphs[glyph], cells[cell]);
            EXPECT_EQ(rgb(QPixmap(out.filePath(file))), captionCell(glyph, cell))
                << qPrintable(file);
        }
}

TEST(CommandButton, AnswersTheKeyboardAndIsDestroyedWithTheFocus)
{
    auto window = std::make_unique<QWidget>();
    auto* button = deskleaf::commandButton(window.get(), "go", QStringLiteral("打 开"), QFont(),
                                           QRect(0, 0, 73, 25));
    EXPECT_EQ(button->accessibleName(), QStringLiteral("打开"));
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    button->setFocus();
    ASSERT_TRUE(button->hasFocus());
    EXPECT_EQ(button->state(), 1); // the highlighted face
    QSignalSpy clicks(button, &deskleaf::xpcmdbutton::Click);
    QTest::keyClick(button, Qt::Key_Return);
    QTest::keyClick(button, Qt::Key_Space);
    EXPECT_EQ(clicks.size(), 2);
    delete button; // gives up the focus while it can still answer
}

// On a screen at 200% (this case runs again under QT_SCALE_FACTOR=2) every button shows its
// sheet's twice-as-large drawing pixel for pixel, not the 1x cell doubled; the command button
// keeps its 3-pixel corners in logical pixels when stretched.
TEST(HighDpi, ButtonsDrawTheirSheetsAtTheScreensRatio)
{
    xpcmdbutton command;
    command.setCaption({});
    command.resize(18, 21);
    command.show();
    if (command.devicePixelRatioF() != 2)
        GTEST_SKIP() << "needs a screen at 200%";
    const struct {
        QWidget* button;
        SpriteSheet sheet;
        int cell;
    } rows[] = {
        {&command, SpriteSheet::fromResource("xpcmdbutton.png", 1, 5), 0},
        {new xptopbuttons(&command), SpriteSheet::fromResource("xptopbuttons-close.png", 1, 4), 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.button->metaObject()->className());
        const QPixmap twice = row.sheet.cell(row.cell, 2);
        ASSERT_EQ(twice.devicePixelRatio(), 2);
        ASSERT_EQ(twice.size(), row.sheet.cell(row.cell).size() * 2);
        EXPECT_NE(rgb(twice), rgb(row.sheet.cell(row.cell)).scaled(twice.size()));
        EXPECT_EQ(rgb(row.button->grab()), rgb(twice));
    }
    command.resize(60, 40);
    const QImage shot = rgb(command.grab());
    const QImage corner = rgb(rows[0].sheet.cell(0, 2)).copy(30, 36, 6, 6);
    EXPECT_EQ(shot.copy(114, 74, 6, 6), corner);
}
