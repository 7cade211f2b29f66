// The messages of reading and compiling a code table, as the user sees them.
#pragma once

#include <string_view>

namespace tide {

inline constexpr std::u16string_view kMsgTableReaderFailed =
    u"词库文件对象创建失败，请注销当前用户或重启计算机重试。";
inline constexpr std::u16string_view kMsgTableOpenFailed = u"词库文件打开失败，不能读取词库文件。";
inline constexpr std::u16string_view kMsgTableNotUtf16 =
    u"词库文件编码格式错误，请使用 Unicode Little Endian 编码格式的词库文件。";
inline constexpr std::u16string_view kMsgHeaderMissing = u"词库头缺失，不能生成码表。";
inline constexpr std::u16string_view kMsgHeaderInvalid = u"词库头不正确，不能生成码表。";
inline constexpr std::u16string_view kMsgRulesExtra = u"构词规则多余，请删除。";
inline constexpr std::u16string_view kMsgRulesMissing = u"构词规则缺失，请添加。";
// Followed by the line's number in the file and its code (at most
// kIllegalCodeShownUnits of it).
inline constexpr std::u16string_view kMsgIllegalCodeBefore = u"词库文件第";
inline constexpr std::size_t kIllegalCodeShownUnits = 32;
inline constexpr std::u16string_view kMsgIllegalCodeMiddle =
    u"行词条编码中含有非法码元，请更正。\r\n错误编码为：";
inline constexpr std::u16string_view kMsgLibrarySaveFailed = u"码表保存失败，词库导入失败！";
// A library's offsets and lengths are 32-bit: no table may compile past 4 GiB.
inline constexpr std::u16string_view kMsgLibraryTooLarge =
    u"码表过大，超出词库文件的容量（4 GB），不能生成码表。";

} // namespace tide
