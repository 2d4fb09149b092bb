// `deskleaf apply`, `remove`, `colour`, `remind`, `reminders`, `week`, `autorun` and
// `holidays`: what the windows do, on the same jobs, for one program folder.
#pragma once

#include "deskleaf/command_table.h"

namespace deskleaf::cli {

// Each returns the exit status and needs a QGuiApplication.
int runApply(const Arguments& args, std::ostream& out, std::ostream& err);
int runRemove(const Arguments& args, std::ostream& out, std::ostream& err);
int runColour(const Arguments& args, std::ostream& out, std::ostream& err);
int runRemind(const Arguments& args, std::ostream& out, std::ostream& err);
int runReminders(const Arguments& args, std::ostream& out, std::ostream& err);
int runWeek(const Arguments& args, std::ostream& out, std::ostream& err);
int runAutorun(const Arguments& args, std::ostream& out, std::ostream& err);
int runHolidays(const Arguments& args, std::ostream& out, std::ostream& err);

} // namespace deskleaf::cli
