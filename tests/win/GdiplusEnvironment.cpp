// Windows tests run with COM and GDI+ started, as the program runs.
#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

namespace {

class GdiplusEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ::CoInitialize(nullptr);
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override {
        Gdiplus::GdiplusShutdown(token_);
        ::CoUninitialize();
    }

private:
    ULONG_PTR token_ = 0;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new GdiplusEnvironment);

} // namespace
