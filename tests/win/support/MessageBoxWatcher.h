// Answers the message boxes a test provokes: a watcher thread finds each one
// the process shows, records its caption, text and icon, and presses a button.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace tide::test {

struct SeenMessageBox {
    std::wstring caption;
    std::wstring text;
    bool informationIcon = false;
    HWND owner = nullptr; // the window the box keeps from input while it is up
};

// An information message as its box shows it (long lines broken as the
// program breaks them).
std::wstring ShownInfoText(std::wstring_view message);

class MessageBoxWatcher {
public:
    explicit MessageBoxWatcher(int answer = IDOK);
    MessageBoxWatcher(const MessageBoxWatcher&) = delete;
    MessageBoxWatcher& operator=(const MessageBoxWatcher&) = delete;
    ~MessageBoxWatcher();

    std::vector<SeenMessageBox> Seen() const;
    // The button pressed on the boxes from now on.
    void Answer(int answer) { answer_ = answer; }

private:
    void Watch();

    std::atomic<int> answer_;
    std::atomic<bool> stop_{false};
    mutable std::mutex mutex_;
    std::vector<SeenMessageBox> seen_;
    std::thread thread_;
};

} // namespace tide::test
