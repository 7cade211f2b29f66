#include "win/config/ConfigStorage.h"

#include <shlwapi.h>

#include <cstring>
#include <string>

#include "core/config/InfoMessageText.h"
#include "win/FileMapping.h"
#include "win/Handles.h"
#include "win/InstallPaths.h"
#include "win/InstalledFiles.h"
#include "win/ProcessGlobals.h"
#include "win/WideText.h"

namespace tide {
namespace {

constexpr DWORD kRecordBytes = static_cast<DWORD>(kConfigRecordSize);

// The shared mapping and its view, open for one load or save.
class SharedConfigStorage {
public:
    // Opens (or creates) the mapping and fills it from "Tide.cfg"; a missing
    // file is created from the defaults with file names.
    bool Open() {
        const std::wstring name = ToWide(kConfigMappingName);
        // A mapping of that name too small for the record is refused rather
        // than written past.
        mapping_ =
            FileMapping::OpenOrCreate(name.c_str(), INVALID_HANDLE_VALUE, kRecordBytes,
                                      FileMapping::Access::ReadWrite, FileMapping::Fit::Exactly);
        if (!mapping_) {
            return false;
        }
        PathBuffer path;
        GetConfigFilePath(path);
        if (IsExistingFile(path)) {
            // The file is the master copy: read into the view on every open.
            // A shorter file replaces only the beginning of the view.
            FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                          nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
            DWORD read = 0;
            if (!file || !::ReadFile(file.get(), mapping_.data(), kRecordBytes, &read, nullptr)) {
                mapping_.reset();
                return false;
            }
            return true;
        }
        ConfigRecord defaults = {};
        SetDefaultConfig(defaults, 1);
        Write(defaults, path);
        return true;
    }

    // Copies the record into the view, then into the file without truncating
    // it. True when all 476 bytes reached the file.
    bool Write(ConfigRecord record, const wchar_t* path) {
        if (!mapping_) {
            return false;
        }
        std::memcpy(mapping_.data(), &record, kConfigRecordSize);
        FileHandle file(::CreateFileW(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            return false;
        }
        record.RecordSize = static_cast<std::uint16_t>(kConfigRecordSize);
        DWORD written = 0;
        return ::WriteFile(file.get(), &record, kRecordBytes, &written, nullptr) &&
               written == kRecordBytes;
    }

    const void* view() const { return mapping_.data(); }

private:
    FileMapping mapping_;
};

// The first file matching `pattern` (relative to InstallDir) in directory
// order whose long name ends in `extension` and fits a name field.
bool ChooseInstalledFile(const wchar_t* preferred, const wchar_t* pattern, const wchar_t* extension,
                         char16_t (&field)[kConfigNameUnits]) {
    PathBuffer path;
    if (!QueryInstallDir(path) || !::PathAppendW(path, preferred)) {
        return false;
    }
    if (IsExistingFile(path)) {
        return SetFixedText(field, AsU16(::PathFindFileNameW(path)));
    }
    // A name too long for the record could never be opened again from it:
    // skip it rather than store it cut short.
    for (const std::wstring& name : ListInstalledFiles(pattern, extension)) {
        if (SetFixedText(field, AsU16(name))) {
            return true;
        }
    }
    return false;
}

} // namespace

void LoadConfig(ConfigRecord& record) {
    SharedConfigStorage storage;
    if (storage.Open()) {
        std::memcpy(&record, storage.view(), kConfigRecordSize);
    } else {
        SetDefaultConfig(record, 0);
    }
}

int SaveConfig(ConfigRecord record) {
    SharedConfigStorage storage;
    if (!storage.Open()) {
        return kSaveFailed;
    }
    PathBuffer path;
    GetConfigFilePath(path);
    const bool fileWritten = storage.Write(record, path);
    PostChangeNotice(ChangeCode::ConfigSaved);
    return fileWritten ? kSaved : kSavedToMappingOnly;
}

void SetDefaultConfig(ConfigRecord& record, int withFileNames) {
    SetDefaultFixedFields(record);
    if (!withFileNames) {
        return;
    }
    ChooseInstalledFile(L"Tide.imc", L"*.imc", L".imc", record.DictionaryFileName);
    ChooseInstalledFile(L"Skin\\Tide.ims", L"Skin\\*.ims", L".ims", record.SkinFileName);
}

void GetCurrentDictionaryPath(PathBuffer& buffer) {
    ConfigRecord record = {};
    LoadConfig(record);
    if (!QueryInstallDir(buffer)) {
        buffer[0] = L'\0';
    }
    ::PathAppendW(buffer, ToWide(FixedText(record.DictionaryFileName)).c_str());
}

} // namespace tide
