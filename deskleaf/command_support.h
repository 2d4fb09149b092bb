// What the verbs share: the usage error, the program folder they work on, and paths and texts
// as the terminal shows them.
#pragma once

#include "wiring/wiring.h"

#include <QCoreApplication>
#include <QDir>
#include <QString>

#include <optional>
#include <stdexcept>
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

// A file or folder named on the command line, as the system's bytes; a name that is not
// UTF-8 text cannot be kept (pathFromSystem) and is refused.
inline QString pathArgument(std::string_view bytes)
{
    const QByteArrayView raw(bytes.data(), qsizetype(bytes.size()));
    if (const std::optional<QString> path = pathFromSystem(raw))
        return *path;
    throw std::runtime_error(unnamablePath(raw).toStdString());
}

// This program's own file, from the running process once the application exists; never a
// guess from the working folder.
inline QString runningProgram()
{
    if (const QString unnamable = unnamableExecutable(); !unnamable.isEmpty())
        throw std::runtime_error("this program's own file: " + unnamable.toStdString());
    const QString path = QCoreApplication::applicationFilePath();
    if (path.isEmpty())
        throw std::runtime_error(
            QStringLiteral("could not find this program's own file (/proc/self/exe cannot be "
                           "read and \"%1\", the name it was started by, is no file)")
                .arg(QCoreApplication::arguments().value(0))
                .toStdString());
    return path;
}

// DIR of --folder DIR, else the program's own folder, found as the desktop program finds it.
inline QString programFolderPath(std::optional<std::string_view> folder)
{
    if (folder)
        return pathArgument(*folder);
    try {
        return defaultProgramFolder(runningProgram());
    } catch (const std::runtime_error& e) {
        throw std::runtime_error(std::string(e.what()) + "; --folder DIR names the folder");
    }
}

} // namespace deskleaf::cli
