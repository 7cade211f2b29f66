#include "win/skin/SkinFile.h"

#include <shlwapi.h>

#include <cstring>
#include <string>

#include "core/contract/ImeContract.h"
#include "win/FileAccess.h"
#include "win/WideText.h"

namespace tide {

SkinFile::SkinFile() {
    std::memset(&record_, 0, sizeof(record_));
    sizes_.fill(0);
}

bool SkinFile::Load(const wchar_t* path) {
    if (::GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES) {
        return false;
    }
    const std::wstring name =
        ToWide(MappingNameForFile(kSkinMappingPrefix, AsU16(::PathFindFileNameW(path))));
    LARGE_INTEGER size = {};
    {
        FileHandle file(::CreateFileW(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart == 0 ||
            size.QuadPart > 0x7FFFFFFF) {
            return false;
        }
        // An existing mapping may hold another file's bytes of the same name;
        // it is read no further than both the file and the view reach.
        mapping_ = FileMapping::OpenOrCreate(name.c_str(), file.get(),
                                             static_cast<std::uint64_t>(size.QuadPart),
                                             FileMapping::Access::ReadOnly);
    }
    if (!mapping_) {
        return false;
    }
    const auto skin = ParseSkin(mapping_.bytes());
    if (!skin) {
        if (mapping_.size() >= kSkinRecordSize) {
            std::memcpy(&record_, mapping_.data(), kSkinRecordSize);
        }
        return false;
    }
    record_ = skin->record;
    sizes_ = skin->sizes;
    for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
        const auto blob = skin->blobs[slot];
        images_[slot] = ImageFromBytes(blob);
        undecoded_[slot].clear();
        if (!images_[slot] && !blob.empty()) {
            undecoded_[slot].assign(blob.begin(), blob.end());
        }
    }
    return true;
}

bool SkinFile::Save(const wchar_t* path) {
    std::array<std::vector<std::uint8_t>, kSkinSlotCount> blobs;
    for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
        if (images_[slot]) {
            // An image the encoder refuses is written as an empty slot.
            blobs[slot] = EncodePng(images_[slot].get()).value_or(std::vector<std::uint8_t>());
        } else {
            blobs[slot] = undecoded_[slot]; // what did not decode goes back as it came
        }
    }
    FileHandle file(::CreateFileW(path, GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        return false;
    }
    record_.reserved = 0;
    const std::vector<std::uint8_t> bytes = SerializeSkin(record_, blobs);
    DWORD written = 0;
    const bool whole = ::WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                   &written, nullptr) &&
                       written == bytes.size();
    for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
        sizes_[slot] = static_cast<std::uint32_t>(blobs[slot].size());
    }
    return whole;
}

void SkinFile::ReleaseImages() {
    for (auto& image : images_) {
        image.reset();
    }
    for (auto& bytes : undecoded_) {
        bytes.clear();
    }
    std::memset(&record_, 0, sizeof(record_));
    sizes_.fill(0);
}

void SkinFile::Close() {
    ReleaseImages();
    mapping_.reset();
}

bool ReadSkinRecord(const wchar_t* path, SkinRecord& destination) {
    // The file itself, never a mapping of its name: the installed skin of the
    // same name (mapped by the preview and the input method) is another file.
    const auto file = ReadOnlyFileView::Open(path);
    const auto skin = file ? ParseSkin(file->bytes()) : std::nullopt;
    if (!skin) {
        return false;
    }
    destination = skin->record;
    return true;
}

} // namespace tide
