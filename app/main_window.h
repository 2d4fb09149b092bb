// The main window: open a picture, set or remove the wallpaper, the auto-run box, and a
// preview of the composed wallpaper. Its month grid, which only the renderer reads, is
// brought to today whenever the window becomes active.
#pragma once

#include "logon_start.h"
#include "month_grid.h"
#include "pic_buffer.h"
#include "profile_file.h"
#include "wallpaper.h"

#include <QDate>
#include <QSize>
#include <QWidget>

#include <functional>

class QCheckBox;
class QLabel;
class QPushButton;

namespace deskleaf {

// What the window asks of the user and of the system; tests replace them.
struct MainWindowServices {
    ProfileFile& profile;
    QString folder;
    WallpaperSetter& wallpaper;
    LogonStart& logon;
    QString executable;
    std::function<QDate()> today;
    std::function<QSize()> screenSize;              // in device pixels
    std::function<QString(QWidget*)> choosePicture; // empty when cancelled
    std::function<void(QWidget*, const QString&)> tell;
};

class MainWindow : public QWidget {
    Q_OBJECT
public:
    MainWindow(MainWindowServices services, bool autoRunTicked, QWidget* parent = nullptr);

    void ImportBackgroundPicture();
    void ApplyWallpaper();
    void RemoveWallpaper();
    const MonthGrid& grid() const { return grid_; }

    // The real prompts: a file dialog for any file, a message box titled 提示.
    static QString askForPicture(QWidget* parent);
    static void showMessage(QWidget* parent, const QString& text);

protected:
    bool event(QEvent* event) override;

private:
    void refreshGrid();
    void showPreview();
    void autoRunClicked(bool on);

    MainWindowServices services_;
    MonthGrid grid_{MonthGrid::Kind::Main};
    picBuffer picBuffer_;
    QPushButton* xpcmdbutton1_;
    QPushButton* xpcmdbutton3_;
    QPushButton* xpcmdbutton4_;
    QCheckBox* Check1_;
    QLabel* Label7_;
    QLabel* Image1_;
};

} // namespace deskleaf
