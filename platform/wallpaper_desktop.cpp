#include "platform/wallpaper_desktop.h"

#include "files/pending_file.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QImageWriter>
#include <QJsonDocument>
#include <QUrl>

namespace deskleaf::detail {

namespace {

const QString kSnapshotPrefix = QStringLiteral("wallpaper-");

QString native(const QString& path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

DesktopWallpaper::DesktopWallpaper(QString name, const DesktopEnvironment& env,
                                   CommandRunner& runner)
    : env_(env), runner_(runner), name_(std::move(name))
{
}

void DesktopWallpaper::apply(const WallpaperPictures& pictures)
{
    WallpaperPictures snapshots;
    QStringList shown;
    toolRunsDone_ = 0;
    try {
        if (pictures.isEmpty())
            throw StepError(QStringLiteral("no picture was given"));
        for (const WallpaperPicture& picture : pictures) {
            WallpaperPicture snapshot = picture;
            snapshot.path = takeSnapshot(picture.path);
            snapshots.append(snapshot);
            shown << snapshot.path;
        }
        recordCurrent();
        if (snapshots.size() == 1 && snapshots[0].screen.isEmpty())
            show(snapshots[0]);
        else
            showPerScreen(snapshots);
    } catch (const StepError& e) {
        // Once a tool took the new copies, the desktop may show them: they stay until the
        // next apply that succeeds.
        if (toolRunsDone_ == 0)
            for (const QString& snapshot : shown)
                QFile::remove(snapshot);
        throw PlatformError(QStringLiteral("Could not set the wallpaper on %1: %2")
                                .arg(name_, e.what())
                                .toStdString());
    }
    // Every screen was given its picture just now, so these are all the desktop shows.
    removeSnapshotsExcept(shown);
}

void DesktopWallpaper::showPerScreen(const WallpaperPictures&)
{
    throw StepError(QStringLiteral("it takes one picture for all screens"));
}

void DesktopWallpaper::remove()
{
    try {
        const QString path = recordPath();
        QFile file(path);
        if (path.isEmpty() || !file.exists()) {
            clear();
            return;
        }
        if (!file.open(QIODevice::ReadOnly))
            throw StepError(QStringLiteral("the wallpaper shown before could not be read from "
                                           "%1: %2")
                                .arg(native(path), file.errorString()));
        const QJsonObject recorded = QJsonDocument::fromJson(file.readAll()).object();
        file.close();
        if (recorded.isEmpty())
            clear(); // a damaged record: nothing to put back
        else
            restore(recorded);
        // Put back once: the next apply records the wallpaper shown then.
        QFile::remove(path);
    } catch (const StepError& e) {
        throw PlatformError(QStringLiteral("Could not remove the wallpaper on %1: %2")
                                .arg(name_, e.what())
                                .toStdString());
    }
}

QString DesktopWallpaper::run(const QString& program, const QStringList& args)
{
    const CommandResult result = runner_.run(program, args, kToolTimeoutMs);
    if (!result.started)
        throw StepError(program + QStringLiteral(" is not installed or could not be started"));
    if (result.timedOut)
        throw StepError(QStringLiteral("%1 did not finish within %2 seconds")
                            .arg(program)
                            .arg(kToolTimeoutMs / 1000));
    if (result.exitCode != 0) {
        // Some tools (swaymsg) say why on their standard output.
        QString err = result.err.trimmed();
        if (err.isEmpty())
            err = result.out.trimmed();
        if (err.isEmpty() || result.signal != 0)
            throw StepError(program + u' ' + result.ending() +
                            (err.isEmpty() ? QString() : QStringLiteral(": ") + err));
        throw StepError(QStringLiteral("%1 failed: %2").arg(program, err));
    }
    ++toolRunsDone_;
    return result.out;
}

QString DesktopWallpaper::recordPath() const
{
    if (env_.stateFolder.isEmpty())
        return {};
    QString id = name_.toLower();
    for (QChar& c : id)
        if (!c.isLetterOrNumber())
            c = u'-';
    return QDir(env_.stateFolder)
        .absoluteFilePath(QStringLiteral("previous-wallpaper-%1.json").arg(id));
}

bool DesktopWallpaper::isSnapshot(const QString& path) const
{
    const QString cache = QDir(env_.cacheFolder).absolutePath();
    QString file = path;
    if (const QUrl url(path); url.isLocalFile())
        file = url.toLocalFile();
    return QFileInfo(file).absolutePath() == cache &&
           QFileInfo(file).fileName().startsWith(kSnapshotPrefix);
}

// What the desktop shows before this program's picture, unless that is already one of this
// program's snapshots: a record lost or a second apply keeps the first one.
void DesktopWallpaper::recordCurrent()
{
    const QString path = recordPath();
    if (path.isEmpty())
        return;
    const QJsonObject now = current();
    if (now.isEmpty())
        return;
    const QString cache = QDir(env_.cacheFolder).absolutePath();
    const QByteArray text = QJsonDocument(now).toJson();
    const QString uriCache = QString::fromLatin1(QUrl::fromLocalFile(cache).toEncoded());
    if (text.contains(cache.toUtf8()) || text.contains(uriCache.toUtf8()))
        return;
    if (!QDir().mkpath(env_.stateFolder))
        throw StepError(QStringLiteral("could not create the folder %1, where the wallpaper "
                                       "shown now is kept to be put back")
                            .arg(native(env_.stateFolder)));
    if (const QString failure = writeWholeFile(path, text); !failure.isEmpty())
        throw StepError(QStringLiteral("the wallpaper shown now could not be kept in %1 (%2)")
                            .arg(native(path), failure));
}

QString DesktopWallpaper::takeSnapshot(const QString& picture) const
{
    if (const QString why = makeFolders(env_.cacheFolder); !why.isEmpty())
        throw StepError(QStringLiteral("could not create the folder %1: %2")
                            .arg(native(env_.cacheFolder), why));
    const QDir folder(env_.cacheFolder);
    QString suffix = QFileInfo(picture).suffix();
    if (suffix.isEmpty())
        suffix = QStringLiteral("bmp");
    const bool convert = snapshotFormat() == SnapshotFormat::Png &&
                         suffix.compare(QStringLiteral("png"), Qt::CaseInsensitive) != 0;
    if (convert)
        suffix = QStringLiteral("png");
    const QString stem = kSnapshotPrefix + QDateTime::currentDateTime().toString(
                                               QStringLiteral("yyyyMMdd-HHmmss-zzz"));
    // Two applies within one millisecond still get two names.
    QString snapshot = folder.absoluteFilePath(stem + u'.' + suffix);
    for (int n = 2; QFileInfo::exists(snapshot); ++n)
        snapshot = folder.absoluteFilePath(QStringLiteral("%1-%2.%3").arg(stem).arg(n).arg(suffix));
    if (convert) {
        writePng(picture, snapshot);
        return snapshot;
    }
    QFile source(picture);
    if (!source.copy(snapshot))
        throw StepError(QStringLiteral("could not copy the picture to %1: %2")
                            .arg(native(env_.cacheFolder), source.errorString()));
    return snapshot;
}

void DesktopWallpaper::writePng(const QString& picture, const QString& snapshot)
{
    QImageReader reader(picture);
    const QImage image = reader.read();
    if (image.isNull())
        throw StepError(QStringLiteral("could not read the picture %1 to hand it over as PNG: %2")
                            .arg(native(picture), reader.errorString()));
    PendingFile file(snapshot);
    QImageWriter writer(&file, "png");
    if (!file.create() || !writer.write(image) || !file.commit())
        throw StepError(
            QStringLiteral("could not write the picture to %1: %2")
                .arg(native(snapshot), file.failed() ? file.errorString() : writer.errorString()));
}

void DesktopWallpaper::removeSnapshotsExcept(const QStringList& shown) const
{
    const QDir folder(env_.cacheFolder);
    const QStringList names = folder.entryList({kSnapshotPrefix + u'*'}, QDir::Files);
    for (const QString& name : names) {
        const QString path = folder.absoluteFilePath(name);
        if (!shown.contains(path))
            QFile::remove(path); // a leftover costs disk space only
    }
}

} // namespace deskleaf::detail
