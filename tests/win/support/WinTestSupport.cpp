#include "support/WinTestSupport.h"

#include <shlwapi.h>

namespace tide::test {

std::wstring BinDirectory() {
    wchar_t path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    ::PathRemoveFileSpecW(path);
    return path;
}

std::optional<ChildProcess> ChildProcess::Start(const std::wstring& program,
                                                const std::wstring& arguments) {
    std::wstring commandLine = L"\"" + program + L"\"";
    if (!arguments.empty()) {
        commandLine += L" " + arguments;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        return std::nullopt;
    }
    ::CloseHandle(info.hThread);
    return ChildProcess(info.hProcess, info.dwProcessId);
}

ChildProcess::~ChildProcess() {
    if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
        ::TerminateProcess(process_.get(), 1);
        ::WaitForSingleObject(process_.get(), 5000);
    }
}

std::optional<DWORD> ChildProcess::WaitForExit(std::chrono::milliseconds timeout) {
    if (::WaitForSingleObject(process_.get(), static_cast<DWORD>(timeout.count())) !=
        WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    ::GetExitCodeProcess(process_.get(), &code);
    return code;
}

namespace {

std::optional<RegistryData> ReadUserValue(const wchar_t* keyPath, const wchar_t* valueName) {
    RegistryKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, keyPath, 0, KEY_QUERY_VALUE, key.put()) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    RegistryData data{REG_NONE, std::vector<BYTE>(4096)};
    DWORD size = static_cast<DWORD>(data.bytes.size());
    if (::RegQueryValueExW(key.get(), valueName, nullptr, &data.type, data.bytes.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    data.bytes.resize(size);
    return data;
}

void WriteUserValue(const wchar_t* keyPath, const wchar_t* valueName,
                    const std::optional<RegistryData>& value) {
    RegistryKey key;
    if (::RegCreateKeyExW(HKEY_CURRENT_USER, keyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                          key.put(), nullptr) != ERROR_SUCCESS) {
        return;
    }
    if (value) {
        ::RegSetValueExW(key.get(), valueName, 0, value->type, value->bytes.data(),
                         static_cast<DWORD>(value->bytes.size()));
    } else {
        ::RegDeleteValueW(key.get(), valueName);
    }
}

std::optional<RegistryData> StringData(const std::optional<std::wstring>& text) {
    if (!text) {
        return std::nullopt;
    }
    const auto* first = reinterpret_cast<const BYTE*>(text->c_str());
    return RegistryData{REG_SZ, {first, first + (text->size() + 1) * sizeof(wchar_t)}};
}

} // namespace

ScopedUserRegistryValue::ScopedUserRegistryValue(const wchar_t* keyPath, const wchar_t* valueName,
                                                 std::optional<std::wstring> value)
    : ScopedUserRegistryValue(Raw{}, keyPath, valueName, StringData(value)) {}

ScopedUserRegistryValue::ScopedUserRegistryValue(const wchar_t* keyPath, const wchar_t* valueName,
                                                 DWORD value)
    : ScopedUserRegistryValue(
          Raw{}, keyPath, valueName,
          RegistryData{REG_DWORD,
                       {reinterpret_cast<const BYTE*>(&value),
                        reinterpret_cast<const BYTE*>(&value) + sizeof(value)}}) {}

ScopedUserRegistryValue::ScopedUserRegistryValue(Raw, const wchar_t* keyPath,
                                                 const wchar_t* valueName,
                                                 std::optional<RegistryData> value)
    : keyPath_(keyPath), valueName_(valueName), previous_(ReadUserValue(keyPath, valueName)) {
    WriteUserValue(keyPath, valueName, value);
}

ScopedUserRegistryValue::~ScopedUserRegistryValue() {
    WriteUserValue(keyPath_.c_str(), valueName_.c_str(), previous_);
}

ScratchFolder::ScratchFolder() {
    wchar_t temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    static int counter = 0;
    // A folder left by an earlier run (process ids come round again) is
    // never reused: each test starts empty.
    do {
        path_ = std::wstring(temp) + L"tide-test-" + std::to_wstring(::GetCurrentProcessId()) +
                L"-" + std::to_wstring(++counter);
    } while (!::CreateDirectoryW(path_.c_str(), nullptr) &&
             ::GetLastError() == ERROR_ALREADY_EXISTS);
}

namespace {

// SHFileOperation would pull in the shell's UI; a small recursion will do.
void RemoveFolder(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    FindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    for (bool more = find.valid(); more; more = ::FindNextFileW(find.get(), &found)) {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") {
            continue;
        }
        const std::wstring path = folder + L"\\" + name;
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            RemoveFolder(path);
        } else {
            ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            ::DeleteFileW(path.c_str());
        }
    }
    find.reset();
    ::RemoveDirectoryW(folder.c_str());
}

} // namespace

