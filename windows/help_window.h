// The help window Form2: the program's name and version, what it does and how to use it, on a
// frameless skinned frame that its header strip moves. The caller shows it modally over the
// main window.
#pragma once

#include <QDialog>
#include <QString>

class QLabel;

namespace deskleaf {

class XPContainer;
class xptopbuttons;

// The text the window shows: name and version, language, what the program does, how to use it.
QString helpText();

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 546;  // 8190 twips
    static constexpr int kHeight = 401; // 6015 twips

    explicit HelpWindow(QWidget* parent = nullptr);

private:
    XPContainer* XPContainer1_;
    xptopbuttons* xptopbuttons1_;
    xptopbuttons* xptopbuttons2_;
    QLabel* Label1_;
};

} // namespace deskleaf
