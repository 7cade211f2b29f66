// Text on tidetool's console: output, names and arguments as text, and
// refusals. The console takes UTF-8.
#pragma once

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace tide::tool {

void Print(std::FILE* stream, std::string_view text);
void PrintLine(std::FILE* stream, std::string_view text);

std::string Utf8(std::u16string_view text);
// The bytes with each one that does not begin a well-formed UTF-8 sequence
// (overlong forms and encoded surrogates too) shown as U+FFFD.
std::string CleanUtf8(std::string_view bytes);

// File names and arguments reach the commands as the system gave them (a
// POSIX name may hold any bytes, a Windows one unpaired surrogates); these
// conversions never throw, unlike path::u16string() and path::string().
//
// For messages and command words.
std::string PathText(const std::filesystem::path& file);
// An argument taken as text, or nothing when it is not valid Unicode.
std::optional<std::u16string> ArgumentText(const std::filesystem::path& argument);

// Prints "tidetool: " and the message on stderr; returns 1, a refusal's exit status.
int Fail(const std::string& message);

} // namespace tide::tool
