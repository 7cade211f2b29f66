#include "support/LocalWebServer.h"

#include <cstdlib>
#include <vector>

namespace tide::test {
namespace {

// Wine's own exports: the Linux name of a Windows path, and starting a Linux
// program. Windows has neither; these tests only run under Wine.
using UnixFileNameFunction = char*(__cdecl*)(const wchar_t*);
using UnixSpawnFunction = LONG(__stdcall*)(char* const*, int);

std::string UnixPath(const std::wstring& path) {
    const auto unixFileName = reinterpret_cast<UnixFileNameFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    if (!unixFileName) {
        return {};
    }
    char* name = unixFileName(path.c_str());
    if (!name) {
        return {};
    }
    std::string result(name);
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

bool SpawnUnixProgram(std::vector<std::string> arguments) {
    const auto spawn = reinterpret_cast<UnixSpawnFunction>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "__wine_unix_spawnvp")));
    if (!spawn) {
        return false;
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        if (argument.empty()) {
            return false;
        }
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    return spawn(argv.data(), FALSE) == 0;
}

} // namespace

LocalWebServer::LocalWebServer(const std::wstring& root) {
    const std::wstring script = L"" TIDE_SOURCE_DIR L"/tests/win/support/web_server.py";
    if (!SpawnUnixProgram(
            {"/usr/bin/python3", UnixPath(script), UnixPath(root), UnixPath(state_.path())})) {
        return;
    }
    const std::wstring portFile = state_ / L"port";
    for (int i = 0; i < 400 && port_ == 0; ++i) {
        if (FileExists(portFile)) {
            port_ = std::atoi(ReadFileBytes(portFile).c_str());
        } else {
            ::Sleep(50);
        }
    }
}

LocalWebServer::~LocalWebServer() {
    if (port_ == 0) {
        return;
    }
    WriteFileBytes(state_ / L"stop", "");
    for (int i = 0; i < 100 && FileExists(state_ / L"port"); ++i) {
        ::Sleep(50);
    }
}

std::wstring LocalWebServer::address() const {
    return L"http://127.0.0.1:" + std::to_wstring(port_);
}

std::string LocalWebServer::requests() const {
    return ReadFileBytes(state_ / L"requests.log");
}

} // namespace tide::test
