// The main dialog: its template, its mode-dependent caption, task text and columns,
// the banner beside it, and the paths it accepts.
#include "TessalyTest.h"

#include <commctrl.h>

#include <functional>
#include <thread>

namespace {

std::vector<std::string> Described(const std::vector<ListColumn>& columns)
{
    std::vector<std::string> described;
    for (const ListColumn& column : columns)
        described.push_back(Utf8(column.heading) + " " + std::to_string(column.width) +
                            (column.format == LVCFMT_LEFT ? " left" : " not left"));
    return described;
}

std::vector<std::string> Described(const std::vector<ExpectedColumn>& columns)
{
    std::vector<std::string> described;
    for (const ExpectedColumn& column : columns)
        described.push_back(Utf8(column.heading) + " " + std::to_string(column.width) + " left");
    return described;
}

enum class Layout { Hash, Compare, Template };

struct ModeCase {
    const char* name;
    const wchar_t* modeSwitch;
    int paths;
    Layout layout;
};

void PrintTo(const ModeCase& c, std::ostream* out)
{
    *out << c.name;
}

struct LayoutTexts {
    const std::wstring& caption;
    const std::wstring& task;
    const std::vector<ExpectedColumn>& columns;
};

LayoutTexts TextsOf(Layout layout)
{
    switch (layout) {
    case Layout::Hash: return {Expected().hashTitle, Expected().hashTask, Expected().hashColumns};
    case Layout::Compare: return {Expected().compareTitle, Expected().compareTask, Expected().compareColumns};
    case Layout::Template: break;
    }
    // Nothing is written: the template's caption and statics stay, under the compare columns.
    return {fixed_text::kTemplateCaption, fixed_text::kTemplateStatic, Expected().compareColumns};
}

class ModeTest : public TessalyTest, public testing::WithParamInterface<ModeCase> {
protected:
    std::vector<std::wstring> InputFiles(int count) const
    {
        std::vector<std::wstring> files;
        for (int i = 1; i <= count; ++i)
            files.push_back(folder_.MakeFile(L"input" + std::to_wstring(i) + L".txt", "abc"));
        return files;
    }
};

TEST_P(ModeTest, CaptionTaskAndColumnsFollowTheSwitch)
{
    const ModeCase& c = GetParam();
    const LayoutTexts expected = TextsOf(c.layout);
    const HWND dialog = MainDialogOf(StartAsShell(c.modeSwitch, InputFiles(c.paths)));
    ASSERT_TRUE(dialog);

    EXPECT_TRUE(CaptionBecomes(dialog, expected.caption));
    std::this_thread::sleep_for(kSettleTime);   // an unrecognised switch must leave them as they are
    EXPECT_EQ(Utf8(TextOf(dialog).value_or(L"")), Utf8(expected.caption));
    EXPECT_EQ(Utf8(TextOfControl(dialog, control::kTask)), Utf8(expected.task));
    EXPECT_EQ(Described(ResultList(dialog).Columns()), Described(expected.columns));
}

// Only the first two characters of the switch count, case-sensitively.
INSTANTIATE_TEST_SUITE_P(Switches, ModeTest, testing::Values(
    ModeCase{"Hash", L"-h", 1, Layout::Hash},
    ModeCase{"HashWithMoreLetters", L"-hash", 1, Layout::Hash},
    ModeCase{"Compare", L"-c", 2, Layout::Compare},
    ModeCase{"CompareWithMoreLetters", L"-cmp", 2, Layout::Compare},
    ModeCase{"Unknown", L"-x", 1, Layout::Template},
    ModeCase{"UpperCaseHash", L"-H", 1, Layout::Template},
    ModeCase{"UpperCaseCompare", L"-C", 2, Layout::Template}),
    [](const auto& info) { return info.param.name; });

class UnrecognisedSwitchTest : public TessalyTest {};

TEST_F(UnrecognisedSwitchTest, NothingIsWrittenAndCloseEndsAtOnce)
{
    const HWND dialog = MainDialogOf(StartAsShell(L"-x", {folder_.MakeFile(L"input.txt", "abc")}));
    ASSERT_TRUE(dialog);
    std::this_thread::sleep_for(kSettleTime);

    EXPECT_EQ(Utf8(TextOf(dialog).value_or(L"")), Utf8(fixed_text::kTemplateCaption));
    for (int id : {control::kTask, control::kPercent, control::kFile, control::kTimeLeft})
        EXPECT_EQ(Utf8(TextOfControl(dialog, id)), Utf8(fixed_text::kTemplateStatic)) << "static " << id;
    EXPECT_EQ(SendWithTimeout(GetDlgItem(dialog, control::kProgress), PBM_GETPOS, 0, 0), 0);
    EXPECT_EQ(ResultList(dialog).RowCount(), 0);

    run_->Close(dialog);
    EXPECT_TRUE(EndsAskingNothing(*run_));
}

class TemplateTest : public TessalyTest {};

TEST_F(TemplateTest, DialogAndControlsAreAsDesigned)
{
    const HWND dialog = MainDialogOf(StartAsShell(L"-x", {folder_.MakeFile(L"input.txt", "abc")}));
    ASSERT_TRUE(dialog);

    const LONG style = GetWindowLongW(dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME),
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX) << "a fixed-size window that can only be minimised";
    EXPECT_TRUE(GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_APPWINDOW);

