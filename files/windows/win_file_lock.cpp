#include "files/windows/win_file_lock.h"

#include <windows.h>

namespace deskleaf::win {
namespace {

// All the sharing there is: other copies of the program open the same file to lock it.
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

std::wstring errorText(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length ? std::wstring(buffer, length) : L"error " + std::to_wstring(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.'))
        text.pop_back();
    return text;
}

// The lock covers the first byte; a range past the end of the (empty) file is allowed.
bool lockRange(HANDLE handle, DWORD flags)
{
    OVERLAPPED at{};
    return LockFileEx(handle, flags, 0, 1, 0, &at) != 0;
}

} // namespace

void* openLockFile(const std::wstring& path, std::wstring& error)
{
    HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, kShareAll, nullptr,
                                OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE && GetLastError() == ERROR_ACCESS_DENIED) {
        // Another user's lock file: reading is enough to lock it.
        const DWORD refused = GetLastError();
        handle = CreateFileW(path.c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            const DWORD code = GetLastError();
            error = errorText(code == ERROR_FILE_NOT_FOUND ? refused : code);
            return nullptr;
        }
    }
    if (handle == INVALID_HANDLE_VALUE) {
        error = errorText(GetLastError());
        return nullptr;
    }
    return handle;
}

LockAttempt tryLockFile(void* handle, std::wstring& error)
{
    if (lockRange(handle, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY))
        return LockAttempt::Locked;
    const DWORD code = GetLastError();
    if (code == ERROR_LOCK_VIOLATION)
        return LockAttempt::Busy;
    error = errorText(code);
    return LockAttempt::Failed;
}

void closeLockFile(void* handle)
{
    OVERLAPPED at{};
    UnlockFileEx(handle, 0, 1, 0, &at); // fails harmlessly when the lock was never taken
    CloseHandle(handle);
}

} // namespace deskleaf::win
