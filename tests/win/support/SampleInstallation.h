// An installation of its own for tests of the tools that work on user
// entries: InstallDir points into a scratch folder whose Tide.imc is compiled
// from the sample table and made current (祖 has no code there; 我们 is one
// of its phrases).
#pragma once

#include <string>
#include <vector>

#include "support/WinTestSupport.h"

namespace tide::test {

class SampleInstallation {
public:
    SampleInstallation();
    SampleInstallation(const SampleInstallation&) = delete;
    SampleInstallation& operator=(const SampleInstallation&) = delete;

    bool ready() const { return compiled_; }
    const ScratchFolder& folder() const { return folder_; }
    std::wstring installDir() const { return folder_ / L"Tide"; }
    std::wstring library() const { return installDir() + L"\\Tide.imc"; }

    // "code=word" of every user entry of the library, in its walk order.
    std::vector<std::wstring> UserEntries() const;

private:
    ScratchFolder folder_;
    ScopedUserRegistryValue setupLocation_;
    bool compiled_ = false;
};

} // namespace tide::test
