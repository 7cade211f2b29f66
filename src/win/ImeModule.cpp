#include "win/ImeModule.h"

#include <shlobj.h>
#include <shlwapi.h>

#include "TideVersion.h"
#include "core/contract/ImeContract.h"
#include "win/Handles.h"
#include "win/WideText.h"

namespace tide {
namespace {

// FOLDERID_SystemX86, the 32-bit system folder.
constexpr GUID kFolderSystemX86 = {
    0xD65231B0, 0xB2F1, 0x4857, {0xA4, 0xCE, 0xA8, 0xE7, 0xC6, 0xEA, 0x7D, 0x27}};
// CSIDL_SYSTEMX86, for systems without known folders (Windows XP).
constexpr int kLegacySystemX86Folder = 41;

using GetKnownFolderPathFn = HRESULT(WINAPI*)(REFGUID, DWORD, HANDLE, PWSTR*);

bool QuerySystemX86Folder(PathBuffer& buffer) {
    HMODULE shell = ::GetModuleHandleW(L"Shell32.dll");
    const auto getKnownFolderPath =
        shell ? reinterpret_cast<GetKnownFolderPathFn>(
                    reinterpret_cast<void*>(::GetProcAddress(shell, "SHGetKnownFolderPath")))
              : nullptr;
    if (getKnownFolderPath) {
        TaskMemoryString folder;
        if (FAILED(getKnownFolderPath(kFolderSystemX86, 0, nullptr, folder.put())) || !folder) {
            return false;
        }
        return CopyToBuffer(folder.get(), buffer, kPathCapacity);
    }
    return ::SHGetSpecialFolderPathW(nullptr, buffer, kLegacySystemX86Folder, FALSE) != FALSE;
}

} // namespace

int ReadFileVersion(const wchar_t* path, DWORD* outHigh, DWORD* outLow, std::wstring* outText) {
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0) {
        return 0;
    }
    GlobalMemory memory(::GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size));
    GlobalLockGuard locked(memory.get());
    if (!locked.get() || !::GetFileVersionInfoW(path, 0, size, locked.get())) {
        return 0;
    }
    void* value = nullptr;
    UINT valueSize = 0;
    if (::VerQueryValueW(locked.get(), L"\\", &value, &valueSize) &&
        valueSize >= sizeof(VS_FIXEDFILEINFO)) {
        const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
        if (outHigh) {
            *outHigh = fixed->dwFileVersionMS;
        }
        if (outLow) {
            *outLow = fixed->dwFileVersionLS;
        }
    }
    if (!::VerQueryValueW(locked.get(), kFileVersionTextQuery, &value, &valueSize) || !value) {
        return 0;
    }
    if (outText) {
        // valueSize counts characters and includes the terminator when present.
        const std::wstring_view text(static_cast<const wchar_t*>(value), valueSize);
        *outText = std::wstring(text.substr(0, text.find(L'\0')));
    }
    return 1;
}

std::wstring ImeFileNameForModule(const wchar_t* modulePath) {
    // A build without version information still names the module after the
    // version this program was built as.
    DWORD high = (TIDE_VERSION_MAJOR << 16) | TIDE_VERSION_MINOR;
    DWORD low = (TIDE_VERSION_PATCH << 16) | TIDE_VERSION_BUILD;
    ReadFileVersion(modulePath, &high, &low, nullptr);
    return ToWide(ImeFileNameForNumber(ImeModuleNumber(high, low)));
}

void MakeImeFileName(PathBuffer& buffer) {
    PathBuffer self;
    const DWORD length = ::GetModuleFileNameW(nullptr, self, kPathCapacity);
    if (length == 0 || length >= kPathCapacity) {
        self[0] = L'\0';
    }
    CopyToBuffer(ImeFileNameForModule(self), buffer, kPathCapacity);
}

void GetImeFilePath(PathBuffer& buffer) {
    if (!QuerySystemX86Folder(buffer)) {
        buffer[0] = L'\0';
    }
    PathBuffer name;
    MakeImeFileName(name);
    ::PathAppendW(buffer, name);
}

std::wstring InstalledImeVersionText() {
    PathBuffer path;
    GetImeFilePath(path);
    std::wstring text;
    ReadFileVersion(path, nullptr, nullptr, &text);
    return text;
}

} // namespace tide