    struct ControlCase { int id; const wchar_t* windowClass; LONG styleMask; LONG style; };
    const ControlCase controls[] = {
        {control::kSettings, L"Button", BS_TYPEMASK | WS_TABSTOP, BS_DEFPUSHBUTTON | WS_TABSTOP},
        {control::kTask, L"Static", SS_TYPEMASK, SS_LEFT},
        {control::kPercent, L"Static", SS_TYPEMASK, SS_RIGHT},
        {control::kProgress, L"msctls_progress32", 0, 0},
        {control::kFile, L"Static", SS_TYPEMASK, SS_LEFT},
        {control::kTimeLeft, L"Static", SS_TYPEMASK, SS_LEFT},
        {control::kResultList, L"SysListView32", LVS_TYPEMASK | LVS_SINGLESEL | WS_TABSTOP, LVS_REPORT | WS_TABSTOP},
        {control::kHomeLink, L"SysLink", WS_TABSTOP, WS_TABSTOP},
    };
    for (const ControlCase& c : controls) {
        HWND window = GetDlgItem(dialog, c.id);
        ASSERT_TRUE(window) << "no control " << c.id;
        EXPECT_EQ(Utf8(ClassNameOf(window)), Utf8(c.windowClass)) << "control " << c.id;
        EXPECT_EQ(GetWindowLongW(window, GWL_STYLE) & c.styleMask, c.style) << "control " << c.id;
        EXPECT_TRUE(IsWindowVisible(window)) << "control " << c.id;
    }

