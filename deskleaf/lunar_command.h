// `deskleaf lunar FROM [TO]`: one tab-separated line per Gregorian day.
#pragma once

#include "deskleaf/command_table.h"

namespace deskleaf::cli {

// Returns the exit status; needs no application.
int runLunar(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace deskleaf::cli
