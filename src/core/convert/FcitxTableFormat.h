// The text table of fcitx (read and written by fcitx 4's txt2mb/mb2txt and
// libime's libime_tabledict): header lines (KeyCode=, Length=, Pinyin=,
// Prompt=, ConstructPhrase=, InvalidChar=; the Chinese key names too), an
// optional [Rule] section ("e2=p11+p12+p21+p22"), then [Data] with one
// "code word" per line. Pinyin, prompt and construct-phrase lines (a code
// starting with the declared key) are not entries: they are counted and
// dropped.
#pragma once

#include <string>
#include <string_view>

#include "core/convert/TableModel.h"

namespace tide {

// Entries point into `text`, which must outlive the table.
LoadedTable ReadFcitxTable(std::string_view text);

// The file for `table`: KeyCode= the letters its codes use, Length= the
// longest code, its rules, its entries in order. Entries the format cannot
// hold are counted in `skipped`; empty with `error` set when a rule cannot
// be expressed.
std::string WriteFcitxTable(const LoadedTable& table, SkippedLines& skipped,
                            std::vector<std::string>& notes, std::string& error);

} // namespace tide
