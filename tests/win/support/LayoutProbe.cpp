#include "support/LayoutProbe.h"

#include <commctrl.h>

#include <utility>
#include <vector>

namespace tide::test {

std::wstring LabelsCoveredByFields(HWND root, std::size_t& labels) {
    std::vector<std::pair<HWND, RECT>> texts;
    std::vector<std::pair<HWND, RECT>> fields;
    std::wstring overlaps;
    for (HWND child = ::GetWindow(root, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[32] = {};
        ::GetClassNameW(child, name, 32);
        RECT place;
        ::GetWindowRect(child, &place);
        if (_wcsicmp(name, L"#32770") == 0) {
            overlaps += LabelsCoveredByFields(child, labels);
        } else if (_wcsicmp(name, L"Static") == 0 && ::GetWindowTextLengthW(child) > 0) {
            texts.emplace_back(child, place);
        } else if (_wcsicmp(name, L"Edit") == 0 || _wcsicmp(name, UPDOWN_CLASSW) == 0) {
            fields.emplace_back(child, place);
        }
    }
    labels += texts.size();
    for (const auto& [text, textPlace] : texts) {
        for (const auto& [field, fieldPlace] : fields) {
            RECT common;
            if (::IntersectRect(&common, &textPlace, &fieldPlace)) {
                wchar_t caption[32] = {};
                ::GetWindowTextW(text, caption, 32);
                overlaps += L"[" + std::wstring(caption) + L" under " +
                            std::to_wstring(::GetDlgCtrlID(field)) + L" " +
                            std::to_wstring(textPlace.left) + L"-" +
                            std::to_wstring(textPlace.right) + L"/" +
                            std::to_wstring(fieldPlace.left) + L"-" +
                            std::to_wstring(fieldPlace.right) + L"]";
            }
        }
    }
    return overlaps;
}

} // namespace tide::test
