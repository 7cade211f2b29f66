// Identifiers of the program's resources (res/TideSetup.rc).
#pragma once

namespace tide {

inline constexpr int kIconApplication = 128;
inline constexpr int kIconHome = 257; // 16 x 16 icons of the navigation buttons
inline constexpr int kIconOk = 258;
inline constexpr int kIconAbout = 259;
inline constexpr int kIconSupport = 260;

// PNG images are resources of type 256.
inline constexpr int kPngResourceType = 256;
inline constexpr int kPngSupport = 257;
inline constexpr int kPngCloseNormal = 258;
inline constexpr int kPngCloseHover = 259;
inline constexpr int kPngOptionConfig = 260;
inline constexpr int kPngOptionSystemDict = 261;
inline constexpr int kPngOptionUserDict = 262;
inline constexpr int kPngOptionCustomEntry = 263;
inline constexpr int kPngOptionSkin = 264;
inline constexpr int kPngOptionUpdate = 265;
inline constexpr int kPngOptionAbout = 266;

} // namespace tide
