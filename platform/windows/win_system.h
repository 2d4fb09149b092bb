// The Windows calls behind the logon start and the time since start-up. Plain Win32, no
// Qt, so that a cross compiler can check it anywhere. Errors come back as text, empty on
// success.
#pragma once

#include <string>

namespace deskleaf::win {

// HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Run
std::wstring setRunValue(const std::wstring& name, const std::wstring& executable);
std::wstring deleteRunValue(const std::wstring& name);
bool hasRunValue(const std::wstring& name);

} // namespace deskleaf::win
