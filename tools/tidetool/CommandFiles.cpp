#include "CommandFiles.h"

#include <string>
#include <string_view>
#include <system_error>

#include "Console.h"
#include "core/dict/LibraryView.h"

namespace tide::tool {

namespace {

using std::filesystem::path;

// A name made absolute, with symlinks of its existing part resolved, for
// comparing names of files that may not exist yet.
path NormalPath(const path& file) {
    std::error_code error;
    path normal = std::filesystem::weakly_canonical(file, error);
    if (error || normal.empty()) {
        normal = std::filesystem::absolute(file, error);
        normal = (error ? file : normal).lexically_normal();
    }
    return normal;
}

// True when writing `output` would overwrite `input`.
bool SameFile(const path& input, const path& output) {
    std::error_code error;
    if (std::filesystem::equivalent(input, output, error) && !error) {
        return true;
    }
    return NormalPath(input) == NormalPath(output);
}

} // namespace

int ReadFailure(ReadError error, const path& file) {
    switch (error) {
    case ReadError::NotAFile:
        return Fail("not a file: " + PathText(file));
    case ReadError::TooLarge:
        return Fail("too large to read: " + PathText(file));
    default:
        return Fail("cannot read " + PathText(file));
    }
}

std::optional<std::vector<std::uint8_t>> ReadInput(const path& file) {
    ReadError error = ReadError::None;
    auto bytes = ReadWholeFile(file, &error);
    if (!bytes) {
        ReadFailure(error, file);
    }
    return bytes;
}

std::optional<GrowableBytes> ReadLibraryFile(const path& file, std::size_t spare) {
    ReadError readError = ReadError::None;
    auto bytes = ReadGrowableFile(file, &readError, spare);
    if (!bytes) {
        ReadFailure(readError, file);
        return std::nullopt;
    }
    LibraryOpenError error = LibraryOpenError::None;
    const auto view = LibraryView::Open(*bytes, &error);
    if (!view || !view->Verify()) {
        Fail((error == LibraryOpenError::NotALibrary ? "not a word library: "
                                                     : "damaged word library: ") +
             PathText(file));
        return std::nullopt;
    }
    return bytes;
}

std::optional<GrowableBytes> ReadLibraryFileFor(const path& file, const path& output) {
    if (!Distinct(file, output)) {
        return std::nullopt;
    }
    return ReadLibraryFile(file);
}

std::optional<MappedInput> OpenTextInputFor(const path& input, const path& output) {
    if (!Distinct(input, output)) {
        return std::nullopt;
    }
    ReadError error = ReadError::None;
    auto opened = MappedInput::Open(input, &error);
    if (!opened) {
        ReadFailure(error, input);
    }
    return opened;
}

bool WriteBytes(const path& file, std::span<const std::uint8_t> bytes) {
    return ReplaceFileWith(
        file, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

bool Distinct(const path& input, const path& output) {
    if (!SameFile(input, output)) {
        return true;
    }
    Fail("input and output are the same file: " + PathText(output));
    return false;
}

std::string TableStem(const path& file) {
    std::string name = PathText(file.filename());
    for (const std::string_view suffix : {".dict.yaml", ".txt", ".yaml"}) {
        if (name.size() > suffix.size() && name.ends_with(suffix)) {
            name.resize(name.size() - suffix.size());
            break;
        }
    }
    return name;
}

std::optional<std::string> ReadImportedTable(const path& table, const path& output,
                                             std::string_view name) {
    const path file =
        table.parent_path() / path(std::u8string(name.begin(), name.end()) + u8".dict.yaml");
    if (!output.empty() && !Distinct(file, output)) {
        return std::nullopt;
    }
    ReadError error{};
    const auto bytes = ReadWholeFile(file, &error);
    if (!bytes) {
        ReadFailure(error, file);
        return std::nullopt;
    }
    return std::string(bytes->begin(), bytes->end());
}

} // namespace tide::tool
