#include "tools/userdict/UserDictDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <initializer_list>
#include <new>
#include <string>

#include "core/dict/CodeTableText.h"
#include "core/dict/ForeignImport.h"
#include "core/dict/ForeignWordList.h"
#include "core/dict/UserEntryFile.h"
#include "ui/Buttons.h"
#include "ui/CommandTable.h"
#include "ui/Controls.h"
#include "ui/FileDialogs.h"
#include "ui/ResourceIds.h"
#include "ui/InfoMessage.h"
#include "win/FileAccess.h"
#include "win/MakerSite.h"
#include "win/WideText.h"
#include "win/config/ConfigStorage.h"
#include "win/dict/LibraryAccess.h"

namespace tide {
namespace {

enum ControlId : int { kListId = 256, kHelpId, kImportId = 272, kDeleteId, kExportId, kClearId };
constexpr wchar_t kHelpPage[] = L"/guide/guide7.html";

constexpr ColumnButtonRow kColumnButtons[] = {
    {kCommandButtonClass, L"导入", kImportId, 45, kIconImport},
    {kCommandButtonClass, L"导出", kExportId, 59, kIconExport},
    {kCommandButtonClass, L"删除", kDeleteId, 87, kIconRemove},
    {kCommandButtonClass, L"清空", kClearId, 101, kIconClear},
    {kCommandButtonClass, L"帮助", kHelpId, 129, kIconHelp},
    {kCommandButtonClass, L"确定", IDOK, 143, kIconOk},
};

constexpr DWORD kListStyle = LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS | LVS_SORTASCENDING |
                             LVS_OWNERDATA | WS_BORDER | WS_TABSTOP;
constexpr DWORD kListExStyle = LVS_EX_GRIDLINES | LVS_EX_FULLROWSELECT | LVS_EX_UNDERLINEHOT;

struct ColumnRow {
    const wchar_t* caption;
    int numerator; // of the list's client width
    int denominator;
};
constexpr ColumnRow kColumns[] = {
    {L"序号", 1, 5},
    {L"编码", 1, 4},
    {L"词条", 11, 20},
};
constexpr std::size_t kShownUnits = 260;

constexpr wchar_t kMsgReaderFailed[] = L"导入文件对象创建失败，不能导入词条！";
constexpr wchar_t kMsgNotUnicode[] = L"导入文件不是UNICODE文本格式，不能导入词条！";
constexpr wchar_t kMsgOpenFailed[] = L"导入文件打开失败，不能导入词条！";
constexpr wchar_t kMsgLibraryFailed[] = L"系统码表打开失败，不能导入词条！";
constexpr wchar_t kMsgEncodingFailed[] = L"导入文件第%d行词条自动编码失败，失败词条为：%s";
constexpr wchar_t kMsgIllegalCode[] = L"导入文件第%d行词条编码中含有非法字符，错误编码为：%s";
constexpr wchar_t kMsgEntryRefused[] = L"导入文件第%d行词条无法写入词库，失败词条为：%s";
constexpr wchar_t kMsgSummary[] =
    L"词条导入完成！\r\n\r\n导入文件共有%d条词条，\r\n系统或用户词库已收录%d条，\r\n实际导入%d条。";
constexpr wchar_t kMsgSummaryFull[] =
    L"词库空间已满，词条导入未能完成！\r\n\r\n已读取%d条词条，\r\n系统或用户词库已收录%d条，\r\n"
    L"实际导入%d条，\r\n其余%d条未能导入。";
constexpr wchar_t kSummaryCaption[] = L"潮汐输入法\u3000信息";
constexpr wchar_t kAskForeign[] =
    L"检测到%s格式，共%d个词，可导入%d个（单字%d个，无法编码%d个，"
    L"已收录%d个），是否导入？";
constexpr wchar_t kMsgDamaged[] = L"导入文件已损坏，不能导入词条！";
constexpr wchar_t kMsgExported[] = L"词条导出成功！";
constexpr wchar_t kMsgExportFailed[] = L"导出文件保存失败，词条导出失败！";
constexpr wchar_t kMsgExportObjectFailed[] = L"导出文件对象创建失败，不能导出词条！";
constexpr wchar_t kMsgChooseEntry[] = L"请选择欲删除的词条！";
constexpr wchar_t kAskClear[] =
    L"温馨提示：\r\n\r\n清除操作会删除所有用户词条\r\n且不能恢复，是否继续？";
constexpr wchar_t kClearCaption[] = L"潮汐输入法 提示";

// A message with its "%d"s filled in by `numbers` in order and its "%s" by `text`.
std::wstring Format(const wchar_t* pattern, std::initializer_list<std::size_t> numbers,
                    std::u16string_view text = {}) {
    std::wstring message;
    auto number = numbers.begin();
    for (const wchar_t* p = pattern; *p; ++p) {
        if (p[0] == L'%' && p[1] == L'd' && number != numbers.end()) {
            message += std::to_wstring(*number++);
            ++p;
        } else if (p[0] == L'%' && p[1] == L's') {
            message += ToWide(text);
            ++p;
        } else {
            message += *p;
        }
    }
    return message;
}

// Entry lines of `text` from `position` on (blank lines are no entries).
std::size_t CountEntryLines(std::u16string_view text, std::size_t position) {
    CodeTableLines lines(text.substr(std::min(position, text.size())));
    std::size_t count = 0;
    while (!lines.AtEnd()) {
        count += lines.Next().empty() ? 0 : 1;
    }
    return count;
}

} // namespace

INT_PTR CUserDictDialog::HandleMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        if (ReadEntries()) {
            CreateList(dialog);
        }
        CreateColumnButtons(*this, navigationWidth(), kColumnButtons, dialog);
        UpdateButtons(dialog);
        return TRUE;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (header->idFrom != kListId) {
            return FALSE;
        }
        if (header->code == LVN_GETDISPINFOW) {
            ShowItemText(*reinterpret_cast<NMLVDISPINFOW*>(lParam));
        } else if (header->code == LVN_ITEMCHANGED || header->code == NM_CLICK) {
            UpdateButtons(dialog);
        }
        return FALSE;
    }
    case WM_COMMAND: {
        static constexpr CommandRow<CUserDictDialog> kCommands[] = {
            {kImportId, &CUserDictDialog::OnImport}, {kExportId, &CUserDictDialog::OnExport},
            {kDeleteId, &CUserDictDialog::OnDelete}, {kClearId, &CUserDictDialog::OnClear},
            {kHelpId, &CUserDictDialog::OnHelp},     {IDOK, &CUserDictDialog::EndWithOk},
        };
        return RunCommand(*this, kCommands, dialog, wParam);
    }
    default:
        return FALSE;
    }
}

