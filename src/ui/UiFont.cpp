#include "ui/UiFont.h"

#include <windows.h>

#include <cwchar>
#include <string>

#include "core/ui/DialogTemplate.h"
#include "win/Handles.h"
#include "win/WideText.h"

namespace tide {
namespace {

int CALLBACK MatchFaceName(const LOGFONTW* font, const TEXTMETRICW*, DWORD,
                           LPARAM context) noexcept {
    const auto* wanted = reinterpret_cast<const wchar_t*>(context);
    if (std::wcscmp(font->lfFaceName, wanted) == 0) {
        return 0; // found: stop enumerating
    }
    return 1;
}

} // namespace

bool IsFaceInstalled(const wchar_t* face) {
    WindowDc dc(::GetDesktopWindow());
    if (!dc) {
        return false;
    }
    LOGFONTW query = {};
    query.lfCharSet = DEFAULT_CHARSET;
    CopyToBuffer(face, query.lfFaceName, LF_FACESIZE);
    // The callback's 0 ends the enumeration, which then returns 0.
    return ::EnumFontFamiliesExW(dc.get(), &query, MatchFaceName, reinterpret_cast<LPARAM>(face),
                                 0) == 0;
}

std::u16string_view DialogFaceName() {
    // Fonts do not come and go while the program runs: ask once.
    static const bool preferredInstalled = IsFaceInstalled(ToWide(kPreferredUiFace).c_str());
    return preferredInstalled ? kPreferredUiFace : kFallbackUiFace;
}

bool UsingFallbackFace() {
    return DialogFaceName() == kFallbackUiFace;
}

} // namespace tide
