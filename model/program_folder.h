// The folder the program keeps its files in: the settings file kel.ini, the background
// kel.bmp and the composed wallpaper zm.bmp of the primary monitor, the wallpapers of the
// other monitors and the picture they were made from. Each program builds one and hands it
// on.
#pragma once

#include "model/profile_file.h"

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace deskleaf {

class NestedFileLock;

// A path as the system names it (bytes), as text. Qt keeps file names as UTF-8 text, so a
// name whose bytes are not UTF-8 (a folder named in GBK, say) cannot be kept: nothing then,
// for the caller to refuse with unnamablePath's sentence, since any text would name
// another file.
std::optional<QString> pathFromSystem(QByteArrayView bytes);
QString unnamablePath(QByteArrayView bytes);

class ProgramFolder {
public:
    explicit ProgramFolder(const QString& path);
    ~ProgramFolder();
    ProgramFolder(const ProgramFolder&) = default; // a copy shares the hold of FolderJob
    ProgramFolder& operator=(const ProgramFolder&) = delete;

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
    friend class FolderJob;
    QString path_;
    QString background_;
    QString wallpaper_;
    ProfileFile profile_;
    std::shared_ptr<NestedFileLock> jobs_; // on jobs.lock
};

// The jobs on one folder's pictures and auto-run registration (an import, a render, the
// logon job, ticking auto-run) run one after another, each from its first read to its last
// write: a job holds this while it runs. It waits up to a minute for another program's job
// to end, and throws ProfileError when it cannot have its turn. A job may hold it again
// within its own steps.
class FolderJob {
public:
    explicit FolderJob(const ProgramFolder& folder);
    ~FolderJob();
    FolderJob(const FolderJob&) = delete;
    FolderJob& operator=(const FolderJob&) = delete;

private:
    std::shared_ptr<NestedFileLock> lock_;
};

} // namespace deskleaf
