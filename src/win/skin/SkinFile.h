// A skin file in memory: its record, size table and 22 images, and while it is
// loaded, the read-only mapping it was read from (shared by name with the
// input method).
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <vector>

#include "core/skin/SkinFormat.h"
#include "win/FileMapping.h"
#include "win/ImageCodec.h"

namespace tide {

class SkinFile {
public:
    SkinFile();
    SkinFile(const SkinFile&) = delete;
    SkinFile& operator=(const SkinFile&) = delete;
    ~SkinFile() { Close(); }

    // Reads the skin at `path` through the mapping "TIDE_SKIN_" + its file
    // name (an existing mapping first). False when it does not load; the
    // mapping and any images read so far stay until Close.
    bool Load(const wchar_t* path);
    // Writes record, size table and images (as PNG) into the file in place,
    // from offset 0, without truncating it. False when the file cannot be
    // opened for writing or not every byte was written.
    bool Save(const wchar_t* path);
    // Drops the images and zeroes the record and size table; the mapping stays.
    void ReleaseImages();
    // ReleaseImages, then unmaps the view and closes the mapping.
    void Close();
    // Closes the mapping and keeps record and images (they are copies), so the
    // file it was loaded from can be written again.
    void Unmap() { mapping_.reset(); }

    SkinRecord& record() { return record_; }
    const SkinRecord& record() const { return record_; }
    const std::array<std::uint32_t, kSkinSlotCount>& sizes() const { return sizes_; }
    Gdiplus::GpImage* image(SkinSlot slot) const { return images_[slot].get(); }
    // Whether the slot holds an image: decoded, or bytes read that do not
    // decode (kept as they are, and saved back so).
    bool holds(SkinSlot slot) const { return images_[slot] || !undecoded_[slot].empty(); }
    // Replaces the slot's image (an empty one empties the slot).
    void SetImage(SkinSlot slot, GdiplusImage image) {
        images_[slot] = std::move(image);
        undecoded_[slot].clear();
    }

private:
    SkinRecord record_;
    std::array<std::uint32_t, kSkinSlotCount> sizes_;
    std::array<GdiplusImage, kSkinSlotCount> images_;
    std::array<std::vector<std::uint8_t>, kSkinSlotCount> undecoded_;
    FileMapping mapping_;
};

// Reads the skin file at `path` itself (not a mapping of its name) and, when
// it is a skin, copies its record to `destination` (left as it was
// otherwise). Returns whether it was one.
bool ReadSkinRecord(const wchar_t* path, SkinRecord& destination);

} // namespace tide
