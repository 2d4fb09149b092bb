// Where the program keeps its files.
#pragma once

#include <QString>

namespace deskleaf {

// Where the program keeps kel.ini and its bitmaps: beside the executable, which can be
// unpacked anywhere; an installed executable (in installBinFolder) cannot write there and
// uses dataHome/Deskleaf instead.
QString programFolder(const QString& executable, const QString& installBinFolder,
                      const QString& dataHome);

} // namespace deskleaf
