#include "win/MonitorDpi.h"

#include <gtest/gtest.h>

#include "win/Handles.h"

namespace tide {
namespace {

TEST(GetMonitorDpi, ReportsTheScreenDpiAndReturnsZero) {
    UINT x = 0;
    UINT y = 0;
    EXPECT_EQ(GetMonitorDpi(::GetDesktopWindow(), &x, &y), 0);
    WindowDc dc(nullptr);
    ASSERT_TRUE(dc);
    EXPECT_EQ(x, static_cast<UINT>(::GetDeviceCaps(dc.get(), LOGPIXELSX)));
    EXPECT_EQ(y, static_cast<UINT>(::GetDeviceCaps(dc.get(), LOGPIXELSY)));
    // Either out parameter may be left out.
    EXPECT_EQ(GetMonitorDpi(nullptr, nullptr, &y), 0);
    EXPECT_GT(y, 0u);
}

} // namespace
} // namespace tide
