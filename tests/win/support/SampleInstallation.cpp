#include "support/SampleInstallation.h"

#include "core/config/ConfigRecord.h"
#include "core/dict/WordLibrary.h"
#include "win/InstallPaths.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/CodeTableImport.h"
#include "win/dict/LibraryAccess.h"

namespace tide::test {

SampleInstallation::SampleInstallation()
    : setupLocation_(kInstallKeyPath, kInstallValueName, folder_.path()) {
    ::CreateDirectoryW(installDir().c_str(), nullptr);
    compiled_ = CompileCodeTable(L"" TIDE_SOURCE_DIR L"/data/dict/Tide-sample.txt",
                                 library().c_str(), FALSE) != FALSE;
    ConfigRecord record = {};
    LoadConfig(record); // the first start makes Tide.imc current
}

std::vector<std::wstring> SampleInstallation::UserEntries() const {
    std::vector<std::wstring> entries;
    auto handle = OpenLibrary(library().c_str(), true);
    const auto view = handle ? handle->library().view() : std::nullopt;
    if (view) {
        for (const UserEntry& entry : ListUserEntries(*view).value_or(std::vector<UserEntry>())) {
            entries.push_back(ToWide(entry.code) + L"=" + ToWide(entry.word));
        }
    }
    return entries;
}

} // namespace tide::test