ScratchFolder::~ScratchFolder() {
    RemoveFolder(path_);
}

bool WriteFileBytes(const std::wstring& path, const std::string& bytes) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    return file &&
           ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                       nullptr) &&
           written == bytes.size();
}

std::string ReadFileBytes(const std::wstring& path) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    LARGE_INTEGER size = {};
    if (!file || !::GetFileSizeEx(file.get(), &size)) {
        return bytes;
    }
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        read = 0;
    }
    bytes.resize(read);
    return bytes;
}

bool FileExists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

HWND WaitForWindow(const wchar_t* className, const wchar_t* title,
                   std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        if (HWND window = ::FindWindowW(className, title)) {
            return window;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return nullptr;
        }
        ::Sleep(50);
    }
}

namespace {

struct WindowSearch {
    DWORD processId;
    const wchar_t* className;
    bool (*accept)(HWND);
    HWND found;
};

BOOL CALLBACK MatchProcessWindow(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<WindowSearch*>(context);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t className[64] = {};
    ::GetClassNameW(window, className, 64);
    if (owner == search->processId && std::wstring_view(className) == search->className &&
        (!search->accept || search->accept(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

} // namespace

namespace {

BOOL CALLBACK CountOne(HWND, LPARAM count) {
    ++*reinterpret_cast<int*>(count);
    return TRUE;
}

} // namespace

int CountDescendants(HWND root) {
    int count = 0;
    ::EnumChildWindows(root, CountOne, reinterpret_cast<LPARAM>(&count));
    return count;
}

bool WaitUntilMade(HWND root, std::chrono::milliseconds quiet, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    int count = -1;
    auto lastChange = std::chrono::steady_clock::now();
    while (std::chrono::steady_clock::now() < deadline) {
        const int now = CountDescendants(root);
        if (now != count) {
            count = now;
            lastChange = std::chrono::steady_clock::now();
        } else if (std::chrono::steady_clock::now() - lastChange >= quiet) {
            return true;
        }
        ::Sleep(5);
    }
    return false;
}

HWND FindDescendant(HWND root, int id) {
    for (HWND child = ::GetWindow(root, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (::GetDlgCtrlID(child) == id) {
            return child;
        }
        if (HWND found = FindDescendant(child, id)) {
            return found;
        }
    }
    return nullptr;
}

HWND FindProcessWindow(DWORD processId, const wchar_t* className, bool (*accept)(HWND)) {
    WindowSearch search{processId, className, accept, nullptr};
    ::EnumWindows(MatchProcessWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int CountWindows(const wchar_t* className, const wchar_t* title) {
    int count = 0;
    for (HWND window = ::FindWindowExW(nullptr, nullptr, className, title); window;
         window = ::FindWindowExW(nullptr, window, className, title)) {
        ++count;
    }
    return count;
}

void PumpMessagesFor(std::chrono::milliseconds duration) {
    const DWORD start = ::GetTickCount();
    while (::GetTickCount() - start < static_cast<DWORD>(duration.count())) {
        MSG message;
        while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
        ::Sleep(10);
    }
}

} // namespace tide::test
