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

// Where the copy runs: how it is started, what refreshes the calendar and what its command line
// is called differ. A Linux copy comes from the package (a menu entry, the deskleaf command on
// the PATH, the daily refresh) or is run from its build or unpacked folder, where it keeps its
// files beside itself; a Windows copy is unpacked into a folder with Tidemark.exe and
// deskleaf.exe.
enum class HelpPlatform { Linux, LinuxUnpacked, Windows };

// Which copy this is: a Linux copy whose folder is the one its program file is in runs
// unpacked.
HelpPlatform thisCopy(const QString& folder);

// The text the window shows: name and version, language, what the program does, and how to use
// it on platform, naming folder, where the program keeps its files (the home folder as ~).
QString helpText(const QString& folder, HelpPlatform platform);

class HelpWindow : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWidth = 546;  // 8190 twips
    static constexpr int kHeight = 401; // 6015 twips

    // folder: the program's folder, which the text names.
    explicit HelpWindow(const QString& folder, QWidget* parent = nullptr);

private:
    XPContainer* XPContainer1_;
    xptopbuttons* xptopbuttons1_;
    xptopbuttons* xptopbuttons2_;
    QLabel* Label1_;
};

} // namespace deskleaf
