#include "controls/button_gallery.h"
#include "controls/song_font.h"

#include "controls/xpcmdbutton.h"
#include "controls/xptopbuttons.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>

#include <functional>

namespace deskleaf {

namespace {

// Puts a button into a look the way a user would: with the pointer over it, or pressed.
void send(QWidget& widget, QEvent::Type type, Qt::MouseButton button)
{
    const QPointF pos(3, 3);
    QMouseEvent event(type, pos, widget.mapToGlobal(pos), button,
                      type == QEvent::MouseButtonPress ? button : Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

void hover(QWidget& widget)
{
    send(widget, QEvent::MouseMove, Qt::NoButton);
}

void press(QWidget& widget)
{
    send(widget, QEvent::MouseButtonPress, Qt::LeftButton);
}

// Shown, but not on any screen, so that the button runs its show-time refresh.
template <typename Button>
void grabInto(Button& button, const std::function<void(Button&)>& look, const QString& path)
{
    button.setAttribute(Qt::WA_DontShowOnScreen);
    button.show();
    look(button);
    button.grab().save(path, "PNG");
}

} // namespace

void renderButtonGallery(const QString& dir)
{
    QDir().mkpath(dir);
    const QDir out(dir);

    const QFont font = songFont(9);
    const struct {
        const char* name;
        std::function<void(xpcmdbutton&)> look;
    } commandLooks[] = {
        {"normal", [](xpcmdbutton&) {}},
        {"hover", [](xpcmdbutton& b) { hover(b); }},
        {"pressed", [](xpcmdbutton& b) { press(b); }},
        {"disabled", [](xpcmdbutton& b) { b.setEnabled(false); }},
        {"highlighted", [](xpcmdbutton& b) { b.setState(1); }},
    };
    for (const auto& look : commandLooks) {
        xpcmdbutton button;
        button.setObjectName(QStringLiteral("xpcmdbutton1"));
        button.resize(100, 30);
        button.InitProperties();
        button.setFont(font);
        button.setCaption(QStringLiteral("打开图片"));
        grabInto(button, look.look,
                 out.filePath(QStringLiteral("button-%1.png").arg(QLatin1String(look.name))));
    }

    const char* const glyphs[] = {"close", "maximise", "minimise"};
    const struct {
        const char* name;
        std::function<void(xptopbuttons&)> look;
    } captionLooks[] = {
        {"normal", [](xptopbuttons&) {}},
        {"hover", [](xptopbuttons& b) { hover(b); }},
        {"pressed", [](xptopbuttons& b) { press(b); }},
        {"disabled", [](xptopbuttons& b) { b.setEnabled(false); }},
    };
    for (int value = 0; value < 3; ++value)
        for (const auto& look : captionLooks) {
            xptopbuttons button;
            button.InitProperties();
            button.setValue(value);
            grabInto(
                button, look.look,
                out.filePath(QStringLiteral("caption-%1-%2.png")
                                 .arg(QLatin1String(glyphs[value]), QLatin1String(look.name))));
        }
}

} // namespace deskleaf
