// The common part of every desktop's wallpaper setter: the snapshot copy handed to the
// desktop, the checked tool runs, and the message the user is shown when a step fails.
#pragma once

#include "platform/wallpaper.h"

#include <QJsonObject>

#include <stdexcept>

namespace deskleaf::detail {

// One step that failed, in words that follow "Could not set the wallpaper on GNOME: ".
class StepError : public std::runtime_error {
public:
    explicit StepError(const QString& what) : std::runtime_error(what.toStdString()) {}
};

class DesktopWallpaper : public WallpaperSetter {
public:
    // name is how the user knows the desktop: "GNOME", "KDE Plasma", "the desktop \"i3\"".
    DesktopWallpaper(QString name, const DesktopEnvironment& env, CommandRunner& runner);

    // Hands the desktop a fresh copy of the picture: desktops cache pictures by path, so
    // the same path with new contents would keep showing the old picture.
    using WallpaperSetter::apply;
    void apply(const WallpaperPictures& pictures) final;
    void remove() final;

protected:
    // All throw StepError. show puts one picture on every screen: stretched on each, or,
    // with spansScreens, spanned over the whole layout.
    virtual void show(const WallpaperPicture& snapshot) = 0;
    // Leaves the desktop a plain colour.
    virtual void clear() = 0;
    // One picture per named screen; a desktop that cannot do that says so.
    virtual void showPerScreen(const WallpaperPictures& snapshots);

    // The desktop's own wallpaper settings as they are now, in a form restore takes back;
    // empty when there is nothing to keep. Called before every apply; what it returns is
    // recorded unless it names one of this program's own snapshots.
    virtual QJsonObject current() { return {}; }
    // Puts back what current returned.
    virtual void restore(const QJsonObject& recorded)
    {
        Q_UNUSED(recorded);
        clear();
    }

    // The form of the snapshots the desktop is handed: the picture's own, or PNG for a tool
    // that reads PNG and JPEG only. The picture itself is left as it is.
    enum class SnapshotFormat { AsGiven, Png };
    virtual SnapshotFormat snapshotFormat() const { return SnapshotFormat::AsGiven; }

    // Runs program within the time limit; returns its standard output, throws StepError
    // when it is missing, refuses or does not finish.
    QString run(const QString& program, const QStringList& args);
    bool has(const QString& program) { return runner_.has(program); }

    const DesktopEnvironment env_;
    CommandRunner& runner_;

    // Whether path (a file path or a file URI) is one of this program's snapshots.
    bool isSnapshot(const QString& path) const;

private:
    QString takeSnapshot(const QString& picture) const;
    static void writePng(const QString& picture, const QString& snapshot);
    void removeSnapshotsExcept(const QStringList& shown) const;
    QString recordPath() const;
    void recordCurrent();

    const QString name_;
    int toolRunsDone_ = 0; // tools that succeeded during the current apply
};

inline constexpr int kToolTimeoutMs = 10'000;

} // namespace deskleaf::detail
