// Keeps a file's current contents aside while it is replaced, so that a change to several
// files can be taken back whole when a later step fails.
#pragma once

#include <QString>

namespace deskleaf {

class FileBackup {
public:
    explicit FileBackup(QString path);
    ~FileBackup(); // drops what was kept
    FileBackup(const FileBackup&) = delete;
    FileBackup& operator=(const FileBackup&) = delete;

    // Keeps path as it is now (a second name for the same file where the file system allows,
    // else a copy); a missing file is remembered as missing. Returns the reason when it
    // could not, else an empty text.
    QString keep();
    // Puts the kept file back over path in one rename, or removes path when there was none.
    // Returns the reason when it could not, else an empty text.
    QString restore();

private:
    QString path_;
    QString kept_; // empty when path did not exist
};

} // namespace deskleaf
