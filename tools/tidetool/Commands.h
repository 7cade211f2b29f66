// tidetool's commands: the row of the command table (TideTool.cpp) and the
// functions each family of commands runs. A new family is a file of run
// functions, declared here, and its rows in the table.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <span>
#include <string_view>

namespace tide::tool {

// The arguments after a command's words.
using Arguments = std::span<const std::filesystem::path>;

// What a command returns for arguments it cannot take: the usage text is
// printed and this is the exit status.
inline constexpr int kUsageError = 2;

struct Command {
    std::array<std::string_view, 2> words; // "compile", or "user" and "add"
    std::string_view synopsis;             // its arguments as the usage text shows them
    std::size_t arguments;                 // how many follow the words
    int (*run)(Arguments arguments);       // an exit status, or kUsageError
    std::string_view help;                 // one line of the usage text
    bool repeatsLast = false;              // the last argument may be given again and again
};

// Word libraries (LibraryCommands.cpp).
int Compile(Arguments arguments);
int Export(Arguments arguments);
int Info(Arguments arguments);
int Encode(Arguments arguments);
int Pack(Arguments arguments);
int Unpack(Arguments arguments);

// A library's user entries (UserCommands.cpp).
int UserList(Arguments arguments);
int UserAdd(Arguments arguments);
int UserRemove(Arguments arguments);
int UserImport(Arguments arguments);
int UserExport(Arguments arguments);

// Other input methods' word lists (WordListCommands.cpp).
int Words(Arguments arguments);

// Skin files (SkinCommands.cpp).
int SkinInfo(Arguments arguments);
int SkinUnpack(Arguments arguments);
int SkinPack(Arguments arguments);

// Code tables of other input methods (ConvertCommand.cpp).
int Convert(Arguments arguments);

// A table maker's figures and 反查 (StatsCommands.cpp).
int Stats(Arguments arguments);
int StatsFrom(Arguments arguments);
int Report(Arguments arguments);
int ReportFrom(Arguments arguments);
int Lookup(Arguments arguments);

} // namespace tide::tool
