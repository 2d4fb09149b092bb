#include "files/pending_file.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <system_error>
#include <utility>

#include <QSaveFile>

#ifndef Q_OS_WIN
#include <cctype>
#include <climits>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace deskleaf {
namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::generic_category().message(error));
}

} // namespace

PendingFile::PendingFile(QString path) : path_(std::move(path))
{
}

PendingFile::~PendingFile()
{
    discard();
}

bool PendingFile::fail(const QString& reason)
{
    if (!failed_)
        setErrorString(reason);
    failed_ = true;
    return false;
}

qint64 PendingFile::readData(char*, qint64)
{
    return -1;
}

#ifdef Q_OS_WIN

// On Windows, Qt's save file takes the same steps.
bool PendingFile::create()
{
    if (saved_ || failed_)
        return !failed_;
    saved_ = std::make_unique<QSaveFile>(path_);
    if (!saved_->open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return fail(saved_->errorString());
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

qint64 PendingFile::writeData(const char* data, qint64 size)
{
    if (!saved_ || failed_)
        return -1;
    qint64 done = 0;
    while (done < size) {
        const qint64 written = saved_->write(data + done, size - done);
        if (written <= 0) {
            fail(saved_->errorString());
            return -1;
        }
        done += written;
    }
    return done;
}

// QSaveFile writes through on commit only.
bool PendingFile::sync()
{
    return !failed_;
}

bool PendingFile::commit()
{
    if (failed_)
        return false;
    if (!saved_)
        return fail(QCoreApplication::translate("Files", "the file was never created"));
    QIODevice::close();
    if (!saved_->commit())
        return fail(saved_->errorString());
    saved_.reset();
    return true;
}

void PendingFile::discard()
{
    if (isOpen())
        QIODevice::close();
    saved_.reset(); // a save file dropped without commit() removes its new file
}

QString readWholeFile(const QString& path, QByteArray& bytes, bool* missing)
{
    bytes.clear();
    QFile file(path);
    if (missing)
        *missing = !file.exists();
    if (!file.open(QIODevice::ReadOnly))
        return file.errorString();
    bytes = file.readAll();
    return {};
}

#else

namespace {

// Where a write of path really goes: through symbolic links to the file they name, so that
// a link stays a link and its target gets the new text. Fails with the system's reason.
bool resolveLinks(QByteArray& path, int& error)
{
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info {};
        if (::lstat(path.constData(), &info) != 0 || !S_ISLNK(info.st_mode))
            return true; // a missing file is created
        // One byte more than the link says: a link that grew meanwhile is seen as cut.
        QByteArray target(qsizetype(info.st_size > 0 ? info.st_size + 1 : PATH_MAX),
                          Qt::Uninitialized);
        const ssize_t size =
            ::readlink(path.constData(), target.data(), std::size_t(target.size()));
        if (size < 0 || size >= target.size()) {
            error = size < 0 ? errno : ENAMETOOLONG;
            return false;
        }
        target.truncate(size);
        if (!target.startsWith('/')) {
            const qsizetype slash = path.lastIndexOf('/');
            target.prepend(slash < 0 ? QByteArray() : path.first(slash + 1));
        }
        path = target;
    }
    error = ELOOP;
    return false;
}

// The name part of a new file this class makes for name: ".name." and a random hex number.
bool isNewFileOf(const char* entry, const QByteArray& prefix)
{
    const qsizetype length = qsizetype(std::strlen(entry));
    if (length <= prefix.size() || length > prefix.size() + 8 ||
        std::strncmp(entry, prefix.constData(), std::size_t(prefix.size())) != 0)
        return false;
    for (const char* c = entry + prefix.size(); *c; ++c)
        if (!std::isxdigit(uchar(*c)) || std::isupper(uchar(*c)))
            return false;
    return true;
}

// New files of earlier writes of the same file that a kill left behind. A writer holds a
// lock on its new file from creating it to renaming it, so one that can be locked is dead.
void removeLeftovers(const QByteArray& folder, const QByteArray& prefix)
{
    DIR* dir = ::opendir(folder.constData());
    if (!dir)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (!isNewFileOf(entry->d_name, prefix))
            continue;
        const int fd =
            ::openat(::dirfd(dir), entry->d_name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
        if (fd < 0)
            continue;
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            (void)::unlinkat(::dirfd(dir), entry->d_name, 0);
        ::close(fd);
    }
    ::closedir(dir);
}

// Whether the file at path, when there is one, may be replaced: a plain file that we may
// write to. The system's reason, or an empty text.
QString refusalToReplace(const QByteArray& path)
{
    struct stat info {};
    if (::stat(path.constData(), &info) != 0)
        return errno == ENOENT ? QString() : systemReason(errno);
    if (!S_ISREG(info.st_mode))
        return QCoreApplication::translate("Files", "it is not a regular file");
    // A file made read-only is kept as it is, even where the user could replace it anyway
    // (the superuser, or the owner of the folder).
    if (::access(path.constData(), W_OK) != 0)
        return systemReason(errno);
    if ((info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
        return systemReason(EACCES) +
               QCoreApplication::translate("Files", " (the file is read-only)");
    return {};
}

} // namespace

bool PendingFile::create()
{
    if (descriptor_ >= 0 || failed_)
        return !failed_;
    QByteArray target = QFile::encodeName(path_);
    int error = 0;
    if (!resolveLinks(target, error))
        return fail(systemReason(error));
    if (const QString refusal = refusalToReplace(target); !refusal.isEmpty())
        return fail(refusal);
    const qsizetype slash = target.lastIndexOf('/');
    const QByteArray folder =
        slash < 0 ? QByteArray(".") : target.first(std::max<qsizetype>(slash, 1));
    const QByteArray prefix = '.' + target.sliced(slash + 1) + '.';
    removeLeftovers(folder, prefix);
    // Hidden and random, beside the final name: the rename stays on one file system.
    for (int attempt = 0; attempt < 16; ++attempt) {
        const QByteArray name =
            folder + '/' + prefix + QByteArray::number(QRandomGenerator::global()->generate(), 16);
        descriptor_ = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ < 0 && errno == EEXIST)
            continue;
        if (descriptor_ < 0)
            break;
        // Locked until renamed; another write's clean-up that removed it in between (it
        // then has no name left) or is about to makes us take another name.
        struct stat info {};
        const bool locked = ::flock(descriptor_, LOCK_EX | LOCK_NB) == 0 ||
                            (errno != EWOULDBLOCK && errno != EINTR);
        if (locked && ::fstat(descriptor_, &info) == 0 && info.st_nlink > 0) {
            temporary_ = name;
            target_ = target;
            break;
        }
        ::close(std::exchange(descriptor_, -1));
        errno = EEXIST;
    }
    if (descriptor_ < 0)
        return fail(systemReason(errno));
    // A file that is replaced keeps its permissions.
    struct stat old {};
    if (::stat(target.constData(), &old) == 0)
        (void)::fchmod(descriptor_, old.st_mode & 07777);
    QIODevice::open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return true;
}

qint64 PendingFile::writeData(const char* data, qint64 size)
{
    if (descriptor_ < 0 || failed_)
        return -1;
    qint64 done = 0;
    // The system may take part of a write (the disk filled up halfway): writing the rest
    // again gets the real error.
    while (done < size) {
        const ssize_t written = ::write(descriptor_, data + done, std::size_t(size - done));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0) {
            fail(systemReason(written < 0 ? errno : ENOSPC));
            return -1;
        }
        done += written;
    }
    return done;
}

bool PendingFile::sync()
{
    if (failed_)
        return false;
    if (descriptor_ < 0)
        return fail(QCoreApplication::translate("Files", "the file was never created"));
    if (::fdatasync(descriptor_) != 0)
        return fail(systemReason(errno));
    return true;
}

bool PendingFile::commit()
{
    if (failed_)
        return false;
    if (descriptor_ < 0)
        return fail(QCoreApplication::translate("Files", "the file was never created"));
    QIODevice::close();
    // On the disk before the rename, or a crash could leave an empty file in the old one's place.
    if (::fdatasync(descriptor_) != 0) {
        const int error = errno;
        discard();
        return fail(systemReason(error));
    }
    // Still open, so still locked, until renamed: see removeLeftovers.
    if (::rename(temporary_.constData(), target_.constData()) != 0) {
        const int error = errno;
        discard();
        return fail(systemReason(error));
    }
    temporary_.clear();
    // Written through and in place: a late error of close changes nothing of that.
    (void)::close(std::exchange(descriptor_, -1));
    return true;
}

void PendingFile::discard()
{
    if (descriptor_ >= 0)
        ::close(std::exchange(descriptor_, -1));
    if (isOpen())
        QIODevice::close();
    if (!temporary_.isEmpty())
        ::unlink(std::exchange(temporary_, QByteArray()).constData());
}

QString readWholeFile(const QString& path, QByteArray& bytes, bool* missing)
{
    bytes.clear();
    if (missing)
        *missing = false;
    // Without waiting: opening a FIFO for reading would wait for a writer.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (missing)
            *missing = errno == ENOENT;
        return systemReason(errno);
    }
    struct stat info {};
    QString failure;
    if (::fstat(fd, &info) != 0)
        failure = systemReason(errno);
    else if (!S_ISREG(info.st_mode))
        failure = QCoreApplication::translate("Files", "it is not a regular file");
    else {
        bytes.reserve(qsizetype(info.st_size));
        char buffer[1 << 16];
        for (;;) {
            const ssize_t got = ::read(fd, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                failure = systemReason(errno);
                bytes.clear();
            }
            if (got <= 0)
                break;
            bytes.append(buffer, got);
        }
    }
    ::close(fd);
    return failure;
}

#endif

QString writeWholeFile(const QString& path, QByteArrayView bytes)
{
    PendingFile file(path);
    if (file.create() && file.write(bytes.data(), bytes.size()) == bytes.size() && file.commit())
        return {};
    return file.errorString();
}

QString makeFolders(const QString& path)
{
#ifdef Q_OS_WIN
    return QDir().mkpath(path)
               ? QString()
               : QCoreApplication::translate("Files", "the folder could not be created");
#else
    const QByteArray absolute = QFile::encodeName(QDir::cleanPath(QDir(path).absolutePath()));
    QByteArray folder;
    for (const QByteArray& part : absolute.split('/')) {
        if (part.isEmpty())
            continue;
        folder += '/' + part;
        struct stat status {};
        if (::stat(folder.constData(), &status) == 0 && S_ISDIR(status.st_mode))
            continue;
        if (::mkdir(folder.constData(), 0777) != 0) {
            const int error = errno;
            // Made meanwhile by someone else: fine when it is a folder.
            if (error == EEXIST && ::stat(folder.constData(), &status) == 0 &&
                S_ISDIR(status.st_mode))
                continue;
            return systemReason(error == EEXIST ? ENOTDIR : error);
        }
    }
    return {};
#endif
}

} // namespace deskleaf
