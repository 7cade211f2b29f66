// ime-peer: stands in for the input method in tests. It plays exactly the input
// method's side of the shared contract and logs what it sees:
//   - keeps "TIDE_Configure" mapped for its whole run;
//   - owns a hidden top-level window that receives "WM_TIDE_NOTIFY"; for each
//     notice it logs the code, and for code 1 the record it reads from its own
//     mapping and the bytes of "Tide.cfg" at that moment;
//   - can put a text into "TIDE_SSTRING" and start the manager with "/e";
//   - can map a word library and a skin under their shared names; on the
//     message WM_APP + 1 it logs the user entries it sees in its library;
//   - on notice 2 it switches to the library its record names, as the input
//     method does, and logs the name and whether it could map it.
//
// Usage: ime-peer --log FILE [--ready-event NAME] [--config-file PATH]
//                 [--word TEXT] [--start-setup EXE] [--map-library PATH] [--map-skin PATH]
// It ends when its window "Tide IME peer" receives WM_CLOSE.
#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/base/Utf.h"
#include "core/config/ConfigRecord.h"
#include "core/contract/ImeContract.h"
#include "core/dict/LibraryView.h"
#include "core/dict/WordLibrary.h"
#include "core/skin/SkinFormat.h"
#include "win/FileMapping.h"
#include "win/Handles.h"
#include "win/InstallPaths.h"
#include "win/WideText.h"

