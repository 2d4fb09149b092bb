// `deskleaf apply`, `remove`, `colour`, `remind`, `reminders`, `week` and `autorun`: what the
// windows do, on the same jobs, for one program folder.
#pragma once

#include <iosfwd>
#include <span>
#include <string_view>

namespace deskleaf::cli {

bool isProgramCommand(std::string_view verb);
// Returns the exit status: 0 done, 1 refused or failed, 2 bad usage. Needs a QGuiApplication.
int runProgramCommand(std::string_view verb, std::span<const std::string_view> args,
                      std::ostream& out, std::ostream& err);

} // namespace deskleaf::cli
