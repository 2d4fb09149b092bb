// kel.ini: a private-profile settings file, read and written one value per call with
// no cache. It is GBK as the program writes it; one that an editor saved as UTF-8 (with or
// without a byte order mark) or as UTF-16 (with its mark) is read and written in that
// encoding, so that it stays in one. Writes hold an advisory lock on kel.ini.lock, which
// the system drops when the holding process ends. A file that is not a regular file (a
// FIFO, a device) reads as missing and is never written; a symbolic link is written
// through to its target.
#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>
#include <stdexcept>
#include <utility>

namespace deskleaf {

class ProgramFolder;
class NestedFileLock;

// A write that could not be done; what() is a UTF-8 sentence for the user.
class ProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ProfileFile {
public:
    // initialContents, when given, is what a write starts from when there is no file yet.
    explicit ProfileFile(QString path, QByteArray (*initialContents)() = nullptr);
    ~ProfileFile();
    ProfileFile(const ProfileFile& other);
    ProfileFile& operator=(const ProfileFile&) = delete;
    const QString& path() const { return path_; }

    // The file's lock, held until dropped: a read, the check on it and the writes it decides
    // make one step that no other writer comes between. This object's own writes go on
    // under it; another ProfileFile of the same file waits, as another process does.
    // Throws ProfileError as write() does when the lock cannot be had.
    class Hold {
    public:
        ~Hold();
        Hold(const Hold&) = delete;
        Hold& operator=(const Hold&) = delete;

    private:
        friend class ProfileFile;
        explicit Hold(NestedFileLock& lock) : lock_(lock) {}
        NestedFileLock& lock_;
    };
    [[nodiscard]] Hold hold();

    // The stored value, or placeholder when the file, the section or the key is missing or
    // the value is not valid text in the file's encoding. Names match whatever their case;
    // the first of duplicate sections or keys counts. The value loses its outer blanks and
    // one pair of wrapping quotes.
    QString read(const QString& section, const QString& key, const QString& placeholder) const;
    // Creates the file, the section or the key as needed, in the file's own encoding (GBK
    // for a new, empty or plain ASCII file), leaving every other line byte for byte as it
    // was; line breaks in value are stored as blanks. Throws ProfileError, leaving the file
    // as it was, when a name would not read back as one line, a text has characters the
    // file's encoding lacks (or GBK bytes that would read back as UTF-8), another program
    // keeps the file locked for 5 seconds, or the lock file cannot be opened or the file
    // saved.
    void write(const QString& section, const QString& key, const QString& value);

    // Every key of section with its value, in file order, from one read of the file (names
    // as spelled, trimmed; a value that is not valid text in the file's encoding is none).
    // Empty when the file or the section is missing.
    QList<std::pair<QString, std::optional<QString>>> values(const QString& section) const;

private:
    friend bool ensureSettingsFile(ProgramFolder& folder);
    // Writes bytes as the whole file unless there is one already; returns whether it wrote.
    bool create(const QByteArray& bytes);

    QString path_;
    QByteArray (*initialContents_)() = nullptr;
    std::unique_ptr<NestedFileLock> lock_;
};

} // namespace deskleaf
