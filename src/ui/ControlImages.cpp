#include "ui/ControlImages.h"

namespace tide {
namespace {

bool IsStaticControl(HWND control) {
    wchar_t className[16] = {};
    ::GetClassNameW(control, className, 16);
    return ::lstrcmpiW(className, L"Static") == 0;
}

// A static control of common controls 6 keeps its own copy of a bitmap with
// alpha and hands that copy back, not the bitmap it was given; the copy is
// then ours to free. Anything else handed back is one of our own images.
void FreeIfCopy(HANDLE returned, HANDLE given, WPARAM type) {
    if (returned && returned != given && type == IMAGE_BITMAP) {
        ::DeleteObject(returned);
    }
}

} // namespace

void ControlImages::Show(HWND control, BitmapHandle bitmap) {
    if (control && bitmap) {
        // Owned here before the control sees it, so nothing can free it under the control.
        bitmaps_.push_back(std::move(bitmap));
        Hand(control, IMAGE_BITMAP, bitmaps_.back().get());
    }
}

void ControlImages::Show(HWND control, IconHandle icon) {
    if (control && icon) {
        icons_.push_back(std::move(icon));
        Hand(control, IMAGE_ICON, icons_.back().get());
    }
}

void ControlImages::Hand(HWND control, WPARAM type, HANDLE image) {
    const UINT message = IsStaticControl(control) ? STM_SETIMAGE : BM_SETIMAGE;
    entries_.reserve(entries_.size() + 1); // no failure once the control holds the image
    const auto previous = reinterpret_cast<HANDLE>(
        ::SendMessageW(control, message, type, reinterpret_cast<LPARAM>(image)));
    // The image the control showed before stays owned here; a copy the
    // control made of it is freed now.
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        if (entry->control == control) {
            FreeIfCopy(previous, entry->image, entry->type);
            break;
        }
    }
    entries_.push_back(
        {control, ::GetParent(control), ::GetDlgCtrlID(control), message, type, image});
}

void ControlImages::TakeBack() noexcept {
    // Latest first, so a control shown several images ends up empty.
    for (auto entry = entries_.rbegin(); entry != entries_.rend(); ++entry) {
        if (!::IsWindow(entry->control) || ::GetParent(entry->control) != entry->parent ||
            ::GetDlgCtrlID(entry->control) != entry->id) {
            continue;
        }
        const auto returned = reinterpret_cast<HANDLE>(
            ::SendMessageW(entry->control, entry->message, entry->type, 0));
        FreeIfCopy(returned, entry->image, entry->type);
    }
    entries_.clear();
}

} // namespace tide
