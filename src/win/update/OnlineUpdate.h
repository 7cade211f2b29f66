// The update files on the maker's web site: the descriptor naming the latest
// version, and the installer, fetched into the temporary folder. Both
// downloads block the calling thread until they end.
#pragma once

#include <optional>
#include <string>

namespace tide {

inline constexpr wchar_t kUpdateDescriptorPath[] = L"/Tide/Update.txt";
inline constexpr wchar_t kInstallerPath[] = L"/Tide/Tide.exe";
inline constexpr wchar_t kDescriptorFileName[] = L"Update.ini";
inline constexpr wchar_t kInstallerFileName[] = L"Tide.exe";

// Section VERSION of the descriptor (a profile file): the latest version
// text, and the installer's SHA-256 as 64 hexadecimal digits when given.
struct UpdateDescriptor {
    std::wstring version;
    std::wstring sha256;
};

// Fetches the descriptor from the site to "Update.ini" in the temporary
// folder and reads it; nothing when the download fails.
std::optional<UpdateDescriptor> FetchLatestVersion();

enum class InstallerOutcome {
    Started,
    DownloadFailed,
    // Neither fetched over https nor matching the published digest: deleted.
    VerificationFailed,
    LaunchFailed,
};

// Fetches the installer to "Tide.exe" in the temporary folder and starts it
// when it may run (see MayRunInstaller). The file cannot be changed between
// its check and its start; it is deleted afterwards when it is not in use.
InstallerOutcome DownloadAndRunInstaller(const UpdateDescriptor& descriptor);

} // namespace tide
