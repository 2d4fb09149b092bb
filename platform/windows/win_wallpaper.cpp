#include "platform/windows/win_wallpaper.h"

#include <windows.h>

#include <cwchar>
#include <utility>

namespace deskleaf::windows {

namespace {

std::wstring systemMessage(DWORD code)
{
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text =
        length != 0 ? std::wstring(buffer, length) : L"error " + std::to_wstring(code);
    LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L'.'))
        text.pop_back();
    return text;
}

// WallpaperStyle 2 is stretched, as on the other desktops; the default crops a picture
// whose shape differs from the screen's.
std::wstring storeStretchedStyle()
{
    const wchar_t* const key = L"Control Panel\\Desktop";
    for (const auto& [name, value] :
         {std::pair{L"WallpaperStyle", L"2"}, std::pair{L"TileWallpaper", L"0"}}) {
        const LSTATUS status =
            RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value,
                            static_cast<DWORD>((wcslen(value) + 1) * sizeof(wchar_t)));
        if (status != ERROR_SUCCESS)
            return L"could not store the wallpaper style: " +
                   systemMessage(static_cast<DWORD>(status));
    }
    return {};
}

} // namespace

std::wstring setDesktopWallpaper(const std::wstring& path)
{
    if (!path.empty()) {
        if (std::wstring error = storeStretchedStyle(); !error.empty())
            return error;
    }
    std::wstring buffer = path; // the call takes a writable string
    if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, buffer.data(),
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE))
        return L"Windows refused it: " + systemMessage(GetLastError());
    return {};
}

} // namespace deskleaf::windows
