// Images that controls show: icons on the column buttons, bitmaps on the
// launcher's buttons and in picture controls. The dialog that made a control
// owns its image for as long as the control shows it.
#pragma once

#include <windows.h>

#include <vector>

#include "win/Handles.h"

namespace tide {

class ControlImages {
public:
    ControlImages() = default;
    ControlImages(const ControlImages&) = delete;
    ControlImages& operator=(const ControlImages&) = delete;
    ~ControlImages() = default;

    // Shows the image in `control`: STM_SETIMAGE for a static control,
    // BM_SETIMAGE for a button. Nothing happens for an empty image.
    void Show(HWND control, BitmapHandle bitmap);
    void Show(HWND control, IconHandle icon);

    // Takes every image back from its control. Call it while the controls
    // still exist (in WM_DESTROY of their dialog); the images themselves go
    // with this object. A control that is gone already is passed over.
    void TakeBack() noexcept;

private:
    struct Entry {
        HWND control;
        HWND parent; // with the identifier, tells a reused window handle apart
        int id;
        UINT message; // STM_SETIMAGE or BM_SETIMAGE
        WPARAM type;  // IMAGE_BITMAP or IMAGE_ICON
        HANDLE image; // owned by `bitmaps_` or `icons_`
    };
    void Hand(HWND control, WPARAM type, HANDLE image);

    std::vector<Entry> entries_;
    std::vector<BitmapHandle> bitmaps_;
    std::vector<IconHandle> icons_;
};

} // namespace tide
