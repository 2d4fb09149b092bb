// Files replaced whole: the new contents are written beside the file's final name and put
// in its place in one rename, so a crash or a full disk leaves the old file, never a cut
// one. Failures carry the system's own reason ("No space left on device").
#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include <memory>

class QSaveFile;

namespace deskleaf {

// A write-only device for the new contents of path. Nothing replaces path until commit();
// dropped without it, the new file is removed and path stays as it was. After a failed step
// every later one fails too, and errorString() keeps the first reason.
//
// A symbolic link is written through: its target gets the new contents, the link stays. A
// path that is not a regular file, or that is read-only (no write permission for anyone,
// or none for us), is refused. Creating the new file removes the new files that earlier
// writes of the same path left when they were killed.
class PendingFile final : public QIODevice {
public:
    explicit PendingFile(QString path);
    ~PendingFile() override;
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    const QString& path() const { return path_; }

    // Creates the new file in path's folder; false with the reason in errorString().
    bool create();
    // Whether a step has failed; errorString() says why.
    bool failed() const { return failed_; }
    // Writes the new file through to the disk now, so that commit() has only to rename it
    // (several files may so be written through at once); false with the reason.
    bool sync();
    // Writes the new file through to the disk and renames it over path.
    bool commit();

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    bool fail(const QString& reason);
    void discard();

    QString path_;
    QByteArray temporary_; // the new file, named as the system has it
    QByteArray target_;    // the file renamed over: path, its links followed
    bool failed_ = false;
    int descriptor_ = -1;              // the new file, on POSIX systems
    std::unique_ptr<QSaveFile> saved_; // the new file, on Windows
};

// Replaces path with bytes whole; returns the reason when it could not, else an empty text.
QString writeWholeFile(const QString& path, QByteArrayView bytes);

// Makes the folder path and every missing folder above it; returns the system's reason when
// it could not ("Read-only file system"), else an empty text.
QString makeFolders(const QString& path);

// Reads the regular file at path whole into bytes, never waiting on a special file (a FIFO
// or a device is refused). Returns the reason when it could not, else an empty text; a
// missing file is ENOENT's reason, which missing tells apart.
QString readWholeFile(const QString& path, QByteArray& bytes, bool* missing = nullptr);

} // namespace deskleaf
