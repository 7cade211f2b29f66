// The skin commands: skin info, unpack and pack.
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "CommandFiles.h"
#include "Commands.h"
#include "Console.h"
#include "FileIo.h"
#include "core/skin/SkinFormat.h"
#include "core/skin/SkinRecordText.h"

namespace tide::tool {

namespace {

using std::filesystem::path;

constexpr std::string_view kSkinRecordFile = "record.txt";

const char* SkinParseMessage(SkinParseError error) {
    switch (error) {
    case SkinParseError::TooShort:
        return "too short to be a skin";
    case SkinParseError::NoName:
        return "the skin has no name";
    case SkinParseError::BlobsPastEnd:
        return "the size table runs past the end of the file";
    case SkinParseError::NoStatusImage:
        return "the status window image is missing";
    case SkinParseError::NoCandidateImage:
        return "neither candidate background is present";
    case SkinParseError::None:
        break;
    }
    return "";
}

std::string_view AsChars(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

// Runs `use` on the skin read from `file`, or reports why there is none.
template <typename Use>
int WithSkin(const path& file, Use use) {
    const auto bytes = ReadInput(file);
    if (!bytes) {
        return 1;
    }
    SkinParseError error = SkinParseError::None;
    const auto skin = ParseSkin(*bytes, &error);
    if (!skin) {
        return Fail(std::string(SkinParseMessage(error)) + ": " + PathText(file));
    }
    return use(*skin);
}

// The names `skin unpack` writes into its folder.
bool IsSkinFileName(const path& name) {
    if (name == path(kSkinRecordFile)) {
        return true;
    }
    for (const auto& slot : kSkinSlots) {
        if (name == path(slot.fileName)) {
            return true;
        }
    }
    return false;
}

// What the folder given to `skin unpack` is. Any other folder is refused:
// unpacking must not mix a skin with, or overwrite, files it did not write.
// A folder that holds only a skin's files (or is a symlink) is Filled: they
// are replaced one by one.
std::optional<FolderTarget> ClassifyUnpackTarget(const path& folder) {
    std::error_code error;
    const auto link = std::filesystem::symlink_status(folder, error);
    if (link.type() == std::filesystem::file_type::not_found) {
        return FolderTarget::New;
    }
    if (error) { // a name too long, a folder that cannot be searched
        Fail("cannot write into " + PathText(folder));
        return std::nullopt;
    }
    if (!std::filesystem::is_directory(std::filesystem::status(folder, error)) || error) {
        Fail("not a folder: " + PathText(folder));
        return std::nullopt;
    }
    bool empty = true;
    std::filesystem::directory_iterator entry(folder, error);
    for (; !error && entry != std::filesystem::directory_iterator(); entry.increment(error)) {
        empty = false;
        std::error_code typeError;
        if (entry->symlink_status(typeError).type() != std::filesystem::file_type::regular ||
            !IsSkinFileName(entry->path().filename())) {
            Fail(
                "the folder holds more than a skin's files (unpack into a new or empty "
                "folder): " +
                PathText(folder));
            return std::nullopt;
        }
    }
    if (error) {
        Fail("cannot read the folder " + PathText(folder));
        return std::nullopt;
    }
    return empty && link.type() == std::filesystem::file_type::directory ? FolderTarget::Empty
                                                                         : FolderTarget::Filled;
}

// All or nothing: the skin's files replace the folder's (ReplaceFolderWith);
// images the skin lacks go, as they would from a fresh unpack.
int UnpackSkin(const ParsedSkin& skin, const path& input, const path& folder) {
    const std::string record = SkinRecordToText(skin.record);
    std::vector<FolderFile> files = {{kSkinRecordFile, record}};
    std::vector<std::string_view> lacking;
    for (const auto& slot : kSkinSlots) {
        if (!skin.blobs[slot.slot].empty()) {
            files.push_back({slot.fileName, AsChars(skin.blobs[slot.slot])});
        } else {
            lacking.push_back(slot.fileName);
        }
    }
    // Nothing unpacking writes or removes may be the skin being read.
    if (!Distinct(input, folder / kSkinRecordFile)) {
        return 1;
    }
    for (const auto& slot : kSkinSlots) {
        if (!Distinct(input, folder / slot.fileName)) {
            return 1;
        }
    }
    const auto target = ClassifyUnpackTarget(folder);
    if (!target) {
        return 1;
    }
    const FolderWriteResult result = ReplaceFolderWith(folder, *target, files, lacking);
    switch (result.error) {
    case FolderWriteError::None:
        return 0;
    case FolderWriteError::NoPlace:
        return Fail("cannot unpack into " + PathText(folder));
    case FolderWriteError::CannotWrite:
        break;
    case FolderWriteError::FileFailed:
        return Fail("cannot write " + PathText(result.file));
    }
    return Fail("cannot write into " + PathText(folder));
}

} // namespace

int SkinInfo(Arguments arguments) {
    return WithSkin(arguments[0], [](const ParsedSkin& skin) {
        const SkinRecord& r = skin.record;
        PrintLine(stdout, "name: " + Utf8(SkinText(r.name)));
        PrintLine(stdout, "version: " + Utf8(SkinText(r.version)));
        PrintLine(stdout, "author: " + Utf8(SkinText(r.author)));
        PrintLine(stdout, "complete: " + std::to_string(r.complete));
        for (const auto& slot : kSkinSlots) {
            PrintLine(stdout,
                      std::string(slot.fileName) + ": " + std::to_string(skin.sizes[slot.slot]));
        }
        return 0;
    });
}

int SkinUnpack(Arguments arguments) {
    const path& input = arguments[0];
    const path& folder = arguments[1];
    return WithSkin(input, [&](const ParsedSkin& skin) { return UnpackSkin(skin, input, folder); });
}

int SkinPack(Arguments arguments) {
    const path& folder = arguments[0];
    const path& output = arguments[1];
    const path recordFile = folder / kSkinRecordFile;
    if (!Distinct(recordFile, output)) {
        return 1;
    }
    const auto text = ReadInput(recordFile);
    if (!text) {
        return 1;
    }
    SkinRecord empty;
    std::memset(&empty, 0, sizeof(empty));
    std::string error;
    const auto record = SkinRecordFromText(AsChars(*text), empty, &error);
    if (!record) {
        return Fail(PathText(recordFile) + ": " + error);
    }
    std::array<std::vector<std::uint8_t>, kSkinSlotCount> blobs;
    for (const auto& slot : kSkinSlots) {
        const path image = folder / slot.fileName;
        std::error_code statusError;
        if (std::filesystem::status(image, statusError).type() ==
            std::filesystem::file_type::not_found) {
            continue;
        }
        if (!Distinct(image, output)) {
            return 1;
        }
        auto bytes = ReadInput(image);
        if (!bytes) {
            return 1;
        }
        blobs[slot.slot] = std::move(*bytes);
    }
    const std::vector<std::uint8_t> bytes = SerializeSkin(*record, blobs);
    // Read back as `skin info` and the input method read it: a skin that would
    // not load is not written.
    SkinParseError parseError = SkinParseError::None;
    if (!ParseSkin(bytes, &parseError)) {
        return Fail("the skin would not load (" + std::string(SkinParseMessage(parseError)) +
                    "): " + PathText(folder));
    }
    return WriteBytes(output, bytes) ? 0 : Fail("cannot write " + PathText(output));
}

} // namespace tide::tool
