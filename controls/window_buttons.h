// The buttons as the windows use them. A command button has its caption and font loaded as
// stored properties and the keyboard of a push button: the button with the focus shows its
// highlighted face; Enter, or Space when released, raises Click. A skinned frame has its close
// and minimise buttons at the right of its header strip.
#pragma once

#include <QFont>
#include <QRect>
#include <QString>

class QWidget;

namespace deskleaf {

class xpcmdbutton;
class xptopbuttons;

// Its accessible name is the caption without blanks ("设  置" is read as 设置).
xpcmdbutton* commandButton(QWidget* parent, const char* name, const QString& caption,
                           const QFont& font, QRect place);

// Gives an existing button the push button's keyboard.
void answerKeyboard(xpcmdbutton* button);

struct CaptionButtons {
    xptopbuttons* close;    // xptopbuttons1
    xptopbuttons* minimise; // xptopbuttons2
};
// In the header strip of a group frame (XPContainer), right-aligned, 1 pixel apart. The caller
// connects their Click.
CaptionButtons captionButtons(QWidget* frame);

} // namespace deskleaf
