// Windows tests run with COM and GDI+ started, as the program runs, and never
// reach the maker's real web site: unless a test serves one, the site is a
// closed port on this machine, so the update tool's check fails at once.
#include <windows.h>
#include <objbase.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <optional>

#include "support/WinTestSupport.h"
#include "win/InstallPaths.h"
#include "win/MakerSite.h"

namespace {

class ProgramEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ::CoInitialize(nullptr);
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&token_, &input, nullptr), Gdiplus::Ok);
        offlineSite_.emplace(tide::kInstallKeyPath, tide::kMakerSiteValueName,
                             L"http://127.0.0.1:9");
    }
    void TearDown() override {
        offlineSite_.reset();
        Gdiplus::GdiplusShutdown(token_);
        ::CoUninitialize();
    }

private:
    ULONG_PTR token_ = 0;
    std::optional<tide::test::ScopedUserRegistryValue> offlineSite_;
};

const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new ProgramEnvironment);

} // namespace
