// `deskleaf month` and `deskleaf render`: the month grid and the wallpaper, headless.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace deskleaf::cli {

// Both return the exit status: 0 done, 1 bad input, 2 bad usage. They need a
// QCoreApplication (month) or QGuiApplication (render).
int runMonth(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);
int runRender(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

} // namespace deskleaf::cli
