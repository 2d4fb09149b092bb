// The main window's title panel while the pointer goes back and forth between the panel and a
// button on it: every crossing flips the panel between its normal and over looks. Prints the CPU
// time (user + system) of 100 passes, each onto the button and back, with every paint done.
#include "controls/CustomPanel.h"
#include "controls/xpcmdbutton.h"

#include <QApplication>
#include <QTest>

#include <cstdio>
#include <ctime>

using deskleaf::CustomPanel;
using deskleaf::xpcmdbutton;

namespace {

constexpr int kPasses = 100;

struct PaintCounter : QObject {
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            ++paints;
        return false;
    }
    int paints = 0;
};

// The panel as the main window stores it, 745 x 505, with a command button at 16,32.
void run(int roundedCorners)
{
    QCursor::setPos(0, 0);
    QWidget window;
    window.move(100, 100);
    window.resize(745, 505);
    CustomPanel panel(&window);
    panel.setObjectName(QStringLiteral("CustomPanel1"));
    panel.setGeometry(0, 0, 745, 505);
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Sans CJK SC")});
    font.setPointSize(9);
    panel.setPanelFont(font);
    panel.setCaption(QStringLiteral("DeskleafV4.0"));
    panel.setDownTitleGradientEnd(16569503);
    panel.setDisabledBGGradientStart(13160660);
    panel.setDisabledBGGradientEnd(13160660);
    panel.setRoundedCorners(roundedCorners);
    xpcmdbutton button(&panel);
    button.setCaption(QStringLiteral("OK"));
    button.setGeometry(16, 32, 73, 25);
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the window was never exposed\n");
        return;
    }
    int flips = 0;
    QObject::connect(&panel, &CustomPanel::MouseEnters, [&] { ++flips; });
    QObject::connect(&panel, &CustomPanel::MouseLeaves, [&] { ++flips; });
    PaintCounter counter;
    panel.installEventFilter(&counter);

    const QPoint onPanel(300, 200);
    const QPoint onButton = button.geometry().center();
    QTest::mouseMove(&panel, onPanel);
    QCoreApplication::processEvents();
    flips = 0;
    counter.paints = 0;

    const std::clock_t start = std::clock();
    for (int pass = 0; pass < kPasses; ++pass) {
        QTest::mouseMove(&panel, onButton);
        QCoreApplication::processEvents();
        QTest::mouseMove(&panel, onPanel);
        QCoreApplication::processEvents();
    }
    const std::clock_t end = std::clock();

    std::printf("rounded corners %d: %d passes: %.1f ms CPU (%d look changes, %d panel paints)\n",
                roundedCorners, kPasses, 1000.0 * double(end - start) / CLOCKS_PER_SEC, flips,
                counter.paints);
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The main window's panel has square corners; 12 is the skin's rounded shape.
    run(0);
    run(12);
    return 0;
}
