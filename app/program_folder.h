// The folder the program keeps its files in: the settings file kel.ini, the background
// kel.bmp and the composed wallpaper zm.bmp. Each program builds one and hands it on.
#pragma once

#include "profile_file.h"

#include <QString>

namespace deskleaf {

class ProgramFolder {
public:
    explicit ProgramFolder(const QString& path);

    const QString& path() const { return path_; }
    QString settingsPath() const { return profile_.path(); }
    const QString& backgroundPath() const { return background_; } // kel.bmp
    const QString& wallpaperPath() const { return wallpaper_; }   // zm.bmp

    ProfileFile& profile() { return profile_; }
    const ProfileFile& profile() const { return profile_; }

private:
    QString path_;
    QString background_;
    QString wallpaper_;
    ProfileFile profile_;
};

} // namespace deskleaf
