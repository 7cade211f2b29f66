// The maker's web site: help pages and update files. Its address can be set
// per user (HKCU\Software\Tide, value "WebSite", e.g. "http://mirror.example")
// for a mirror or a local test server.
#pragma once

#include <windows.h>

#include <string>

namespace tide {

inline constexpr wchar_t kDefaultMakerSite[] = L"https://tide-ime.example.org";
inline constexpr wchar_t kMakerSiteValueName[] = L"WebSite";

// The site's address joined with `path` ("/guide/guide6.html").
std::wstring MakerSiteUrl(const wchar_t* path);

// Opens a page of the site with the shell's "open" verb.
void OpenMakerSitePage(HWND owner, const wchar_t* path);

} // namespace tide
