// The images compiled into TideSetup.exe: every icon the tools' columns use,
// every PNG, and a soft keyboard whose caps stand where the page hit-tests.
#include <gtest/gtest.h>

#include "core/config/SoftKeyboardGeometry.h"
#include "support/WinTestSupport.h"
#include "ui/ResourceIds.h"
#include "win/ImageCodec.h"

namespace tide {
namespace {

using namespace Gdiplus::DllExports;

class ResourceImages : public ::testing::Test {
protected:
    void SetUp() override {
        module_.reset(::LoadLibraryExW((test::BinDirectory() + L"\\TideSetup.exe").c_str(), nullptr,
                                       LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE));
        ASSERT_TRUE(module_);
    }
    GdiplusImage Png(int id) {
        return ImageFromResource(module_.get(), MAKEINTRESOURCEW(id),
                                 MAKEINTRESOURCEW(kPngResourceType));
    }
    LoadedLibrary module_;
};

TEST_F(ResourceImages, EveryIconIsThere) {
    for (int id = kIconHome; id <= kIconUpdate; ++id) {
        IconHandle icon(static_cast<HICON>(
            ::LoadImageW(module_.get(), MAKEINTRESOURCEW(id), IMAGE_ICON, 16, 16, 0)));
        ICONINFO info = {};
        ASSERT_TRUE(icon && ::GetIconInfo(icon.get(), &info)) << "icon " << id;
        BITMAP bitmap = {};
        ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
        EXPECT_EQ(bitmap.bmWidth, 16) << "icon " << id;
        ::DeleteObject(info.hbmColor);
        ::DeleteObject(info.hbmMask);
    }
    EXPECT_TRUE(::FindResourceW(module_.get(), MAKEINTRESOURCEW(kIconApplication), RT_GROUP_ICON));
}

TEST_F(ResourceImages, EveryPngDecodes) {
    for (int id = kPngSupport; id <= kPngKeyboard; ++id) {
        GdiplusImage image = Png(id);
        const SIZE size = ImageSize(image.get());
        EXPECT_GT(size.cx, 0) << "PNG " << id;
        EXPECT_GT(size.cy, 0) << "PNG " << id;
    }
}

// Bright enough to be the face of a cap, not the grey around the caps.
bool IsCapFace(Gdiplus::ARGB pixel) {
    return (pixel & 0xFF) > 0xF8 && ((pixel >> 8) & 0xFF) > 0xF8 && ((pixel >> 16) & 0xFF) > 0xF8;
}

TEST_F(ResourceImages, KeyboardCapsStandWhereThePageHitTests) {
    GdiplusImage image = Png(kPngKeyboard);
    const SIZE size = ImageSize(image.get());
    ASSERT_EQ(size.cx, kKeyboardPictureWidth);
    ASSERT_EQ(size.cy, kKeyboardPictureHeight);
    auto* bitmap = reinterpret_cast<Gdiplus::GpBitmap*>(image.get());
    auto pixel = [&](int x, int y) {
        Gdiplus::ARGB value = 0;
        GdipBitmapGetPixel(bitmap, x, y, &value);
        return value;
    };
    for (const KeyCap& cap : kKeyCaps) {
        const PixelRect square = KeyCapSquare(cap, 0, 0);
        const char key = static_cast<char>(cap.key);
        // The face fills the square inside its one-pixel outline, blank for the labels.
        for (int y = square.top + 3; y < square.bottom - 3; ++y) {
            for (int x = square.left + 3; x < square.right - 3; ++x) {
                ASSERT_TRUE(IsCapFace(pixel(x, y))) << key << " at " << x << "," << y;
            }
        }
        EXPECT_FALSE(IsCapFace(pixel(square.left, square.top + 14))) << key << ": left outline";
        EXPECT_FALSE(IsCapFace(pixel(square.right - 1, square.top + 14))) << key;
        EXPECT_FALSE(IsCapFace(pixel(square.left + 14, square.top))) << key << ": top outline";
        EXPECT_FALSE(IsCapFace(pixel(square.left + 14, square.bottom - 1))) << key;
        EXPECT_FALSE(IsCapFace(pixel(square.right, square.top + 14))) << key << ": gap after it";
    }
}

} // namespace
} // namespace tide
