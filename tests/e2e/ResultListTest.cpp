// The result list's copy commands as a user gives them: the context menu chosen with the
// mouse or the keyboard, Ctrl+C wherever the focus is, and what lands on the clipboard.
#include "Clipboard.h"
#include "TessalyTest.h"
#include "UserInput.h"

#include <thread>

namespace {

// What the program lists for "abc" with the default settings; in compare mode "abc"
// and "a" by CRC-32.
const wchar_t kCrc32[] = L"352441c2";
const wchar_t kCrc32OfA[] = L"e8b7be43";
const wchar_t kMd5[] = L"900150983cd24fb0d6963f7d28e17f72";
const wchar_t kSha1[] = L"a9993e364706816aba3e25717850c26c9cd0d89d";
const std::wstring kSentinel = L"left here by the test";

enum class Gesture {
    MenuCopyHashByMouse,          // right click on the first selected row, click the command
    MenuCopyNameAndHashByKeys,    // right click, then Down, Down, Enter
    CtrlCOnSettingsButton,        // the focus where the dialog puts it at start
    ClickRowThenCtrlC,            // the click selects the row and focuses the list
};

struct CopyCase {
    const char* name;
    const wchar_t* modeSwitch;
    std::vector<int> rows;   // selected beforehand; for ClickRowThenCtrlC the row clicked
    Gesture gesture;
    std::wstring clipboard;   // what the copy leaves there
};

void PrintTo(const CopyCase& c, std::ostream* out)
{
    *out << c.name;
}

POINT CentreOf(const RECT& r)
{
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

class ResultListTest : public TessalyTest {
protected:
    // Starts the mode on "abc" (and "a") and waits for its rows; sets dialog_.
    void StartWithRows(const std::wstring& modeSwitch)
    {
        std::vector<std::wstring> paths{folder_.MakeFile(L"first.txt", "abc")};
        if (modeSwitch == L"-c")
            paths.push_back(folder_.MakeFile(L"second.txt", "a"));
        dialog_ = MainDialogOf(StartAsShell(modeSwitch, paths));
        ASSERT_TRUE(dialog_);
        ASSERT_FALSE(List().SettledRows(kShowTimeout).empty()) << "no result rows; " << WhatItShows(*run_);
        ASSERT_TRUE(PutOnClipboard(kSentinel));
        ASSERT_TRUE(BringToFront(dialog_)) << "the dialog does not come to the front";
    }

    RemoteListView List() const { return ResultList(dialog_); }

    std::optional<HWND> OpenMenu() const
    {
        for (HWND window : run_->VisibleWindows())
            if (ClassNameOf(window) == L"#32768")
                return window;
        return std::nullopt;
    }

    HWND FocusedWindow() const
    {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(dialog_, nullptr), &info);
        return info.hwndFocus;
    }

    // Right click on the row; the context menu it opens, if any.
    std::optional<HWND> RightClickRow(int row) const
    {
        RightClickAt(CentreOf(List().CellOnScreen(row, 0)));
        return WaitFor<HWND>([&] { return OpenMenu(); }, kEndTimeout);
    }

    void Perform(const CopyCase& c)
    {
        switch (c.gesture) {
        case Gesture::MenuCopyHashByMouse:
        case Gesture::MenuCopyNameAndHashByKeys: {
            List().Select(c.rows);
            const std::optional<HWND> menu = RightClickRow(c.rows.front());
            ASSERT_TRUE(menu) << "no context menu on a row";
            if (c.gesture == Gesture::MenuCopyHashByMouse) {
                RECT r{};
                GetWindowRect(*menu, &r);
                // The first of its two commands fills the upper half.
                LeftClickAt({(r.left + r.right) / 2, r.top + (r.bottom - r.top) / 4});
            } else {
                PressKeys({VK_DOWN});
                PressKeys({VK_DOWN});
                PressKeys({VK_RETURN});
            }
            EXPECT_TRUE(WaitUntil([&] { return !OpenMenu(); }, kEndTimeout)) << "the menu stays open";
            return;
        }
        case Gesture::CtrlCOnSettingsButton:
            List().Select(c.rows);
            ASSERT_EQ(FocusedWindow(), GetDlgItem(dialog_, control::kSettings)) << "the focus is elsewhere";
            PressKeys({VK_CONTROL, 'C'});
            return;
        case Gesture::ClickRowThenCtrlC:
            LeftClickAt(CentreOf(List().CellOnScreen(c.rows.front(), 0)));
            ASSERT_EQ(FocusedWindow(), GetDlgItem(dialog_, control::kResultList));
            PressKeys({VK_CONTROL, 'C'});
            return;
        }
    }

    // The clipboard once the program has put something there, or as it stays meanwhile.
    static std::wstring ClipboardWithin(std::chrono::milliseconds patience)
    {
        std::optional<std::wstring> text;
        WaitUntil([&] { return (text = ClipboardText()) != kSentinel; }, patience);
        return text.value_or(L"(no text)");
    }

    HWND dialog_ = nullptr;
};

class CopyTest : public ResultListTest, public testing::WithParamInterface<CopyCase> {};

TEST_P(CopyTest, PutsTheSelectedRowsOnTheClipboard)
{
    const CopyCase& c = GetParam();
    StartWithRows(c.modeSwitch);
    if (HasFatalFailure())
        return;
    Perform(c);
    if (HasFatalFailure())
        return;
    EXPECT_EQ(Utf8(ClipboardWithin(kEndTimeout)), Utf8(c.clipboard));
}

std::wstring Joined(std::initializer_list<std::wstring> parts, const std::wstring& separator)
{
    std::wstring text;
    for (const std::wstring& part : parts)
        text += (text.empty() ? L"" : separator) + part;
    return text;
}

INSTANTIATE_TEST_SUITE_P(Copies, CopyTest, testing::Values(
    // The one row's TAB is trimmed away.
    CopyCase{"OneRowCopyHash", L"-h", {1}, Gesture::MenuCopyHashByMouse, kMd5},
    CopyCase{"ThreeRowsCopyHash", L"-h", {0, 1, 2}, Gesture::MenuCopyHashByMouse,
             Joined({kCrc32, kMd5, kSha1}, L"\t\r\n")},
    CopyCase{"TwoRowsCopyNameAndHash", L"-h", {0, 2}, Gesture::MenuCopyNameAndHashByKeys,
             Joined({L"CRC-32\t" + std::wstring(kCrc32), L"SHA-1\t" + std::wstring(kSha1)}, L"\r\n")},
    CopyCase{"CompareCopyNameAndHash", L"-c", {0, 1}, Gesture::MenuCopyNameAndHashByKeys,
             L"first.txt\tCRC-32\t352441c2\tX\r\nsecond.txt\tCRC-32\te8b7be43\tX"},
    // The values, not the verdicts.
    CopyCase{"CompareCopyHash", L"-c", {0, 1}, Gesture::MenuCopyHashByMouse, Joined({kCrc32, kCrc32OfA}, L"\t\r\n")},
    CopyCase{"CtrlCWhileTheButtonHasTheFocus", L"-h", {0, 2}, Gesture::CtrlCOnSettingsButton,
             Joined({kCrc32, kSha1}, L"\t\r\n")},
    CopyCase{"CtrlCAfterClickingARow", L"-h", {2}, Gesture::ClickRowThenCtrlC, kSha1}),
    [](const auto& info) { return info.param.name; });

TEST_F(ResultListTest, CtrlCWithNothingSelectedLeavesTheClipboard)
{
    StartWithRows(L"-h");
    if (HasFatalFailure())
        return;
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_EQ(Utf8(ClipboardWithin(kSettleTime)), Utf8(kSentinel));
    // The same keys copy once a row is selected: they did reach the program.
    List().Select({1});
    PressKeys({VK_CONTROL, 'C'});
    EXPECT_EQ(Utf8(ClipboardWithin(kEndTimeout)), Utf8(kMd5));
}

class ContextMenuTest : public ResultListTest {};

TEST_F(ContextMenuTest, RightClickBesideTheRowsShowsNoMenu)
{
    StartWithRows(L"-h");
    if (HasFatalFailure())
        return;
    RECT list{};
    GetWindowRect(GetDlgItem(dialog_, control::kResultList), &list);
    const RECT lastRow = List().CellOnScreen(List().RowCount() - 1, 0);
    ASSERT_LT(lastRow.bottom + 20, list.bottom) << "no room below the rows";
    RightClickAt({lastRow.left + 20, lastRow.bottom + 15});
    std::this_thread::sleep_for(kSettleTime);
    EXPECT_FALSE(OpenMenu()) << "a menu opened";
    EXPECT_TRUE(RightClickRow(0)) << "no menu on a row either";
}

}  // namespace
