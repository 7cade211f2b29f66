#include "win/update/OnlineUpdate.h"

#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include "core/update/InstallerCheck.h"
#include "win/Handles.h"
#include "win/MakerSite.h"
#include "win/PathBuffer.h"
#include "win/Sha256.h"
#include "win/WideText.h"
#include "win/update/WebDownload.h"

namespace tide {
namespace {

constexpr wchar_t kVersionSection[] = L"VERSION";
constexpr DWORD kProfileTextCapacity = 260;

std::wstring TemporaryFilePath(const wchar_t* name) {
    PathBuffer path = {};
    const DWORD length = ::GetTempPathW(kPathCapacity, path);
    if (length == 0 || length >= kPathCapacity || !::PathAppendW(path, name)) {
        return {};
    }
    return path;
}

std::wstring ReadProfileText(const std::wstring& path, const wchar_t* key) {
    wchar_t text[kProfileTextCapacity] = {};
    ::GetPrivateProfileStringW(kVersionSection, key, L"", text, kProfileTextCapacity, path.c_str());
    return text;
}

} // namespace

std::optional<UpdateDescriptor> FetchLatestVersion() {
    const std::wstring path = TemporaryFilePath(kDescriptorFileName);
    if (!DownloadToFile(MakerSiteUrl(kUpdateDescriptorPath), path)) {
        return std::nullopt;
    }
    return UpdateDescriptor{ReadProfileText(path, L"Version"), ReadProfileText(path, L"Sha256")};
}

InstallerOutcome DownloadAndRunInstaller(const UpdateDescriptor& descriptor) {
    const std::wstring path = TemporaryFilePath(kInstallerFileName);
    const std::optional<Transport> transport = DownloadToFile(MakerSiteUrl(kInstallerPath), path);
    if (!transport) {
        return InstallerOutcome::DownloadFailed;
    }
    InstallerOutcome outcome = InstallerOutcome::VerificationFailed;
    {
        // Held open without write or delete sharing from the check until the
        // installer has started, so nobody can swap the checked file.
        FileHandle installer(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        const std::optional<Sha256Digest> digest =
            installer ? Sha256OfFile(installer.get()) : std::nullopt;
        const bool overHttps = *transport == Transport::Https;
        if (digest && MayRunInstaller(overHttps, AsU16(descriptor.sha256), *digest)) {
            const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(
                ::GetDesktopWindow(), L"open", path.c_str(), nullptr, L"C:\\", SW_SHOWNORMAL));
            outcome = result > 32 ? InstallerOutcome::Started : InstallerOutcome::LaunchFailed;
        }
    }
    // While the installer runs its file cannot go; otherwise it goes now.
    ::DeleteFileW(path.c_str());
    return outcome;
}

} // namespace tide