bool CUserDictDialog::ReadEntries() {
    entries_.clear();
    // Reading needs no room to grow: the library is opened read-only.
    const auto handle = OpenLibrary(CurrentLibraryPath().c_str(), true);
    const auto view = handle ? handle->library().view() : std::nullopt;
    auto entries = view ? ListUserEntries(*view) : std::nullopt;
    if (!entries) {
        return false;
    }
    entries_ = std::move(*entries);
    return true;
}

void CUserDictDialog::CreateList(HWND dialog) {
    INITCOMMONCONTROLSEX classes = {sizeof(classes), ICC_LISTVIEW_CLASSES};
    ::InitCommonControlsEx(&classes);
    list_ = CreateControl(*this, WC_LISTVIEWW, L"", kListStyle, 105, 20, 180, 137, dialog, kListId);
    if (!list_) {
        return;
    }
    ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, kListExStyle, kListExStyle);
    RECT client = {};
    ::GetClientRect(list_, &client);
    for (int i = 0; i < static_cast<int>(std::size(kColumns)); ++i) {
        LVCOLUMNW column = {};
        column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        column.fmt = LVCFMT_LEFT;
        column.cx = client.right * kColumns[i].numerator / kColumns[i].denominator;
        column.pszText = const_cast<wchar_t*>(kColumns[i].caption);
        ::SendMessageW(list_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(i),
                       reinterpret_cast<LPARAM>(&column));
    }
    ::SendMessageW(list_, LVM_SETITEMCOUNT, entries_.size(), 0);
}

void CUserDictDialog::Reload(HWND dialog) {
    ReadEntries();
    if (list_) {
        ::SendMessageW(list_, LVM_SETITEMCOUNT, entries_.size(), 0);
        ::InvalidateRect(list_, nullptr, TRUE);
    }
    UpdateButtons(dialog);
}

