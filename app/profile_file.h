// kel.ini: a private-profile settings file, read and written one value per call with
// no cache. It is GBK as the program writes it; one that an editor saved as UTF-8 (with or
// without a byte order mark) or as UTF-16 (with its mark) is read and written in that
// encoding, so that it stays in one. Writes hold an advisory lock on kel.ini.lock, which
// the system drops when the holding process ends.
#pragma once

#include <QString>

#include <stdexcept>

namespace deskleaf {

class ProgramFolder;

// A write that could not be done; what() is a UTF-8 sentence for the user.
class ProfileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ProfileFile {
public:
    explicit ProfileFile(QString path);
    const QString& path() const { return path_; }

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

private:
    friend bool ensureSettingsFile(ProgramFolder& folder);
    // Writes bytes as the whole file unless there is one already; returns whether it wrote.
    bool create(const QByteArray& bytes);

    QString path_;
};

} // namespace deskleaf
