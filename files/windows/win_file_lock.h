// The Windows side of FileLock: LockFileEx on a lock file that is never deleted; the system
// drops the lock when the holding process ends. Plain Win32, no Qt, so that a cross compiler
// can check it anywhere. Errors come back as text.
#pragma once

#include <string>

namespace deskleaf::win {

enum class LockAttempt { Locked, Busy, Failed };

// Opens the lock file, creating it if needed; nullptr, with error set, when it cannot.
void* openLockFile(const std::wstring& path, std::wstring& error);
// One try at the exclusive lock, without waiting: Busy while another handle holds it.
LockAttempt tryLockFile(void* handle, std::wstring& error);
// Lets go of the lock, if held, and closes the handle.
void closeLockFile(void* handle);

} // namespace deskleaf::win
