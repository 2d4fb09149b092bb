#include "files/file_lock.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>

#include <algorithm>
#include <thread>

#ifdef _WIN32
#include "files/windows/win_file_lock.h"
#else
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

namespace deskleaf {

namespace {

// A waiting writer looks again after 1, 2, 4, ... ms, then every this many ms.
constexpr std::chrono::milliseconds MaxPause{50};

QString describe(const char* step, const QString& path, const QString& reason)
{
    return QStringLiteral("could not %1 the lock file %2: %3")
        .arg(QLatin1StringView(step), QDir::toNativeSeparators(path), reason);
}

} // namespace

FileLock::FileLock(QString path) : path_(std::move(path))
{
}

FileLock::~FileLock()
{
    unlock();
}

FileLock::Result FileLock::lock(std::chrono::milliseconds timeout)
{
    error_.clear();
    if (!open())
        return Result::Failed;
    const QDeadlineTimer deadline(timeout);
    std::chrono::milliseconds pause{1};
    for (;;) {
        switch (tryLock()) {
        case Attempt::Locked:
            return Result::Locked;
        case Attempt::Failed:
            unlock();
            return Result::Failed;
        case Attempt::Busy:
            break;
        }
        const auto left = std::chrono::milliseconds(deadline.remainingTime());
        if (deadline.hasExpired() || left.count() <= 0) {
            unlock();
            return Result::TimedOut;
        }
        std::this_thread::sleep_for(std::min(pause, left));
        pause = std::min(pause * 2, MaxPause);
    }
}

#ifdef _WIN32

bool FileLock::open()
{
    if (handle_)
        return true;
    std::wstring error;
    handle_ = win::openLockFile(QDir::toNativeSeparators(path_).toStdWString(), error);
    if (!handle_)
        error_ = describe("open", path_, QString::fromStdWString(error));
    return handle_ != nullptr;
}

FileLock::Attempt FileLock::tryLock()
{
    std::wstring error;
    switch (win::tryLockFile(handle_, error)) {
    case win::LockAttempt::Locked:
        return Attempt::Locked;
    case win::LockAttempt::Busy:
        return Attempt::Busy;
    case win::LockAttempt::Failed:
        break;
    }
    error_ = describe("lock", path_, QString::fromStdWString(error));
    return Attempt::Failed;
}

void FileLock::unlock()
{
    if (handle_)
        win::closeLockFile(handle_);
    handle_ = nullptr;
}

#else

bool FileLock::open()
{
    if (fd_ >= 0)
        return true;
    const QByteArray name = QFile::encodeName(path_);
    // Close-on-exec: a program started while the lock is held must not go on holding it.
    fd_ = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0 && (errno == EACCES || errno == EPERM || errno == EROFS)) {
        // Another user's lock file, or a folder we may not write to: flock needs only a
        // descriptor, and reading gives one.
        const int refused = errno;
        fd_ = ::open(name.constData(), O_RDONLY | O_CLOEXEC);
        if (fd_ < 0 && errno == ENOENT)
            errno = refused; // there is none, because it could not be created
    }
    if (fd_ < 0)
        error_ = describe("open", path_, QString::fromLocal8Bit(std::strerror(errno)));
    return fd_ >= 0;
}

FileLock::Attempt FileLock::tryLock()
{
    int result;
    do
        result = ::flock(fd_, LOCK_EX | LOCK_NB);
    while (result < 0 && errno == EINTR);
    if (result == 0)
        return Attempt::Locked;
    if (errno == EWOULDBLOCK)
        return Attempt::Busy;
    error_ = describe("lock", path_, QString::fromLocal8Bit(std::strerror(errno)));
    return Attempt::Failed;
}

void FileLock::unlock()
{
    if (fd_ < 0)
        return;
    ::flock(fd_, LOCK_UN);
    ::close(fd_);
    fd_ = -1;
}

#endif

FileLock::Result NestedFileLock::lock(std::chrono::milliseconds timeout)
{
    if (depth_ > 0) {
        ++depth_;
        return FileLock::Result::Locked;
    }
    const FileLock::Result result = lock_.lock(timeout);
    if (result == FileLock::Result::Locked)
        depth_ = 1;
    return result;
}

void NestedFileLock::unlock()
{
    if (depth_ > 0 && --depth_ == 0)
        lock_.unlock();
}

} // namespace deskleaf
