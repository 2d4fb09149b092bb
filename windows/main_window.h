// The main window Form1: open a picture, set or remove the wallpaper, settings and help, the
// auto-run box, the resolution line and a preview of the composed wallpaper, on the skinned
// title panel. Its month grid, which only the wallpaper reads, is brought to today whenever
// the window becomes active and whenever the pointer enters the panel.
#pragma once

#include "model/jobs.h"
#include "model/month_grid.h"
#include "model/program_folder.h"

#include <QSize>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;

namespace deskleaf {

class CustomPanel;
class xpcmdbutton;
class xptopbuttons;

// What the window asks of the user and of the system; tests replace them.
struct MainWindowServices {
    ProgramFolder& folder;
    Desktop desktop;
    Clock today;
    // The window's screen in device pixels, for when the desktop's monitors are unknown.
    std::function<QSize(QWidget*)> screenSize;
    std::function<QString(QWidget*)> choosePicture; // empty when cancelled
    std::function<void(QWidget*, const QString&)> tell;
    std::function<void(QWidget*)> openSettings; // empty while there is no settings window
};

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(MainWindowServices services, bool autoRunTicked, QWidget* parent = nullptr);

    void ImportBackgroundPicture();
    void ApplyWallpaper();
    void RemoveWallpaper();
    const MonthGrid& grid() const { return grid_; }

    // The real prompts: Qt's file dialog in the Pictures folder, a message box titled 提示.
    static QString askForPicture(QWidget* parent);
    static void showMessage(QWidget* parent, const QString& text);

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    xpcmdbutton* commandButton(const char* name, const QString& caption, QPoint twips);
    // Fills the hidden grid for today, the one look at the clock of a command: what follows
    // goes by grid_.today().
    void refreshGrid();
    // Says over the preview which year's days off are missing for today's calendar.
    void tellMissingHolidays();
    void showPreview();
    // What the wallpaper is composed for now: the desktop's monitors, or the window's screen.
    ComposeTarget target();
    // Composes today's wallpaper again when the one shown was made on another day.
    void renewForToday();
    void openSettings();
    void showHelp();
    void autoRunClicked(bool on);
    // Runs a command, telling the user what failed.
    void attempt(const std::function<void()>& command);

    MainWindowServices services_;
    MonthGrid grid_{MonthGrid::Kind::Main};
    CustomPanel* CustomPanel1_;
    xpcmdbutton* xpcmdbutton1_;
    xpcmdbutton* xpcmdbutton2_;
    xpcmdbutton* xpcmdbutton3_;
    xpcmdbutton* xpcmdbutton4_;
    xpcmdbutton* xpcmdbutton5_;
    xpcmdbutton* xpcmdbutton7_;
    QLabel* Label55_;
    QCheckBox* Check1_;
    QLabel* Label7_;
    QLabel* holidayNotice_; // over the preview's foot: the year of days off that is missing
    xptopbuttons* xptopbuttons1_;
    xptopbuttons* xptopbuttons2_;
    QLabel* Image1_;
    bool painted_ = false;
    QDate shownDay_;  // the day the preview's calendar was composed for
    QDate noticeDay_; // the day the missing days off were last looked at
};

} // namespace deskleaf
