// What the commands share: the program folder they work on, and paths and texts as the
// terminal shows them.
#pragma once

#include "deskleaf/command_table.h"
#include "model/program_folder.h"
#include "wiring/program_place.h"

#include <QDir>
#include <QString>

#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace deskleaf::cli {

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

inline ProgramFolder programFolderOf(const Arguments& args)
{
    return ProgramFolder(programFolderPath(args.value("--folder")));
}

} // namespace deskleaf::cli
