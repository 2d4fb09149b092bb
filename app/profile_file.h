// kel.ini: a private-profile settings file, read and written one value per call with
// no cache, GBK on disk.
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
    // the value's bytes are not GBK. Names match whatever their case; the first of duplicate
    // sections or keys counts. The value loses its outer blanks and one pair of wrapping quotes.
    QString read(const QString& section, const QString& key, const QString& placeholder) const;
    // Creates the file, the section or the key as needed, leaving every other line as it was;
    // line breaks in value are stored as blanks. Throws ProfileError, leaving the file as it
    // was, when a name would not read back as one line, the value has characters GBK lacks,
    // or the file cannot be locked or saved.
    void write(const QString& section, const QString& key, const QString& value);

private:
    friend bool ensureSettingsFile(ProgramFolder& folder);
    // Writes bytes as the whole file unless there is one already; returns whether it wrote.
    bool create(const QByteArray& bytes);

    QString path_;
};

} // namespace deskleaf
