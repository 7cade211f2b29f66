// Identifiers of the program's resources (res/TideSetup.rc).
#pragma once

namespace tide {

inline constexpr int kIconApplication = 128;
inline constexpr int kIconHome = 257; // icons of the navigation buttons: 16, 20, 24 and 32 pixels
inline constexpr int kIconOk = 258;
inline constexpr int kIconAbout = 259;
inline constexpr int kIconSupport = 260;
inline constexpr int kIconImport = 261;
inline constexpr int kIconExport = 262;
inline constexpr int kIconAdd = 263;
inline constexpr int kIconHelp = 264;
inline constexpr int kIconClear = 265;
inline constexpr int kIconGeneral = 266;
inline constexpr int kIconInterface = 267;
inline constexpr int kIconKeys = 268;
inline constexpr int kIconSoftKeys = 269;
inline constexpr int kIconSkin = 270;
inline constexpr int kIconAdvanced = 271;
inline constexpr int kIconDefaults = 272;
inline constexpr int kIconBackup = 273;
inline constexpr int kIconRestore = 274;
inline constexpr int kIconApply = 275;
inline constexpr int kIconOpen = 276;
inline constexpr int kIconNext = 277;
inline constexpr int kIconRemove = 278;
inline constexpr int kIconExit = 279;
inline constexpr int kIconUpdate = 280;

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
inline constexpr int kPngKeyboard = 267; // 476 x 158, caps as in core/config/SoftKeyboardGeometry.h
// The launcher's images drawn twice as large, for screens above 96 DPI, at
// their own identifier plus this.
inline constexpr int kPngDoubleSizeOffset = 256;

} // namespace tide
