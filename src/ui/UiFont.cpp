#include "ui/UiFont.h"

#include <windows.h>

#include <cwchar>
#include <string>
#include <utility>
#include <vector>

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

bool EnumeratesFace(const wchar_t* face) {
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

} // namespace

bool IsFaceInstalled(const wchar_t* face) {
    // Fonts do not come and go while the program runs, and every button
    // paint asks: each face is enumerated once.
    static std::vector<std::pair<std::wstring, bool>> known;
    for (const auto& [name, installed] : known) {
        if (name == face) {
            return installed;
        }
    }
    const bool installed = EnumeratesFace(face);
    known.emplace_back(face, installed);
    return installed;
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
