// `deskleaf month`, `render` and `refresh`: the month grid and the wallpaper, headless.
#pragma once

#include "deskleaf/command_table.h"

namespace deskleaf::cli {

// Each returns the exit status. They need a QCoreApplication (month) or a QGuiApplication
// (render, refresh).
int runMonth(const Arguments& args, std::ostream& out, std::ostream& err);
int runRender(const Arguments& args, std::ostream& out, std::ostream& err);
// The logon start's wallpaper job, at any time.
int runRefresh(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace deskleaf::cli
