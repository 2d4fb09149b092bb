// The folder the program keeps its files in: the settings file kel.ini, the background
// kel.bmp and the composed wallpaper zm.bmp of the primary monitor, the wallpapers of the
// other monitors and the picture they were made from. Each program builds one and hands it
// on.
#pragma once

#include "profile_file.h"

#include <QString>
#include <QStringList>

namespace deskleaf {

class ProgramFolder {
public:
    explicit ProgramFolder(const QString& path);

    const QString& path() const { return path_; }
    QString settingsPath() const { return profile_.path(); }
    const QString& backgroundPath() const { return background_; } // kel.bmp
    const QString& wallpaperPath() const { return wallpaper_; }   // zm.bmp
    // The picture the user chose, kept as it was ("original.jpg"), so that the wallpaper can
    // be composed again for other monitors; empty when none is kept.
    QString keptPicturePath() const;
    // Where a kept picture of that file's kind goes: "original" with the file's suffix.
    QString keptPicturePathFor(const QString& picture) const;
    // The wallpaper of a monitor other than the primary one, which has zm.bmp: "zm-HDMI-1.bmp".
    QString screenWallpaperPath(const QString& screen) const;
    // One wallpaper spanning every monitor, for desktops that take one: "zm-all.bmp".
    QString spannedWallpaperPath() const;
    // Every zm-*.bmp there is now.
    QStringList screenWallpaperPaths() const;

    ProfileFile& profile() { return profile_; }
    const ProfileFile& profile() const { return profile_; }

private:
    QString path_;
    QString background_;
    QString wallpaper_;
    ProfileFile profile_;
};

} // namespace deskleaf
