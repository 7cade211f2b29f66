// How long each tool takes to come up from the launcher, against About.
//
//   cmake/wine-run build/win64/wineprefix build/win64/bin/open_tools_bench.exe [OPENINGS]
//
// Starts TideSetup.exe on a sample installation of its own, opens every tool
// OPENINGS times (default 7) the way a user does, and prints per tool the
// median and the range of the time from the click to the tool's window shown,
// painted and answering messages, with the median's ratio to About's in the
// same run, and the median time until it has made every window it makes (all
// its pages, which it may make right after it shows; a first opening left to
// settle tells how many that is). A benchmark, not a test: it judges nothing.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "app/ToolTable.h"
#include "app/ToolTitles.h"
#include "support/LauncherSession.h"
#include "support/SampleInstallation.h"
#include "support/WinTestSupport.h"
#include "ui/Dialog.h"

namespace tide {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

struct Opening {
    double up = -1;   // ms to the window shown, painted and answering
    double made = -1; // ms to its last window made (every page there)
    int windows = 0;  // the windows below it by then
};

// The times of one click on option `row`, which makes `windows` windows (0:
// find out, letting it settle); negative when it did not come up.
Opening TimeOneOpening(test::LauncherSession& session, const ToolRow& row, int windows) {
    const auto start = Clock::now();
    ::PostMessageW(session.launcher(), WM_COMMAND, row.id, 0);
    const auto deadline = start + 20s;
    HWND tool = nullptr;
    while (!(tool = ::FindWindowW(kDialogClassName, row.title)) || !::IsWindowVisible(tool)) {
        if (Clock::now() > deadline) {
            return {};
        }
        ::Sleep(0);
    }
    // Answering: its thread has left WM_INITDIALOG and takes messages.
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(tool, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &ignored);
    // Painted: nothing of it is waiting for WM_PAINT.
    while (::GetUpdateRect(tool, nullptr, FALSE) && Clock::now() < deadline) {
        ::Sleep(0);
    }
    const auto since = [start] {
        return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    };
    Opening opening;
    opening.up = since();
    if (windows == 0) {
        test::WaitUntilMade(tool, 1s, 20s);
    } else {
        while (test::CountDescendants(tool) < windows && Clock::now() < deadline) {
            ::Sleep(0);
        }
    }
    opening.made = since();
    opening.windows = test::CountDescendants(tool);
    if (!session.GoHome(tool)) {
        return {};
    }
    ::Sleep(150); // let the launcher settle, as between two clicks of a user
    return opening;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

int Run(int openings) {
    test::SampleInstallation installation;
    if (!installation.ready()) {
        std::fprintf(stderr, "open_tools_bench: the sample installation could not be made\n");
        return 1;
    }
    test::LauncherSession session;
    if (!session.Start()) {
        std::fprintf(stderr, "open_tools_bench: TideSetup.exe did not show its launcher\n");
        return 1;
    }
    ::Sleep(500);
    struct Result {
        const ToolRow* row;
        int windows = 0;
        std::vector<double> ms;
        std::vector<double> made;
    };
    std::vector<Result> results;
    for (const ToolRow& row : Tools()) {
        results.push_back({&row, 0, {}, {}});
    }
    for (Result& result : results) { // untimed: what each tool makes
        result.windows = TimeOneOpening(session, *result.row, 0).windows;
    }
    // Round robin, so a slow moment of the machine does not fall on one tool.
    for (int round = 0; round < openings; ++round) {
        for (Result& result : results) {
            const Opening opening = TimeOneOpening(session, *result.row, result.windows);
            if (opening.up < 0) {
                std::fprintf(stderr, "open_tools_bench: tool %d did not come up\n", result.row->id);
                return 1;
            }
            result.ms.push_back(opening.up);
            result.made.push_back(opening.made);
        }
    }
    ::PostMessageW(session.launcher(), WM_COMMAND, IDCANCEL, 0);
    session.process().WaitForExit(20s);

    const double about = Median(results.back().ms); // the launcher's last option
    std::printf("%-6s %10s %10s %10s %8s %10s\n", "tool", "median ms", "min ms", "max ms",
                "x About", "made ms");
    for (const Result& result : results) {
        const double median = Median(result.ms);
        const auto [low, high] = std::minmax_element(result.ms.begin(), result.ms.end());
        std::printf("%-6d %10.1f %10.1f %10.1f %8.2f %10.1f\n", result.row->id, median, *low, *high,
                    about > 0 ? median / about : 0.0, Median(result.made));
    }
    return 0;
}

} // namespace
} // namespace tide

int wmain(int argc, wchar_t** argv) {
    const int openings = argc > 1 ? std::max(1, _wtoi(argv[1])) : 7;
    return tide::Run(openings);
}
