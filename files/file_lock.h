// An exclusive advisory lock on a lock file that stays in place (flock on POSIX, LockFileEx on
// Windows). The system drops the lock when its holder's process ends, however it ends, so a
// lock left by a program that crashed or was killed never blocks anyone.
#pragma once

#include <QString>

#include <chrono>
#include <cstdint>

namespace deskleaf {

class FileLock {
public:
    enum class Result { Locked, TimedOut, Failed };

    explicit FileLock(QString path);
    ~FileLock(); // unlocks
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    const QString& path() const { return path_; }
    // Creates the lock file when missing (one that cannot be created but exists and can be
    // read does as well) and takes the lock, waiting up to timeout while another holder has
    // it. Failed, when the lock file cannot be opened or locked, comes at once;
    // errorString() then names the lock file and the system's reason.
    Result lock(std::chrono::milliseconds timeout);
    // The file is never deleted: a holder that still had the old one open would keep its
    // lock on a file nobody else sees, while a newcomer locked a new one.
    void unlock();
    const QString& errorString() const { return error_; }

private:
    enum class Attempt { Locked, Busy, Failed };
    bool open();
    Attempt tryLock();

    QString path_;
    QString error_;
#ifdef _WIN32
    void* handle_ = nullptr;
#else
    int fd_ = -1;
#endif
};

// A FileLock that its one owner may take again while it holds it (a step of a job that
// holds it already): only the outermost take locks, only the last release unlocks.
class NestedFileLock {
public:
    explicit NestedFileLock(QString path) : lock_(std::move(path)) {}
    FileLock::Result lock(std::chrono::milliseconds timeout);
    void unlock();
    const FileLock& file() const { return lock_; }

private:
    FileLock lock_;
    int depth_ = 0;
};

} // namespace deskleaf
