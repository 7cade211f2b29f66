#include "support/MessageBoxWatcher.h"

#include "core/config/InfoMessageText.h"
#include "support/WinTestSupport.h"
#include "win/WideText.h"

namespace tide::test {
namespace {

constexpr int kMessageTextId = 0xFFFF; // the static control that holds the text
// The static control that holds the icon: 0x14 on Windows, stc1 under Wine.
constexpr int kMessageIconIds[] = {0x14, 0x440};

HICON MessageBoxIcon(HWND box) {
    for (int id : kMessageIconIds) {
        if (HWND control = ::GetDlgItem(box, id)) {
            return reinterpret_cast<HICON>(::SendMessageW(control, STM_GETICON, 0, 0));
        }
    }
    return nullptr;
}

HWND FindOwnMessageBox() {
    return FindProcessWindow(::GetCurrentProcessId(), L"#32770", [](HWND window) {
        return ::IsWindowVisible(window) && ::GetDlgItem(window, kMessageTextId) != nullptr;
    });
}

std::wstring WindowText(HWND window) {
    const int length = ::GetWindowTextLengthW(window);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    ::GetWindowTextW(window, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

} // namespace

MessageBoxWatcher::MessageBoxWatcher(int answer) : answer_(answer), thread_([this] { Watch(); }) {}

MessageBoxWatcher::~MessageBoxWatcher() {
    stop_ = true;
    thread_.join();
}

std::vector<SeenMessageBox> MessageBoxWatcher::Seen() const {
    std::lock_guard lock(mutex_);
    return seen_;
}

void MessageBoxWatcher::Watch() {
    const HICON information = ::LoadIconW(nullptr, IDI_INFORMATION);
    while (!stop_) {
        if (HWND box = FindOwnMessageBox()) {
            // The box can be found while it is still being set up: give its
            // text and icon a moment to arrive.
            for (int i = 0;
                 i < 50 && (!MessageBoxIcon(box) ||
                            ::GetWindowTextLengthW(::GetDlgItem(box, kMessageTextId)) == 0);
                 ++i) {
                ::Sleep(10);
            }
            SeenMessageBox seen;
            seen.caption = WindowText(box);
            seen.text = WindowText(::GetDlgItem(box, kMessageTextId));
            const HICON icon = MessageBoxIcon(box);
            seen.informationIcon = icon != nullptr && icon == information;
            seen.owner = ::GetWindow(box, GW_OWNER);
            {
                std::lock_guard lock(mutex_);
                seen_.push_back(std::move(seen));
            }
            ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(answer_.load()), 0);
            while (::IsWindow(box) && !stop_) {
                ::Sleep(10);
            }
        }
        ::Sleep(10);
    }
}

std::wstring ShownInfoText(std::wstring_view message) {
    return ToWide(BreakInfoMessageLines(AsU16(message)));
}

} // namespace tide::test
