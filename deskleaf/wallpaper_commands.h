// `deskleaf month`, `render` and `refresh`: the month grid and the wallpaper, headless.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace deskleaf::cli {

// Both return the exit status: 0 done, 1 bad input, 2 bad usage. They need a
// QCoreApplication (month) or QGuiApplication (render, refresh).
int runMonth(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);
int runRender(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);
// The logon start's wallpaper job, whatever the time since start-up.
int runRefresh(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

} // namespace deskleaf::cli
