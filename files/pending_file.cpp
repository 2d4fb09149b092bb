#include "pending_file.h"

#include <QDir>
#include <QFileInfo>
#include <QRandomGenerator>

#include <cerrno>
#include <system_error>
#include <utility>

#include <QSaveFile>

#ifndef Q_OS_WIN
#include <fcntl.h>
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

bool PendingFile::commit()
{
    if (failed_)
        return false;
    if (!saved_)
        return fail(QStringLiteral("the file was never created"));
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

#else

bool PendingFile::create()
{
    if (descriptor_ >= 0 || failed_)
        return !failed_;
    const QFileInfo info(path_);
    // Hidden and random, beside the final name: the rename stays on one file system.
    for (int attempt = 0; attempt < 16; ++attempt) {
        temporary_ = info.dir().filePath(
            QStringLiteral(".%1.%2")
                .arg(info.fileName())
                .arg(QString::number(QRandomGenerator::global()->generate(), 16)));
        descriptor_ = ::open(QFile::encodeName(temporary_).constData(),
                             O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor_ >= 0 || errno != EEXIST)
            break;
    }
    if (descriptor_ < 0) {
        const int error = errno;
        temporary_.clear();
        return fail(systemReason(error));
    }
    // A file that is replaced keeps its permissions.
    struct stat old {};
    if (::stat(QFile::encodeName(path_).constData(), &old) == 0)
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

bool PendingFile::commit()
{
    if (failed_)
        return false;
    if (descriptor_ < 0)
        return fail(QStringLiteral("the file was never created"));
    QIODevice::close();
    const int descriptor = std::exchange(descriptor_, -1);
    // On the disk before the rename, or a crash could leave an empty file in the old one's place.
    if (::fdatasync(descriptor) != 0) {
        const int error = errno;
        ::close(descriptor);
        discard();
        return fail(systemReason(error));
    }
    if (::close(descriptor) != 0) {
        const int error = errno;
        discard();
        return fail(systemReason(error));
    }
    if (::rename(QFile::encodeName(temporary_).constData(), QFile::encodeName(path_).constData()) !=
        0) {
        const int error = errno;
        discard();
        return fail(systemReason(error));
    }
    temporary_.clear();
    return true;
}

void PendingFile::discard()
{
    if (descriptor_ >= 0)
        ::close(std::exchange(descriptor_, -1));
    if (isOpen())
        QIODevice::close();
    if (!temporary_.isEmpty())
        ::unlink(QFile::encodeName(std::exchange(temporary_, QString())).constData());
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
    return QDir().mkpath(path) ? QString() : QStringLiteral("the folder could not be created");
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
