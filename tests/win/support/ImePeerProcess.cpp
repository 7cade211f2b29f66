#include "support/ImePeerProcess.h"

#include <sstream>

namespace tide::test {

using namespace std::chrono_literals;

std::optional<ImePeerProcess> ImePeerProcess::Start(const ScratchFolder& folder,
                                                    const std::wstring& arguments) {
    static int started = 0;
    const std::wstring readyName = L"tide-peer-ready-" + std::to_wstring(::GetCurrentProcessId()) +
                                   L"-" + std::to_wstring(++started);
    KernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, readyName.c_str()));
    const std::wstring logPath = folder / (L"ime-peer-" + std::to_wstring(started) + L".log");
    auto process = ChildProcess::Start(BinDirectory() + L"\\ime-peer.exe",
                                       L"--log \"" + logPath + L"\" --ready-event " + readyName +
                                           (arguments.empty() ? L"" : L" " + arguments));
    if (!process || ::WaitForSingleObject(ready.get(), 30000) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    return ImePeerProcess(std::move(*process), logPath);
}

ImePeerProcess::~ImePeerProcess() {
    Stop();
}

std::vector<std::string> ImePeerProcess::Lines() const {
    FileHandle file(::CreateFileW(logPath_.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string text;
    if (file) {
        char buffer[65536];
        DWORD read = 0;
        while (::ReadFile(file.get(), buffer, sizeof(buffer), &read, nullptr) && read > 0) {
            text.append(buffer, read);
        }
    }
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ImePeerProcess::WaitForLines(const std::string& prefix, std::size_t count,
                                                      std::chrono::milliseconds timeout) const {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        std::vector<std::string> matching;
        for (const auto& line : Lines()) {
            if (line.rfind(prefix, 0) == 0) {
                matching.push_back(line);
            }
        }
        if (matching.size() >= count || std::chrono::steady_clock::now() >= deadline) {
            return matching;
        }
        ::Sleep(20);
    }
}

std::string ImePeerProcess::LibraryUsers() {
    HWND window = process_ ? FindProcessWindow(process_->id(), L"TideImePeer") : nullptr;
    if (!window) {
        return {};
    }
    const std::size_t before = WaitForLines("library", 0, 0s).size();
    ::PostMessageW(window, WM_APP + 1, 0, 0);
    const auto lines = WaitForLines("library", before + 1, 10s);
    return lines.size() > before ? lines.back() : std::string();
}

void ImePeerProcess::Stop() {
    if (!process_) {
        return;
    }
    if (HWND window = FindProcessWindow(process_->id(), L"TideImePeer")) {
        ::PostMessageW(window, WM_CLOSE, 0, 0);
        process_->WaitForExit(10s);
    }
    process_.reset();
}

std::vector<std::uint8_t> HexField(const std::string& line, const std::string& key) {
    std::vector<std::uint8_t> bytes;
    const auto start = line.find(" " + key + "=");
    if (start == std::string::npos) {
        return bytes;
    }
    auto nibble = [](char c) { return c <= '9' ? c - '0' : c - 'a' + 10; };
    for (std::size_t i = start + key.size() + 2; i + 1 < line.size() && line[i] != ' '; i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(nibble(line[i]) << 4 | nibble(line[i + 1])));
    }
    return bytes;
}

} // namespace tide::test
