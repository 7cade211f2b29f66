#include "tools/wordmaking/EntryStore.h"

#include "core/dict/WordLibrary.h"
#include "ui/InfoMessage.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/LibraryAccess.h"

namespace tide {
namespace {

struct HintRow {
    EntryCheckStatus status;
    const wchar_t* text;
};

constexpr HintRow kHints[] = {
    {EntryCheckStatus::EmptyWord, L"词条不能为空，请输入词条。"},
    {EntryCheckStatus::EmptyCode, L"编码不能为空，请为词条编码。"},
    {EntryCheckStatus::EncodingFailed, L"自动编码失败，请为词条编码。"},
    {EntryCheckStatus::AlreadyExists, L"词条已经存在，请重新编辑。"},
};

// The library takes codes of the letters a to z only; a code pasted into the
// code edit would otherwise be refused by the store with no word of why.
constexpr wchar_t kMsgCodeNotLetters[] = L"编码只能由小写字母a～z组成，请修改编码。";
constexpr wchar_t kMsgStoreFailed[] = L"词条添加失败：当前词库无法写入或已满，请稍后再试。";

} // namespace

const wchar_t* EntryStatusHint(EntryCheckStatus status, const wchar_t* validText) {
    if (status == EntryCheckStatus::Valid) {
        return validText;
    }
    for (const HintRow& row : kHints) {
        if (row.status == status) {
            return row.text;
        }
    }
    return nullptr;
}

bool StoreUserEntry(HWND dialog, const std::wstring& code, const std::wstring& word) {
    if (!IsLetterCode(AsU16(code))) {
        ShowInfoMessage(dialog, kMsgCodeNotLetters);
        return false;
    }
    if (!AddEntryToCurrentLibrary(code.c_str(), word.c_str())) {
        ShowInfoMessage(dialog, kMsgStoreFailed);
        return false;
    }
    return true;
}

} // namespace tide