void CUserDictDialog::UpdateButtons(HWND dialog) {
    const BOOL hasEntries = list_ && !entries_.empty() ? TRUE : FALSE;
    ::EnableWindow(::GetDlgItem(dialog, kExportId), hasEntries);
    ::EnableWindow(::GetDlgItem(dialog, kClearId), hasEntries);
    ::EnableWindow(::GetDlgItem(dialog, kDeleteId), SelectedItem(dialog) >= 0 ? TRUE : FALSE);
}

int CUserDictDialog::SelectedItem(HWND) const {
    if (!list_) {
        return -1;
    }
    const auto item = static_cast<int>(
        ::SendMessageW(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
    return item >= 0 && static_cast<std::size_t>(item) < entries_.size() ? item : -1;
}

void CUserDictDialog::ShowItemText(NMLVDISPINFOW& info) {
    if (!(info.item.mask & LVIF_TEXT) || info.item.iItem < 0 ||
        static_cast<std::size_t>(info.item.iItem) >= entries_.size()) {
        return;
    }
    const UserEntry& entry = entries_[static_cast<std::size_t>(info.item.iItem)];
    switch (info.item.iSubItem) {
    case 0:
        itemText_ = std::to_wstring(info.item.iItem);
        break;
    case 1:
        itemText_ = ToWide(entry.code);
        break;
    default:
        itemText_ = ToWide(entry.word);
        break;
    }
    itemText_.resize(std::min(itemText_.size(), kShownUnits - 1));
    info.item.pszText = itemText_.data();
}

void CUserDictDialog::OnImport(HWND dialog) {
    if (!list_) {
        return;
    }
    PathBuffer path;
    if (!ShowFileDialog(dialog, path, FileKind::OpenWordList)) {
        return;
    }
    ReadOnlyFileView::Error error = ReadOnlyFileView::Error::None;
    const auto file = ReadOnlyFileView::Open(path, &error);
    if (!file) {
        ShowInfoMessage(dialog, error == ReadOnlyFileView::Error::MapFailed ? kMsgReaderFailed
                                                                            : kMsgOpenFailed);
        return;
    }
    // Another input method's word list is a merge of its own; our form (and
    // any file that is no word list at all) is imported as it always was.
    const std::optional<WordListFormat> format = RecogniseWordList(file->bytes());
    if (format && *format != WordListFormat::Ours) {
        ImportForeignList(dialog, file->bytes());
        return;
    }
    const std::u16string_view units = file->units();
    if (units.empty() || units.front() != kByteOrderMark) {
        ShowInfoMessage(dialog, kMsgNotUnicode);
        return;
    }
    auto library = OpenLibrary(CurrentLibraryPath().c_str());
    if (!library || library->readOnly()) {
        ShowInfoMessage(dialog, kMsgLibraryFailed);
        return;
    }
    const std::u16string_view text = units.substr(1);
    UserImportProgress progress;
    ImportUserEntries(library->library(), text, progress);
    library.reset();
    switch (progress.stop) {
    case UserImportStop::EncodingFailed:
        ShowInfoMessage(
            dialog, Format(kMsgEncodingFailed, {progress.lineNumber}, progress.culprit).c_str());
        break;
    case UserImportStop::IllegalCode:
        ShowInfoMessage(dialog,
                        Format(kMsgIllegalCode, {progress.lineNumber}, progress.culprit).c_str());
        break;
    case UserImportStop::EntryRefused:
        ShowInfoMessage(
            dialog, Format(kMsgEntryRefused, {progress.lineNumber + 1}, progress.culprit).c_str());
        break;
    case UserImportStop::LibraryFull:
    case UserImportStop::None: {
        // The library the input method maps cannot grow while it holds it:
        // what did not fit is said, not passed over.
        const std::wstring summary =
            progress.stop == UserImportStop::LibraryFull
                ? Format(kMsgSummaryFull,
                         {progress.linesRead, progress.alreadyPresent(), progress.imported,
                          CountEntryLines(text, progress.position)})
                : Format(kMsgSummary,
                         {progress.linesRead, progress.alreadyPresent(), progress.imported});
        ::MessageBoxW(dialog, summary.c_str(), kSummaryCaption, MB_OK | MB_ICONINFORMATION);
        break;
    }
    }
    // Whatever was added is shown, after a stop too.
    if (progress.imported > 0) {
        Reload(dialog);
    }
}

void CUserDictDialog::ImportForeignList(HWND dialog, std::span<const std::uint8_t> bytes) {
    ForeignWordList list;
    try {
        list = ReadForeignWordList(bytes);
    } catch (const std::bad_alloc&) {
        ShowInfoMessage(dialog, kMsgReaderFailed);
        return;
    }
    if (!list.error.empty()) {
        ShowInfoMessage(dialog, kMsgDamaged);
        return;
    }
    // Room for every word, so that nothing is left over unless the input
    // method already holds the library in a smaller mapping.
    const std::size_t room = std::min<std::size_t>(ForeignImportRoom(list.words), 0x40000000);
    auto library =
        OpenLibrary(CurrentLibraryPath().c_str(), false,
                    static_cast<std::uint32_t>(std::max<std::size_t>(room, kLibraryGrowthRoom)));
    if (!library || library->readOnly()) {
        ShowInfoMessage(dialog, kMsgLibraryFailed);
        return;
    }
    const ForeignImportCounts counts = CountForeignWords(library->library(), list.words);
    const std::wstring question = Format(kAskForeign,
                                         {counts.words, counts.imported, counts.singleCharacters,
                                          counts.noCode, counts.alreadyPresent},
                                         WordListFormatName(list.format));
    if (::MessageBoxW(dialog, question.c_str(), kClearCaption, MB_YESNO | MB_ICONQUESTION) !=
        IDYES) {
        return;
    }
    ForeignImportProgress progress;
    ImportForeignWords(library->library(), list.words, progress);
    library.reset();
    const ForeignImportCounts& done = progress.counts;
    if (progress.stop == UserImportStop::EntryRefused) {
        ShowInfoMessage(dialog,
                        Format(kMsgEntryRefused, {progress.next + 1}, progress.culprit).c_str());
    } else {
        const std::wstring summary =
            progress.stop == UserImportStop::LibraryFull
                ? Format(kMsgSummaryFull, {progress.next, done.alreadyPresent, done.imported,
                                           list.words.size() - progress.next})
                : Format(kMsgSummary, {list.words.size(), done.alreadyPresent, done.imported});
        ::MessageBoxW(dialog, summary.c_str(), kSummaryCaption, MB_OK | MB_ICONINFORMATION);
    }
    if (done.imported > 0) {
        Reload(dialog);
    }
}

void CUserDictDialog::OnExport(HWND dialog) {
    PathBuffer path;
    if (!ShowFileDialog(dialog, path, FileKind::SaveText)) {
        return;
    }
    std::u16string text;
    try {
        text = UserEntriesText(entries_);
    } catch (const std::bad_alloc&) {
        ShowInfoMessage(dialog, kMsgExportObjectFailed);
        return;
    }
    const bool written = ReplaceFileContents(
        path, {reinterpret_cast<const std::uint8_t*>(text.data()), text.size() * 2});
    ShowInfoMessage(dialog, written ? kMsgExported : kMsgExportFailed);
}

void CUserDictDialog::OnDelete(HWND dialog) {
    const int item = SelectedItem(dialog);
    if (item < 0) {
        ShowInfoMessage(dialog, kMsgChooseEntry);
        return;
    }
    const UserEntry entry = entries_[static_cast<std::size_t>(item)];
    auto library = OpenLibrary(CurrentLibraryPath().c_str());
    if (library && !library->readOnly() && library->library().RemoveEntry(entry.code, entry.word)) {
        library.reset();
        Reload(dialog);
    }
}

void CUserDictDialog::OnClear(HWND dialog) {
    if (::MessageBoxW(dialog, kAskClear, kClearCaption, MB_YESNO | MB_ICONQUESTION) != IDYES) {
        return;
    }
    auto library = OpenLibrary(CurrentLibraryPath().c_str());
    if (!library || library->readOnly()) {
        return;
    }
    for (const UserEntry& entry : entries_) {
        library->library().RemoveEntry(entry.code, entry.word);
    }
    library.reset();
    entries_.clear();
    ::SendMessageW(list_, LVM_SETITEMCOUNT, 0, 0);
    UpdateButtons(dialog);
}

void CUserDictDialog::OnHelp(HWND dialog) {
    OpenMakerSitePage(dialog, kHelpPage);
}

} // namespace tide
