#include "win/MakerSite.h"

#include <shellapi.h>

#include "win/Handles.h"
#include "win/InstallPaths.h"

namespace tide {
namespace {

// The configured address when it is an http(s) address, else the default.
std::wstring SiteAddress() {
    RegistryKey key;
    wchar_t value[256] = {};
    DWORD size = sizeof(value) - sizeof(wchar_t);
    DWORD type = 0;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, kInstallKeyPath, 0, KEY_QUERY_VALUE, key.put()) !=
            ERROR_SUCCESS ||
        ::RegQueryValueExW(key.get(), kMakerSiteValueName, nullptr, &type,
                           reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
        type != REG_SZ) {
        return kDefaultMakerSite;
    }
    std::wstring address(value);
    const bool web = address.rfind(L"http://", 0) == 0 || address.rfind(L"https://", 0) == 0;
    if (!web) {
        return kDefaultMakerSite;
    }
    while (!address.empty() && address.back() == L'/') {
        address.pop_back();
    }
    return address;
}

} // namespace

std::wstring MakerSiteUrl(const wchar_t* path) {
    return SiteAddress() + path;
}

void OpenMakerSitePage(HWND owner, const wchar_t* path) {
    ::ShellExecuteW(owner, L"open", MakerSiteUrl(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

} // namespace tide
