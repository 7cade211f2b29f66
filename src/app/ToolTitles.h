// Titles of the two top-level dialogs. The single-instance guard finds a
// running copy of the program by these titles, so they are defined once.
#pragma once

namespace tide {

inline constexpr wchar_t kDialogClassName[] = L"#32770";
inline constexpr wchar_t kLauncherTitle[] = L"潮汐输入法 设置";
inline constexpr wchar_t kWordMakingTitle[] = L"在线造词";

} // namespace tide