namespace {

using namespace tide;

constexpr wchar_t kWindowClass[] = L"TideImePeer";
constexpr wchar_t kWindowTitle[] = L"Tide IME peer";
// Asks the peer to log the user entries of the library it has mapped.
constexpr UINT kLogLibraryMessage = WM_APP + 1;

struct Options {
    std::wstring logPath;
    std::wstring readyEvent;
    std::wstring configFile;
    std::wstring word;
    std::wstring setupProgram;
    std::wstring libraryPath;
    std::wstring skinPath;
};

struct PeerState {
    Options options;
    UINT notifyMessage = 0;
    FileMapping config;
    FileMapping word;
    FileMapping library;
    FileMapping skin;
};

PeerState* g_peer = nullptr;

void Log(const std::string& line) {
    FileHandle file(::CreateFileW(g_peer->options.logPath.c_str(), FILE_APPEND_DATA,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return;
    }
    const std::string text = line + "\n";
    DWORD written = 0;
    ::WriteFile(file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

std::string Hex(const void* data, std::size_t size) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(size * 2);
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (std::size_t i = 0; i < size; ++i) {
        text.push_back(digits[bytes[i] >> 4]);
        text.push_back(digits[bytes[i] & 15]);
    }
    return text;
}

std::string Utf8(const std::wstring& text) {
    const int size =
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size - 1 : 0, '\0');
    if (size > 1) {
        ::WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, out.data(), size, nullptr, nullptr);
    }
    return out;
}

std::string ConfigFileHex() {
    FileHandle file(::CreateFileW(g_peer->options.configFile.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return "missing";
    }
    std::vector<unsigned char> bytes(4096);
    DWORD read = 0;
    ::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    return Hex(bytes.data(), read);
}

FileMapping MapFile(const std::wstring& path, std::u16string_view prefix, bool library);

// Maps the library the shared record names; its file name for the log.
std::string SwitchLibrary() {
    ConfigRecord record;
    std::memcpy(&record, g_peer->config.data(), kConfigRecordSize);
    const std::wstring name = ToWide(FixedText(record.DictionaryFileName));
    g_peer->library.reset();
    PathBuffer path;
    if (QueryInstallDir(path) && ::PathAppendW(path, name.c_str())) {
        g_peer->library = MapFile(path, kLibraryMappingPrefix, true);
    }
    return " library=" + Utf8(name) + " mapped=" + (g_peer->library ? "1" : "0");
}

// Maps the skin the shared record names, as the input method does on code 3;
// its file name and the name in its record for the log.
std::string SwitchSkin() {
    ConfigRecord record;
    std::memcpy(&record, g_peer->config.data(), kConfigRecordSize);
    const std::wstring name = ToWide(FixedText(record.SkinFileName));
    g_peer->skin.reset();
    PathBuffer path;
    if (QueryInstallDir(path) && ::PathAppendW(path, L"Skin") &&
        ::PathAppendW(path, name.c_str())) {
        g_peer->skin = MapFile(static_cast<const wchar_t*>(path), kSkinMappingPrefix, false);
    }
    std::string skinName;
    if (g_peer->skin && g_peer->skin.size() >= kSkinRecordSize) {
        SkinRecord skin;
        std::memcpy(&skin, g_peer->skin.data(), kSkinRecordSize);
        skinName = Utf8(ToWide(SkinText(skin.name)));
    }
    return " skin=" + Utf8(name) + " mapped=" + (g_peer->skin ? "1" : "0") + " name=" + skinName;
}

void OnNotice(WPARAM code) {
    std::string line = "notice " + std::to_string(code);
    if (code == static_cast<WPARAM>(ChangeCode::ConfigSaved)) {
        line += " record=" + Hex(g_peer->config.data(), kConfigRecordSize);
        line += " file=" + ConfigFileHex();
    } else if (code == static_cast<WPARAM>(ChangeCode::DictionaryChanged)) {
        line += SwitchLibrary();
    } else if (code == static_cast<WPARAM>(ChangeCode::SkinChanged)) {
        line += SwitchSkin();
    }
    Log(line);
}

void LogLibrary() {
    const auto library =
        g_peer->library ? LibraryView::Open(g_peer->library.bytes()) : std::nullopt;
    if (!library) {
        Log("library none");
        return;
    }
    std::string line = "library users";
    for (const auto& entry : ListUserEntries(*library).value_or(std::vector<UserEntry>())) {
        line += " " + ToUtf8(entry.code) + "=" + ToUtf8(entry.word);
    }
    Log(line);
}

LRESULT CALLBACK PeerWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    try {
        if (message == g_peer->notifyMessage && message != 0) {
            OnNotice(wParam);
            return 0;
        }
        if (message == kLogLibraryMessage) {
            LogLibrary();
            return 0;
        }
    } catch (...) {
        return 0; // a log line lost; the peer goes on
    }
    if (message == WM_CLOSE) {
        ::DestroyWindow(window);
        return 0;
    }
    if (message == WM_DESTROY) {
        ::PostQuitMessage(0);
        return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
}

// Opens the named mapping, or creates it page-file backed, and maps all of it.
FileMapping MapShared(std::u16string_view name, std::size_t size) {
    return FileMapping::OpenOrCreate(ToWide(name).c_str(), INVALID_HANDLE_VALUE, size,
                                     FileMapping::Access::ReadWrite, FileMapping::Fit::Exactly);
}

// Maps a file under the shared name for its file name, as the input method
// does: a library read-write with room to grow, a skin read-only. Empty on
// failure.
FileMapping MapFile(const std::wstring& path, std::u16string_view prefix, bool library) {
    const DWORD access = library ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ;
    FileHandle file(::CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER fileSize = {};
    if (!file || !::GetFileSizeEx(file.get(), &fileSize)) {
        return {};
    }
    auto size = static_cast<std::uint64_t>(fileSize.QuadPart);
    if (library) {
        std::uint32_t used = 0;
        DWORD read = 0;
        ::SetFilePointer(file.get(), 192, nullptr, FILE_BEGIN); // UsedLength
        if (!::ReadFile(file.get(), &used, 4, &read, nullptr) || read != 4) {
            return {};
        }
        size = std::uint64_t{used} + kLibraryGrowthRoom;
    }
    const std::wstring name = ToWide(MappingNameForFile(prefix, AsU16(path)));
    return FileMapping::OpenOrCreate(name.c_str(), file.get(), size,
                                     library ? FileMapping::Access::ReadWrite
                                             : FileMapping::Access::ReadOnly);
}

bool WriteWord(const std::wstring& word) {
    g_peer->word = MapShared(kWordMakingMappingName, kWordMakingMappingSize);
    if (g_peer->word.size() < kWordMakingMappingSize) {
        return false;
    }
    auto* text = reinterpret_cast<wchar_t*>(g_peer->word.data());
    const std::size_t length = std::min(word.size(), kWordMakingMaxChars);
    std::fill(text, text + kWordMakingMaxChars + 1, L'\0');
    word.copy(text, length);
    return true;
}

bool StartSetup(const std::wstring& program) {
    std::wstring commandLine = L"\"" + program + L"\" " + ToWide(kWordMakingSwitch);
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                          nullptr, &startup, &info)) {
        return false;
    }
    ::CloseHandle(info.hThread);
    ::CloseHandle(info.hProcess);
    return true;
}

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::wstring_view flag(argv[i]);
        std::wstring* target = flag == L"--log"           ? &options.logPath
                               : flag == L"--ready-event" ? &options.readyEvent
                               : flag == L"--config-file" ? &options.configFile
                               : flag == L"--word"        ? &options.word
                               : flag == L"--start-setup" ? &options.setupProgram
                               : flag == L"--map-library" ? &options.libraryPath
                               : flag == L"--map-skin"    ? &options.skinPath
                                                          : nullptr;
        if (!target) {
            return false;
        }
        *target = argv[i + 1];
    }
    return argc % 2 == 1 && !options.logPath.empty();
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    PeerState peer;
    g_peer = &peer;
    if (!ParseOptions(argc, argv, peer.options)) {
        std::fputs(
            "usage: ime-peer --log FILE [--ready-event NAME] [--config-file PATH] [--word TEXT]\n"
            "                [--start-setup EXE] [--map-library PATH] [--map-skin PATH]\n",
            stderr);
        return 2;
    }
    if (peer.options.configFile.empty()) {
        PathBuffer path;
        GetConfigFilePath(path);
        peer.options.configFile = path;
    }
    peer.notifyMessage = ::RegisterWindowMessageW(ToWide(kNotifyMessageName).c_str());

    peer.config = MapShared(kConfigMappingName, kConfigRecordSize);
    if (peer.config.size() < kConfigRecordSize) {
        Log("error config-mapping");
        return 3;
    }
    if (!peer.options.libraryPath.empty()) {
        peer.library = MapFile(peer.options.libraryPath, kLibraryMappingPrefix, true);
        const bool mapped = static_cast<bool>(peer.library);
        Log(std::string(mapped ? "mapped" : "error") + " library " +
            Utf8(peer.options.libraryPath));
    }
    if (!peer.options.skinPath.empty()) {
        peer.skin = MapFile(peer.options.skinPath, kSkinMappingPrefix, false);
        const bool mapped = static_cast<bool>(peer.skin);
        Log(std::string(mapped ? "mapped" : "error") + " skin " + Utf8(peer.options.skinPath));
    }

    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = PeerWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    ::RegisterClassW(&windowClass);
    // Hidden but top-level: broadcasts reach top-level windows only.
    HWND window = ::CreateWindowExW(0, kWindowClass, kWindowTitle, WS_OVERLAPPED, 0, 0, 0, 0,
                                    nullptr, nullptr, windowClass.hInstance, nullptr);
    if (!window) {
        Log("error window");
        return 4;
    }
    Log("ready");
    if (!peer.options.word.empty()) {
        Log(WriteWord(peer.options.word) ? "word " + Utf8(peer.options.word) : "error word");
    }
    if (!peer.options.setupProgram.empty()) {
        Log(StartSetup(peer.options.setupProgram) ? "started setup /e" : "error start-setup");
    }
    if (!peer.options.readyEvent.empty()) {
        KernelHandle ready(
            ::OpenEventW(EVENT_MODIFY_STATE, FALSE, peer.options.readyEvent.c_str()));
        if (ready) {
            ::SetEvent(ready.get());
        }
    }

    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::DispatchMessageW(&message);
    }
    Log("stopped");
    return 0;
}