    EXPECT_EQ(Utf8(TextOfControl(dialog, control::kSettings)), Utf8(fixed_text::kSettingsButton));
    HWND progress = GetDlgItem(dialog, control::kProgress);
    EXPECT_EQ(SendWithTimeout(progress, PBM_GETRANGE, TRUE, 0), 0);
    EXPECT_EQ(SendWithTimeout(progress, PBM_GETRANGE, FALSE, 0), 100);
    const LRESULT listStyle = SendWithTimeout(GetDlgItem(dialog, control::kResultList),
                                              LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0);
    EXPECT_EQ(listStyle & (LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP), LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
}

class BannerTest : public TessalyTest {};

testing::AssertionResult StandsBeside(HWND banner, HWND dialog, SIZE size)
{
    RECT b{}, d{};
    GetWindowRect(banner, &b);
    GetWindowRect(dialog, &d);
    if (b.left == d.right + 5 && b.top == d.top && b.right - b.left == size.cx && b.bottom - b.top == size.cy)
        return testing::AssertionSuccess();
    return testing::AssertionFailure() << "banner at " << b.left << "," << b.top << " size " << b.right - b.left
                                       << "x" << b.bottom - b.top << "; dialog right " << d.right << ", top "
                                       << d.top;
}

TEST_F(BannerTest, StandsBesideTheDialogAndFollowsIt)
{
    const HWND dialog = MainDialogOf(StartAsShell(L"-x", {folder_.MakeFile(L"input.txt", "abc")}));
    ASSERT_TRUE(dialog);
    const std::optional<HWND> banner =
        WaitFor<HWND>([&]() -> std::optional<HWND> {
            const std::optional<HWND> found = run_->Banner(dialog);
            return found && IsWindowVisible(*found) ? found : std::nullopt;
        }, kShowTimeout);
    ASSERT_TRUE(banner) << "no visible banner owned by the main dialog";
    EXPECT_EQ(GetWindowLongW(*banner, GWL_STYLE) & (WS_POPUP | WS_CAPTION | WS_THICKFRAME | WS_SYSMENU), WS_POPUP)
        << "a borderless window without caption";
    RECT start{};
    GetWindowRect(*banner, &start);
    const SIZE size{start.right - start.left, start.bottom - start.top};
    EXPECT_TRUE(WaitUntil([&] { return StandsBeside(*banner, dialog, size); }, kShowTimeout))
        << StandsBeside(*banner, dialog, size).message();

    RECT d{};
    GetWindowRect(dialog, &d);
    SetWindowPos(dialog, nullptr, d.left + 37, d.top + 23, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_TRUE(WaitUntil([&] { return StandsBeside(*banner, dialog, size); }, kEndTimeout))
        << "after the move: " << StandsBeside(*banner, dialog, size).message();
}

struct PathCase {
    const char* name;
    std::function<std::wstring(const TestFolder&)> make;
};

void PrintTo(const PathCase& c, std::ostream* out)
{
    *out << c.name;
}

class PathTest : public TessalyTest, public testing::WithParamInterface<PathCase> {};

// A path reaches the program as one argument, unchanged, whatever letters it holds.
TEST_P(PathTest, StartUpAcceptsIt)
{
    const std::wstring path = GetParam().make(folder_);
    const HWND dialog = MainDialogOf(StartAsShell(L"-h", {path}));
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(CaptionBecomes(dialog, Expected().hashTitle));
}

TEST_P(PathTest, FileStaticShowsItAsGiven)
{
    const std::wstring path = GetParam().make(folder_);
    const HWND dialog = MainDialogOf(StartAsShell(L"-h", {path}));
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(WorkerWritesFileName(dialog)) << "the worker writes no file name";
    EXPECT_EQ(Utf8(TextOfControl(dialog, control::kFile)), Utf8(Formatted(Expected().fileNameFormat, path)));
}

INSTANTIATE_TEST_SUITE_P(Paths, PathTest, testing::Values(
    PathCase{"Plain", [](const TestFolder& f) { return f.MakeFile(L"input.txt", "abc"); }},
    PathCase{"WithBlanks", [](const TestFolder& f) { return f.MakeFile(L"with  two blanks.txt", "abc"); }},
    PathCase{"KoreanLetters", [](const TestFolder& f) { return f.MakeFile(L"해시입력.txt", "abc"); }},
    PathCase{"KoreanFolderWithBlank", [](const TestFolder& f) {
        f.MakeFolder(L"검사 폴더");
        return f.MakeFile(L"검사 폴더\\파일 하나.txt", "abc");
    }},
    PathCase{"Folder", [](const TestFolder& f) { return f.MakeFolder(L"a folder"); }}),
    [](const auto& info) { return info.param.name; });

}  // namespace
