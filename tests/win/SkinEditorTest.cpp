// The skin editor run for real: a new skin built from the default skin's
// images, the pages' enabling rules and fields, opening and saving with their
// questions and file dialogs answered, and the preview pictures it stores.
#include "tools/skineditor/SkinEditor.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <thread>
#include <vector>

#include "core/config/InfoMessageText.h"
#include "support/LayoutProbe.h"
#include "support/DrivenDialog.h"
#include "support/FileDialogAnswer.h"
#include "support/MessageBoxWatcher.h"
#include "support/WinTestSupport.h"
#include "support/WindowCapture.h"
#include "tools/skineditor/EditorPage.h"
#include "ui/Controls.h"
#include "win/WideText.h"
#include "win/skin/SkinFile.h"

namespace tide {
namespace {

const std::wstring kSkinImages = L"" TIDE_SOURCE_DIR "/data/skin/Tide/";
const std::wstring kDefaultSkin = L"" TIDE_SOURCE_DIR "/data/Skin/Tide.ims";
constexpr int kSaveId = 262;

class DrivenEditor : public test::DrivenDialog<CSkinEditor> {
public:
    explicit DrivenEditor(Checks checks) : DrivenDialog(std::move(checks), kResultCancel) {}
    INT_PTR Run() { return ShowModal(L"皮肤编辑", 460, 300, 80); }
};

// The editor's four page windows in navigation order.
std::vector<HWND> Pages(HWND editor) {
    std::vector<HWND> pages;
    for (HWND child = ::GetWindow(editor, GW_CHILD); child;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        wchar_t name[16] = {};
        ::GetClassNameW(child, name, 16);
        if (std::wstring(name) == L"#32770") {
            pages.push_back(child); // in the order they were made
        }
    }
    return pages;
}

HWND PageControl(HWND editor, int page, int id) {
    const auto pages = Pages(editor);
    return page < static_cast<int>(pages.size()) ? test::FindDescendant(pages[page], id) : nullptr;
}

bool Enabled(HWND control) {
    return control && ::IsWindowEnabled(control);
}

void Type(HWND editor, int page, int id, const std::wstring& text) {
    ::SetWindowTextW(PageControl(editor, page, id), text.c_str());
}

void Click(HWND editor, int page, int id) {
    ::SendMessageW(PageControl(editor, page, id), BM_CLICK, 0, 0);
}

void Press(HWND editor, int id) {
    ::SendMessageW(editor, WM_COMMAND, id, 0);
}

// A new skin with the default skin's status bar and horizontal bar.
void BuildSkin(HWND editor) {
    Type(editor, 0, 4353, kSkinImages + L"Status.png");
    Type(editor, 1, 4609, kSkinImages + L"HorzCand.png");
}

class SkinEditorTool : public ::testing::Test {
protected:
    test::ScratchFolder folder_;
};

// A panel row binds only to a field of the type it shows, and a nested field
// lies where the record's layout puts it.
template <typename Field>
concept NumberRowTakes = requires(PanelRows rows, Field field) {
    rows.Number(0, 0, 0, 0, field);
};
template <typename Field>
concept FactorRowTakes = requires(PanelRows rows, Field field) {
    rows.Float(0, 0, 0, field);
};
template <typename Field>
concept ColourRowTakes = requires(PanelRows rows, Field field) {
    rows.Colour(0, L"", 0, 0, field);
};
static_assert(NumberRowTakes<SkinField<std::int32_t>> && !NumberRowTakes<SkinField<float>>);
static_assert(FactorRowTakes<SkinField<float>> && !FactorRowTakes<SkinField<std::int32_t>>);
static_assert(ColourRowTakes<SkinField<std::uint32_t>> && !ColourRowTakes<SkinField<std::int32_t>>);

TEST(SkinFields, NestedFieldsLieWhereTheRecordPutsThem) {
    EXPECT_EQ(FieldOf(&SkinRecord::vertFixedEdges, &SkinEdges::bottom).offset, 148 + 12);
    EXPECT_EQ(FieldOf(FieldOf(&SkinRecord::menuButtonBox), &SkinBox::cy).offset, 84 + 12);
    EXPECT_EQ(FieldOf(&SkinRecord::otherInfo, &SkinTextItem::y).offset,
              static_cast<int>(offsetof(SkinRecord, otherInfo) + offsetof(SkinTextItem, y)));
    EXPECT_EQ(FieldOf<float>(nullptr).offset, kNoField);
}

TEST_F(SkinEditorTool, ANewSkinEnablesEachPageOnceItsMainImageIsChosen) {
    DrivenEditor editor([](HWND dialog, CSkinEditor& tool) {
        EXPECT_EQ(Pages(dialog).size(), 4u);
        EXPECT_FALSE(tool.modified());
        EXPECT_FALSE(Enabled(::GetDlgItem(dialog, kSaveId)));
        EXPECT_TRUE(Enabled(PageControl(dialog, 0, 4353)));
        EXPECT_FALSE(Enabled(PageControl(dialog, 0, 4357))) << "the logo box waits";
        EXPECT_FALSE(Enabled(PageControl(dialog, 0, 4422)));
        EXPECT_FALSE(Enabled(PageControl(dialog, 1, 4646)));

        // The panel scrolls in steps over its range 0..28 with a page of 19.
        HWND panel = ::GetParent(PageControl(dialog, 0, 4353));
        ::SendMessageW(panel, WM_VSCROLL, SB_BOTTOM, 0);
        EXPECT_EQ(::GetScrollPos(panel, SB_VERT), 10);
        ::SendMessageW(panel, WM_VSCROLL, SB_LINEUP, 0);
        EXPECT_EQ(::GetScrollPos(panel, SB_VERT), 9);
        ::SendMessageW(panel, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), 0);
        EXPECT_EQ(::GetScrollPos(panel, SB_VERT), 8) << "the wheel forward is a line up";
        ::SendMessageW(panel, WM_VSCROLL, SB_TOP, 0);
        EXPECT_EQ(::GetScrollPos(panel, SB_VERT), 0);

        Type(dialog, 0, 4353, kSkinImages + L"Status.png");
        EXPECT_TRUE(tool.skin().image(SlotStatus));
        EXPECT_TRUE(Enabled(PageControl(dialog, 0, 4357)));
        EXPECT_TRUE(tool.statusComposite()) << "the status bar was drawn";
        EXPECT_TRUE(tool.modified());
        EXPECT_TRUE(Enabled(::GetDlgItem(dialog, kSaveId)));
        Type(dialog, 0, 4353, L"");
        EXPECT_FALSE(tool.skin().image(SlotStatus)) << "no file, no image";
        EXPECT_FALSE(Enabled(PageControl(dialog, 0, 4357)));

        // Typed a character at a time, the path loads once it names a file.
        const std::wstring path = kSkinImages + L"Status.png";
        for (std::size_t length = path.size() - 3; length <= path.size(); ++length) {
            Type(dialog, 0, 4353, path.substr(0, length));
            EXPECT_EQ(tool.skin().image(SlotStatus) != nullptr, length == path.size()) << length;
        }
        // A box number goes to the record as it is typed.
        Type(dialog, 0, 4365, L"37");
        EXPECT_EQ(tool.skin().record().langButtonBox.x, 37);
        Type(dialog, 0, 4365, L"5000");
        EXPECT_LE(tool.skin().record().langButtonBox.x, 1000) << "the up-down keeps to 0..1000";
    });
    editor.Run();
}

TEST_F(SkinEditorTool, CandidatePagesFollowTheirChecksRadiosAndFactors) {
    DrivenEditor editor([](HWND dialog, CSkinEditor& tool) {
        Press(dialog, 258); // a page draws its bar while it is shown
        BuildSkin(dialog);
        const SkinRecord& r = tool.skin().record();
        ASSERT_TRUE(Enabled(PageControl(dialog, 1, 4646)));
        EXPECT_TRUE(tool.barComposite(false)) << "the horizontal bar was drawn";
        EXPECT_EQ(r.horzPagerAfterCode, 1);
        Click(dialog, 1, 4646);
        EXPECT_EQ(r.horzCodeEmbedded, 1);
        EXPECT_EQ(r.horzPagerAfterCode, 0) << "embedding the code moves the page buttons";
        EXPECT_EQ(::IsDlgButtonChecked(::GetParent(PageControl(dialog, 1, 4641)), 4641),
                  BST_CHECKED);
        Click(dialog, 1, 4666);
        EXPECT_EQ(r.horzSelectionStyle, 2);
        Type(dialog, 1, 4628, L"abc");
        EXPECT_EQ(r.horzItemHeight, 0.0f) << "no number: 0";
        Type(dialog, 1, 4628, L"  1.75x");
        EXPECT_EQ(r.horzItemHeight, 1.75f);
        Type(dialog, 1, 4636, L"0");
        ::SendMessageW(PageControl(dialog, 1, 4632), UDM_SETPOS32, 0, -1);
        EXPECT_EQ(r.horzSeparatorWidth, -1) << "the separator width goes down to -1";
        EXPECT_FALSE(PageControl(dialog, 2, 4629)) << "the vertical page has no spacing row";
        EXPECT_EQ(r.vertItemHeight, 1.5f) << "the vertical fields are apart";
    });
    editor.Run();
}

TEST_F(SkinEditorTool, ClicksOnTheStatusPreviewShowEveryLanguageState) {
    DrivenEditor editor([](HWND dialog, CSkinEditor& tool) {
        Type(dialog, 0, 4353, kSkinImages + L"Status.png");
        Type(dialog, 0, 4373, kSkinImages + L"ChineseButton.png");
        HWND preview = ::GetParent(PageControl(dialog, 0, 4353)); // the panel
        preview = ::GetWindow(preview, GW_HWNDPREV); // the preview was made just before
        ASSERT_TRUE(preview);
        RECT client = {};
        ::GetClientRect(preview, &client);
        const SIZE picture = ImageSize(tool.statusComposite().get());
        const SkinBox& lang = tool.skin().record().langButtonBox;
        const int x = (client.right - picture.cx) / 2 + lang.x + 1;
        const int y = (client.bottom - picture.cy) / 2 + lang.y + 1;
        for (int expected : {1, 2, 0}) {
            ::SendMessageW(preview, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
            EXPECT_EQ(tool.statusStates().language, expected);
        }
    });
    editor.Run();
}

TEST_F(SkinEditorTool, SavingAsksWhatItMustAndASaveThatFailsKeepsTheSkinUnsaved) {
    const std::wstring saved = folder_ / L"new.ims";
    test::MessageBoxWatcher boxes(IDYES);
    std::atomic<bool> cancelled{false};
    std::atomic<bool> answered{false};
    DrivenEditor editor([&](HWND dialog, CSkinEditor& tool) {
        BuildSkin(dialog);
        ASSERT_TRUE(tool.modified());
        {
            // An empty name is no name: the dialog stays and is cancelled.
            std::thread answer = test::AnswerFileDialog(L"保存皮肤文件为", L"", cancelled);
            Press(dialog, kSaveId);
            answer.join();
        }
        EXPECT_TRUE(tool.modified()) << "a cancelled save saved nothing";
        EXPECT_TRUE(tool.path().empty());
        {
            std::thread answer = test::AnswerFileDialog(L"保存皮肤文件为", saved, answered);
            Press(dialog, kSaveId);
            answer.join();
        }
        EXPECT_FALSE(tool.modified());
        EXPECT_EQ(tool.path(), saved);
        EXPECT_EQ(tool.skin().record().complete, 0u) << "no name yet";

        // Another program holds the file: the save says so and stays unsaved.
        Type(dialog, 0, 4365, L"9");
        ASSERT_TRUE(tool.modified());
        FileHandle holder(::CreateFileW(saved.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        ASSERT_TRUE(holder);
        Press(dialog, kSaveId);
        EXPECT_TRUE(tool.modified());
        Press(dialog, kHomeButtonId);
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "主页 stays when it cannot save";
    });
    editor.Run();
    EXPECT_TRUE(test::FileExists(saved));
    const auto seen = boxes.Seen();
    ASSERT_GE(seen.size(), 3u);
    EXPECT_EQ(seen[0].text, L"皮肤资源不完整，是否继续保存？");
    const std::wstring failed = test::ShownInfoText(L"皮肤文件保存失败，文件无法写入！");
    EXPECT_EQ(seen[seen.size() - 2].text, failed);
    EXPECT_EQ(seen.back().text, failed);
}

TEST_F(SkinEditorTool, OpeningTheDefaultSkinShowsItsImagesAndFactorsAndDrawsThePreviews) {
    const std::wstring skin = folder_ / L"Tide.ims";
    ASSERT_TRUE(::CopyFileW(kDefaultSkin.c_str(), skin.c_str(), FALSE));
    test::MessageBoxWatcher boxes(IDNO);
    std::atomic<bool> answered{false};
    DrivenEditor editor([&](HWND dialog, CSkinEditor& tool) {
        Type(dialog, 0, 4353, kSkinImages + L"Status.png");
        ASSERT_TRUE(tool.modified());
        Press(dialog, 261);
        EXPECT_TRUE(tool.skin().image(SlotStatus)) << "No to discarding keeps the skin";
        boxes.Answer(IDYES);
        std::thread answer = test::AnswerFileDialog(L"打开皮肤文件", skin, answered);
        Press(dialog, 261);
        answer.join();
        ASSERT_EQ(tool.path(), skin);
        EXPECT_FALSE(tool.modified()) << "opening leaves the skin saved";
        EXPECT_EQ(WindowText(PageControl(dialog, 0, 4353)), L"IMS:\\Status.png");
        EXPECT_EQ(WindowText(PageControl(dialog, 1, 4609)), L"IMS:\\HorzCand.png");
        EXPECT_EQ(WindowText(PageControl(dialog, 2, 4609)), L"IMS:\\VertCand.png");
        EXPECT_TRUE(Enabled(PageControl(dialog, 1, 4646)));
        EXPECT_EQ(WindowText(PageControl(dialog, 1, 4628)).find(L'.') + 3,
                  WindowText(PageControl(dialog, 1, 4628)).size())
            << "two decimals";
        const SkinRecord& r = tool.skin().record();
        EXPECT_EQ(WindowText(PageControl(dialog, 3, 4877)), ToWide(SkinText(r.name)));

        // Showing the preview page stores the picture of the bars and texts.
        Press(dialog, 260);
        ASSERT_TRUE(tool.skin().image(SlotPreview));
        EXPECT_TRUE(tool.modified()) << "showing the preview page marks the skin";
        const std::wstring folder = test::ScreenshotFolder() + L"\\skin-editor-";
        for (int page = 0; page < 4; ++page) {
            Press(dialog, 257 + page);
            test::PumpMessagesFor(std::chrono::milliseconds(200));
            EXPECT_TRUE(test::SaveWindowScreenshot(
                dialog, folder + L"default-" + std::to_wstring(page + 1) + L".png"));
        }
    });
    editor.Run();

    // Opened in a new editor, the status preview scrolls over its picture.
    std::atomic<bool> opened{false};
    DrivenEditor fresh([&](HWND dialog, CSkinEditor&) {
        std::thread answer = test::AnswerFileDialog(L"打开皮肤文件", skin, opened);
        Press(dialog, 261);
        answer.join();
        HWND preview = ::GetWindow(Pages(dialog)[0], GW_CHILD);
        while (preview && !(::GetWindowLongPtrW(preview, GWL_EXSTYLE) & WS_EX_CONTROLPARENT)) {
            preview = ::GetWindow(preview, GW_HWNDNEXT); // the first pane
        }
        ASSERT_TRUE(preview);
        SCROLLINFO range = {};
        range.cbSize = sizeof(range);
        range.fMask = SIF_RANGE;
        ::GetScrollInfo(preview, SB_HORZ, &range);
        EXPECT_GT(range.nMax, 0) << "the scroll range set after 打开";
    });
    fresh.Run();
}

// Every image of the default skin's folder chosen on its page, a name typed:
// the saved skin is complete and loads, in the editor's code and in tidetool.
TEST_F(SkinEditorTool, ASkinBuiltFromPngFilesIsCompleteAndLoads) {
    const std::wstring saved = folder_ / L"built.ims";
    test::MessageBoxWatcher boxes(IDYES);
    std::atomic<bool> answered{false};
    DrivenEditor editor([&](HWND dialog, CSkinEditor& tool) {
        const struct {
            int page, id;
            const wchar_t* file;
        } kImages[] = {
            {0, 4353, L"Status.png"},          {0, 4355, L"Logo.png"},
            {0, 4373, L"ChineseButton.png"},   {0, 4374, L"EnglishButton.png"},
            {0, 4375, L"CapsLockButton.png"},  {0, 4387, L"FullShapeButton.png"},
            {0, 4388, L"HalfShapeButton.png"}, {0, 4399, L"CSymbolButton.png"},
            {0, 4400, L"ESymbolButton.png"},   {0, 4411, L"SoftkbButton.png"},
            {0, 4421, L"ConfigButton.png"},    {1, 4609, L"HorzCand.png"},
            {1, 4674, L"HPrevPage.png"},       {1, 4675, L"HNextPage.png"},
            {1, 4676, L"HHomePage.png"},       {1, 4677, L"HEndPage.png"},
            {2, 4609, L"VertCand.png"},        {2, 4674, L"VPrevPage.png"},
            {2, 4675, L"VNextPage.png"},       {2, 4676, L"VHomePage.png"},
            {2, 4677, L"VEndPage.png"},
        };
        for (const auto& image : kImages) {
            Type(dialog, image.page, image.id, kSkinImages + image.file);
        }
        Type(dialog, 3, 4877, L"自制皮肤");
        Press(dialog, 260); // the preview page makes the preview picture
        ASSERT_TRUE(tool.skin().image(SlotPreview));
        std::thread answer = test::AnswerFileDialog(L"保存皮肤文件为", saved, answered);
        Press(dialog, kSaveId);
        answer.join();
        EXPECT_FALSE(tool.modified());
    });
    editor.Run();
    EXPECT_TRUE(boxes.Seen().empty()) << "a complete skin is saved without a question";
    SkinFile loaded;
    ASSERT_TRUE(loaded.Load(saved.c_str()));
    EXPECT_EQ(loaded.record().complete, 1u);
    EXPECT_EQ(SkinText(loaded.record().name), u"自制皮肤");
    for (std::size_t slot = 0; slot < kSkinSlotCount; ++slot) {
        EXPECT_TRUE(loaded.image(static_cast<SkinSlot>(slot))) << slot;
    }
    loaded.Close();
    auto tidetool = test::ChildProcess::Start(test::BinDirectory() + L"\\tidetool.exe",
                                              L"skin info \"" + saved + L"\"");
    ASSERT_TRUE(tidetool);
    EXPECT_EQ(tidetool->WaitForExit(std::chrono::seconds(20)), 0u);
}

// A factor stored with more decimals is shown, and so read back, with two.
TEST_F(SkinEditorTool, OpenedFactorsShowTwoDecimalsAndMovingABarGrowsThePreview) {
    const std::wstring skin = folder_ / L"factors.ims";
    {
        SkinFile source;
        ASSERT_TRUE(source.Load(kDefaultSkin.c_str()));
        source.Unmap();
        SkinRecord& r = source.record();
        r.horzItemHeight = 1.333f;
        ASSERT_TRUE(SetSkinText(r.name, u"X"));
        r.name.x = r.name.y = 1; // inside the status bar
        for (SkinTextItem* item : {&r.version, &r.author, &r.otherInfo}) {
            ASSERT_TRUE(SetSkinText(*item, u""));
        }
        ASSERT_TRUE(source.Save(skin.c_str()));
    }
    test::MessageBoxWatcher boxes(IDYES);
    std::atomic<bool> answered{false};
    DrivenEditor editor([&](HWND dialog, CSkinEditor& tool) {
        std::thread answer = test::AnswerFileDialog(L"打开皮肤文件", skin, answered);
        Press(dialog, 261);
        answer.join();
        ASSERT_EQ(tool.path(), skin);
        EXPECT_EQ(WindowText(PageControl(dialog, 1, 4628)), L"1.33");
        EXPECT_EQ(tool.skin().record().horzItemHeight, 1.33f) << "read back from the field";

        Press(dialog, 260);
        const SIZE before = ImageSize(tool.skin().image(SlotPreview));
        const SIZE horizontal = ImageSize(tool.barComposite(false).get());
        const SkinRecord& r = tool.skin().record();
        // The horizontal bar is the right-most and the lowest element but one.
        ASSERT_EQ(before.cx, horizontal.cx);
        Type(dialog, 3, 4869, L"50");
        EXPECT_EQ(r.horzPreviewX, 50);
        EXPECT_EQ(ImageSize(tool.skin().image(SlotPreview)).cx, before.cx + 49);
        Type(dialog, 3, 4869, L"1");

        // 主页 saves an opened, modified skin to its file without a word.
        Type(dialog, 0, 4365, L"33");
        Press(dialog, kHomeButtonId);
    });
    EXPECT_EQ(editor.Run(), kResultHome);
    EXPECT_TRUE(boxes.Seen().empty());
    SkinFile saved;
    ASSERT_TRUE(saved.Load(skin.c_str()));
    EXPECT_EQ(saved.record().langButtonBox.x, 33);
}

// A stored value no radio of its group stands for shows as the one the
// preview draws it as: a selection style other than 1 or 2 as 无选择框, any
// pager place but 0 as 编码项后.
TEST_F(SkinEditorTool, OddStoredValuesCheckTheRadioThePreviewDrawsThemAs) {
    const std::wstring odd = folder_ / L"odd.ims";
    {
        SkinFile skin;
        ASSERT_TRUE(skin.Load(kDefaultSkin.c_str()));
        skin.Unmap();
        skin.record().horzSelectionStyle = 5;
        skin.record().horzPagerAfterCode = 3;
        ASSERT_TRUE(skin.Save(odd.c_str()));
    }
    std::atomic<bool> answered{false};
    DrivenEditor editor([&](HWND dialog, CSkinEditor&) {
        std::thread answer = test::AnswerFileDialog(L"打开皮肤文件", odd, answered);
        Press(dialog, 261);
        answer.join();
        for (const int id : {4665, 4666, 4667, 4640, 4641}) {
            const bool expected = id == 4667 || id == 4640;
            EXPECT_EQ(::SendMessageW(PageControl(dialog, 1, id), BM_GETCHECK, 0, 0) == BST_CHECKED,
                      expected)
                << id;
        }
    });
    editor.Run();
}

// Every label of every panel stands clear of the fields and their up-down
// arrows (the arrows sit beside their field, taking part of its width).
TEST_F(SkinEditorTool, NoFieldOrArrowCoversALabel) {
    DrivenEditor editor([](HWND dialog, CSkinEditor&) {
        std::size_t labels = 0;
        EXPECT_EQ(test::LabelsCoveredByFields(dialog, labels), L"");
        EXPECT_GT(labels, 100u);
        Press(dialog, IDCANCEL);
    });
    editor.Run();
}

TEST_F(SkinEditorTool, ExitAndEscAskBeforeAnUnsavedSkinIsDropped) {
    {
        test::MessageBoxWatcher no(IDNO);
        DrivenEditor untouched([](HWND dialog, CSkinEditor&) { Press(dialog, IDOK); });
        EXPECT_EQ(untouched.Run(), kResultOk);
        EXPECT_TRUE(no.Seen().empty()) << "nothing to save, nothing asked";
        DrivenEditor dropped([](HWND dialog, CSkinEditor&) {
            Type(dialog, 0, 4353, kSkinImages + L"Status.png");
            Press(dialog, IDCANCEL); // Esc
        });
        EXPECT_EQ(dropped.Run(), kResultCancel);
        ASSERT_EQ(no.Seen().size(), 1u);
        EXPECT_EQ(no.Seen()[0].text, L"当前皮肤尚未保存，是否保存？");
    }
    test::MessageBoxWatcher yes(IDYES);
    std::atomic<bool> cancelled{false};
    DrivenEditor kept([&](HWND dialog, CSkinEditor& tool) {
        Type(dialog, 0, 4353, kSkinImages + L"Status.png");
        std::thread answer = test::AnswerFileDialog(L"保存皮肤文件为", L"", cancelled);
        Press(dialog, IDOK); // Yes to saving, then no name given
        answer.join();
        EXPECT_TRUE(::IsWindowVisible(dialog)) << "the skin was not saved: the editor stays";
        EXPECT_TRUE(tool.modified());
        ::EndDialog(dialog, kResultCancel);
    });
    kept.Run();
}

} // namespace
} // namespace tide
