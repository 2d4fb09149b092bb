// Where the running program lives, decided in this one place for both programs: its own
// file, the folder it keeps its files in, and the other program beside it.
#pragma once

#include <QString>

namespace deskleaf {

// Where the program keeps kel.ini and its bitmaps: beside the executable, which can be
// unpacked anywhere; an installed executable (in installBinFolder) cannot write there and
// uses dataHome/Deskleaf instead.
QString programFolder(const QString& executable, const QString& installBinFolder,
                      const QString& dataHome);

// This program's own file, from the running process (/proc/self/exe) once the application
// exists; never a guess from the working folder. Throws std::runtime_error saying why it
// cannot be named, in lower case without a full stop.
QString runningProgram();

// programFolder for this build: the install prefix it was configured for, or the one it was
// installed under, and the user's data folder. Throws std::runtime_error, in lower case
// without a full stop, when the data folder's name cannot be kept (pathFromSystem).
QString defaultProgramFolder(const QString& executable);

// The program called name beside this one: beside the name this one was started by (on the
// PATH, or a link to it) when there is such a program, else beside its own file. Throws as
// runningProgram does.
QString programBesideThisOne(const QString& name);

} // namespace deskleaf
