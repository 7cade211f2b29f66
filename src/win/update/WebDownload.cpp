#include "win/update/WebDownload.h"

#include <windows.h>
#include <wininet.h>

#include <vector>

#include "win/Handles.h"

namespace tide {
namespace {

constexpr DWORD kTimeoutMilliseconds = 15000;
constexpr DWORD kHttpOk = 200;

struct InternetHandleTraits {
    using Value = HINTERNET;
    static Value Invalid() noexcept { return nullptr; }
    static void Close(Value value) noexcept { ::InternetCloseHandle(value); }
};
using InternetHandle = UniqueResource<InternetHandleTraits>;

DWORD StatusCode(HINTERNET request) {
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!::HttpQueryInfoW(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size,
                          nullptr)) {
        return 0;
    }
    return status;
}

// The address the answer finally came from.
std::wstring FinalUrl(HINTERNET request) {
    DWORD size = 0;
    ::InternetQueryOptionW(request, INTERNET_OPTION_URL, nullptr, &size);
    std::vector<wchar_t> url(size / sizeof(wchar_t) + 1);
    size = static_cast<DWORD>(url.size() * sizeof(wchar_t));
    if (!::InternetQueryOptionW(request, INTERNET_OPTION_URL, url.data(), &size)) {
        return {};
    }
    return url.data();
}

bool CopyBody(HINTERNET request, const std::wstring& path) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    std::vector<char> buffer(64 * 1024);
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(request, buffer.data(), static_cast<DWORD>(buffer.size()), &read)) {
            return false;
        }
        if (read == 0) {
            return true;
        }
        DWORD written = 0;
        if (!::WriteFile(file.get(), buffer.data(), read, &written, nullptr) || written != read) {
            return false;
        }
    }
}

} // namespace

std::optional<Transport> DownloadToFile(const std::wstring& url, const std::wstring& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    InternetHandle session(
        ::InternetOpenW(L"Tide", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    if (!session) {
        return std::nullopt;
    }
    for (const DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                               INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        DWORD timeout = kTimeoutMilliseconds;
        ::InternetSetOptionW(session.get(), option, &timeout, sizeof(timeout));
    }
    InternetHandle request(::InternetOpenUrlW(
        session.get(), url.c_str(), nullptr, 0,
        INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_NO_UI, 0));
    if (!request || StatusCode(request.get()) != kHttpOk) {
        return std::nullopt;
    }
    const Transport transport =
        FinalUrl(request.get()).rfind(L"https://", 0) == 0 ? Transport::Https : Transport::Http;
    if (!CopyBody(request.get(), path)) {
        ::DeleteFileW(path.c_str());
        return std::nullopt;
    }
    return transport;
}

} // namespace tide
