// What the verbs share: the usage error, the program folder they work on, and paths and texts
// as the terminal shows them.
#pragma once

#include "startup_clock.h"
#include "wiring.h"

#include <QDir>
#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace deskleaf::cli {

// Bad usage: exit status 2 with the verb's synopsis.
struct UsageError {
    std::string message;
};

inline QString toQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

inline std::string native(const QString& path)
{
    return QDir::toNativeSeparators(path).toStdString();
}

// DIR of --folder DIR, else the program's own folder, found as the desktop program finds it.
inline QString programFolderPath(std::optional<std::string_view> folder)
{
    return folder ? toQString(*folder) : defaultProgramFolder(executablePath("deskleaf"));
}

} // namespace deskleaf::cli
