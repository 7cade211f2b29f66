// Helpers for tests that run under Wine: child processes, registry values
// restored after the test, scratch folders, waiting for windows.
#pragma once

#include <windows.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "win/Handles.h"

namespace tide::test {

// The folder of the running test program; every program the build makes lies
// there too.
std::wstring BinDirectory();

// A started program; killed at the end of the test if still running.
class ChildProcess {
public:
    // `arguments` follows the program name on the command line as given.
    static std::optional<ChildProcess> Start(const std::wstring& program,
                                             const std::wstring& arguments);
    ChildProcess(ChildProcess&&) noexcept = default;
    ChildProcess& operator=(ChildProcess&&) noexcept = default;
    ~ChildProcess();

    // The exit code, or nothing when it has not ended within `timeout`.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout);
    DWORD id() const { return id_; }
    HANDLE handle() const { return process_.get(); }

private:
    ChildProcess(HANDLE process, DWORD id) : process_(process), id_(id) {}
    KernelHandle process_;
    DWORD id_ = 0;
};

// A registry value's type and bytes.
struct RegistryData {
    DWORD type;
    std::vector<BYTE> bytes;
};

// Sets (or, given nothing, deletes) a string or number value under HKCU and
// puts back what was there, of whatever type, when the guard ends.
class ScopedUserRegistryValue {
public:
    ScopedUserRegistryValue(const wchar_t* keyPath, const wchar_t* valueName,
                            std::optional<std::wstring> value);
    ScopedUserRegistryValue(const wchar_t* keyPath, const wchar_t* valueName, DWORD value);
    ScopedUserRegistryValue(const ScopedUserRegistryValue&) = delete;
    ScopedUserRegistryValue& operator=(const ScopedUserRegistryValue&) = delete;
    ~ScopedUserRegistryValue();

private:
    std::wstring keyPath_;
    std::wstring valueName_;
    struct Raw {};
    ScopedUserRegistryValue(Raw, const wchar_t* keyPath, const wchar_t* valueName,
                            std::optional<RegistryData> value);
    std::optional<RegistryData> previous_;
};

// An empty folder of its own under %TEMP%, removed with its contents.
class ScratchFolder {
public:
    ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    ~ScratchFolder();
    const std::wstring& path() const { return path_; }
    std::wstring operator/(const std::wstring& name) const { return path_ + L"\\" + name; }

private:
    std::wstring path_;
};

bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
// The whole file; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
bool FileExists(const std::wstring& path);

// Waits for a top-level window of that class and title; null on time-out.
HWND WaitForWindow(const wchar_t* className, const wchar_t* title,
                   std::chrono::milliseconds timeout);

// The first window below `root` (depth first, in the order they were made)
// with the control id `id`; null when there is none.
HWND FindDescendant(HWND root, int id);
// The number of windows below `root`, at any depth.
int CountDescendants(HWND root);

// Waits until `root` has gained no window below it for `quiet` (a tool that
// makes its pages after it shows has made them all); false after `timeout`.
bool WaitUntilMade(HWND root, std::chrono::milliseconds quiet, std::chrono::milliseconds timeout);

// A top-level window of `processId` with that class for which `accept` (if
// given) is true; null when there is none.
HWND FindProcessWindow(DWORD processId, const wchar_t* className, bool (*accept)(HWND) = nullptr);

// Dispatches this thread's messages for a while (lets windows paint and
// the display catch up).
void PumpMessagesFor(std::chrono::milliseconds duration);

// Number of top-level windows of that class and title.
int CountWindows(const wchar_t* className, const wchar_t* title);

} // namespace tide::test
