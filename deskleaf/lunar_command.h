// `deskleaf lunar FROM [TO]`: one tab-separated line per Gregorian day.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace deskleaf::cli {

// Runs the verb on its arguments (after "lunar"); returns the exit status.
int runLunar(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

} // namespace deskleaf::cli
