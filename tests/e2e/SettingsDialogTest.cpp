// The settings dialog: it shows what setting.ini holds, OK stores all eleven values back,
// Cancel, Escape and the close box store nothing, and the running main dialog keeps the
// values it started with.
#include "ByLanguage.h"
#include "ScreenPixels.h"
#include "SettingsDialog.h"
#include "TessalyTest.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

namespace {

using namespace setting_control;

const wchar_t* const kKeys[] = {L"g_dwCompareHash", L"g_dwUpperCase", L"g_dwCrc32",   L"g_dwMd2",
                                L"g_dwMd4",         L"g_dwMd5",       L"g_dwSha_1",   L"g_dwSha_256",
                                L"g_dwSha_384",     L"g_dwSha_512",   L"g_dwHas_160"};
const wchar_t* const kHashNames[kHashKinds] = {L"CRC-32",  L"MD2",     L"MD4",     L"MD5",    L"SHA-1",
                                               L"SHA-256", L"SHA-384", L"SHA-512", L"HAS-160"};

// Long enough to use the dialog during the work, short enough to wait for its end.
constexpr std::uint64_t kLargeFileSize = 2ull << 30;

// The eleven stored texts in key order.
using Stored = std::vector<std::string>;
const Stored kDefaultsStored{"0", "0", "1", "0", "0", "1", "1", "0", "0", "0", "0"};
size_t KeyIndex(const wchar_t* key)
{
    const auto found =
        std::find_if(std::begin(kKeys), std::end(kKeys), [&](const wchar_t* name) { return std::wcscmp(name, key) == 0; });
    return static_cast<size_t>(found - std::begin(kKeys));
}

// The defaults, with these keys stored otherwise.
Stored DefaultsWith(std::initializer_list<std::pair<const wchar_t*, const char*>> changes)
{
    Stored stored = kDefaultsStored;
    for (const auto& [key, text] : changes)
        stored.at(KeyIndex(key)) = text;
    return stored;
}

const SettingsChoice kDefaultChoice{{true, false, false, true, true, false, false, false, false}, true, 0};

// Every value other than its default.
const char kOtherThanDefaults[] =
    "[config]\r\ng_dwCompareHash=6\r\ng_dwUpperCase=1\r\ng_dwCrc32=0\r\ng_dwMd2=1\r\ng_dwMd4=1\r\ng_dwMd5=0\r\n"
    "g_dwSha_1=0\r\ng_dwSha_256=1\r\ng_dwSha_384=1\r\ng_dwSha_512=1\r\ng_dwHas_160=1\r\n";
const SettingsChoice kOtherThanDefaultsChoice{{false, true, true, false, false, true, true, true, true}, false, 6};

std::string FileBytes(const std::wstring& path)
{
    std::ifstream file(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

Stored StoredIn(const std::wstring& iniPath)
{
    Stored stored;
    for (const wchar_t* key : kKeys) {
        wchar_t text[64] = {};
        GetPrivateProfileStringW(L"config", key, L"(missing)", text, 64, iniPath.c_str());
        stored.push_back(Utf8(text));
    }
    return stored;
}

std::vector<std::string> HashNamesOf(const std::vector<ListRow>& rows)
{
    std::vector<std::string> names;
    for (const ListRow& row : rows)
        names.push_back(row.empty() ? "" : Utf8(row[0]));
    return names;
}

class SettingsDialogTest : public TessalyTest {
protected:
    std::wstring IniPath() const { return folder_.PathOf(L"setting.ini"); }

    // Starts the program on a small file and waits until its work is done.
    HWND StartAndFinish()
    {
        const HWND mainDialog = MainDialogOf(StartAsShell(L"-h", {folder_.MakeFile(L"input.txt", "abc")}));
        if (mainDialog)
            ResultList(mainDialog).SettledRows(kShowTimeout);
        return mainDialog;
    }

    std::optional<SettingsDialog> OpenSettings(HWND mainDialog) const
    {
        std::optional<SettingsDialog> dialog = SettingsDialog::Open(*run_, mainDialog);
        if (!dialog)
            ADD_FAILURE() << "no settings dialog; " << WhatItShows(*run_);
        return dialog;
    }

    // The dialog closes with no message, and the program goes on.
    void ExpectClosedQuietly(const SettingsDialog& dialog, HWND mainDialog) const
    {
        EXPECT_TRUE(dialog.WaitUntilClosed()) << "the settings dialog stays";
        EXPECT_FALSE(run_->WaitForMessageBox(kSettleTime)) << WhatItShows(*run_);
        EXPECT_TRUE(IsWindowVisible(mainDialog)) << "the main dialog is gone";
    }
};

using Action = std::function<void(const SettingsDialog&)>;

Action Press(int controlId)
{
    return [controlId](const SettingsDialog& dialog) { dialog.Press(controlId); };
}

Action CheckOnly(std::vector<int> rows)
{
    return [rows](const SettingsDialog& dialog) {
        dialog.Press(kUnselectAll);
        for (int row : rows)
            dialog.CheckHash(row, true);
    };
}

Action SelectCompareHash(int index)
{
    return [index](const SettingsDialog& dialog) { dialog.SelectCompareHash(index); };
}

// How the dialog is left: OK, or one of the three ways that store nothing.
enum class Ending { Ok, Cancel, Escape, CloseBox };

struct DialogCase {
    const char* name;
    std::optional<std::string> file;   // setting.ini before; nothing: no file
    SettingsChoice shown;
    std::vector<Action> actions;
    Ending ending;
    Stored stored;                     // after OK; otherwise the file stays byte for byte
};

void PrintTo(const DialogCase& c, std::ostream* out)
{
    *out << c.name;
}

class SettingsChoiceTest : public SettingsDialogTest, public testing::WithParamInterface<DialogCase> {
protected:
    void End(const SettingsDialog& dialog, Ending ending) const
    {
        switch (ending) {
        case Ending::Ok: dialog.Press(kOk); break;
        case Ending::Cancel: dialog.Press(kCancel); break;
        case Ending::Escape: run_->PressEscape(dialog.Window()); break;
        case Ending::CloseBox: run_->Close(dialog.Window()); break;
        }
    }
};

TEST_P(SettingsChoiceTest, ShowsTheFileAndStoresOnlyOnOk)
{
    const DialogCase& c = GetParam();
    if (c.file)
        folder_.MakeFile(L"setting.ini", *c.file);
    const HWND mainDialog = StartAndFinish();
    ASSERT_TRUE(mainDialog);
    const std::optional<SettingsDialog> dialog = OpenSettings(mainDialog);
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->Shown(), c.shown);

    const std::string before = FileBytes(IniPath());
    for (const Action& action : c.actions)
        action(*dialog);
    End(*dialog, c.ending);
    ExpectClosedQuietly(*dialog, mainDialog);
    if (c.ending == Ending::Ok)
        EXPECT_EQ(StoredIn(IniPath()), c.stored);
    else
        EXPECT_EQ(FileBytes(IniPath()), before) << "the file changed";
    EXPECT_EQ(std::filesystem::exists(IniPath()), c.file || c.ending == Ending::Ok);
}

std::string Section(const std::string& keys)
{
    return "[config]\r\n" + keys;
}

INSTANTIATE_TEST_SUITE_P(Choices, SettingsChoiceTest, testing::Values(
    DialogCase{"NoFileShowsDefaults", std::nullopt, kDefaultChoice, {}, Ending::Ok, kDefaultsStored},
    DialogCase{"FlagOfSevenCheckedStoredAsOne", Section("g_dwMd2=7\r\n"),
               {{true, true, false, true, true, false, false, false, false}, true, 0}, {}, Ending::Ok,
               DefaultsWith({{L"g_dwMd2", "1"}})},
    DialogCase{"LowercaseUncheckedStoresUpperCase", Section("g_dwUpperCase=0\r\n"), kDefaultChoice,
               {Press(kLowercase)}, Ending::Ok, DefaultsWith({{L"g_dwUpperCase", "1"}})},
    DialogCase{"UpperCaseOfTwoShownAsNotLowercase", Section("g_dwUpperCase=2\r\n"),
               {kDefaultChoice.hashes, false, 0}, {}, Ending::Ok, DefaultsWith({{L"g_dwUpperCase", "1"}})},
    DialogCase{"CompareIndexNineNoSelectionStoredAsMinusOne", Section("g_dwCompareHash=9\r\n"),
               {kDefaultChoice.hashes, true, -1}, {}, Ending::Ok, DefaultsWith({{L"g_dwCompareHash", "-1"}})},
    DialogCase{"CompareIndexMinusOneNoSelection", Section("g_dwCompareHash=-1\r\n"),
               {kDefaultChoice.hashes, true, -1}, {}, Ending::Ok, DefaultsWith({{L"g_dwCompareHash", "-1"}})},
    DialogCase{"CompareHashChosen", Section("g_dwCompareHash=5\r\n"), {kDefaultChoice.hashes, true, 5},
               {SelectCompareHash(8)}, Ending::Ok, DefaultsWith({{L"g_dwCompareHash", "8"}})},
    DialogCase{"RowsCheckedByHand", std::nullopt, kDefaultChoice, {CheckOnly({1, 7})}, Ending::Ok,
               {"0", "0", "0", "1", "0", "0", "0", "0", "0", "1", "0"}},
    DialogCase{"SelectAllThenOk", std::nullopt, kDefaultChoice, {Press(kSelectAll)}, Ending::Ok,
               {"0", "0", "1", "1", "1", "1", "1", "1", "1", "1", "1"}},
    DialogCase{"UnselectAllThenOkNineZeros", kOtherThanDefaults, kOtherThanDefaultsChoice, {Press(kUnselectAll)},
               Ending::Ok, {"6", "1", "0", "0", "0", "0", "0", "0", "0", "0", "0"}},
    DialogCase{"ResetThenOkStoresDefaults", kOtherThanDefaults, kOtherThanDefaultsChoice, {Press(kReset)},
               Ending::Ok, kDefaultsStored},
    DialogCase{"ResetThenCancel", kOtherThanDefaults, kOtherThanDefaultsChoice, {Press(kReset)}, Ending::Cancel,
               {}},
    DialogCase{"ChangesThenEscape", kOtherThanDefaults, kOtherThanDefaultsChoice,
               {Press(kSelectAll), Press(kLowercase), SelectCompareHash(0)}, Ending::Escape, {}},
    DialogCase{"ChangesThenCloseBox", kOtherThanDefaults, kOtherThanDefaultsChoice,
               {Press(kUnselectAll), Press(kLowercase)}, Ending::CloseBox, {}},
    DialogCase{"NoFileCancelCreatesNone", std::nullopt, kDefaultChoice, {Press(kSelectAll)}, Ending::Cancel, {}}),
    [](const auto& info) { return info.param.name; });

TEST_F(SettingsDialogTest, FirstOkWritesTheSectionWithElevenKeysInOrder)
{
    const HWND mainDialog = StartAndFinish();
    ASSERT_TRUE(mainDialog);
    const std::optional<SettingsDialog> dialog = OpenSettings(mainDialog);
    ASSERT_TRUE(dialog);
    dialog->Press(kOk);
    ExpectClosedQuietly(*dialog, mainDialog);

    std::string expected = "[config]\r\n";
    for (size_t key = 0; key < std::size(kKeys); ++key)
        expected += Utf8(kKeys[key]) + "=" + kDefaultsStored[key] + "\r\n";
    EXPECT_EQ(FileBytes(IniPath()), expected);
}

struct UnwritableCase {
    const char* name;
    // Puts something in the file's place; what it returns holds it there.
    std::function<std::shared_ptr<void>(const TestFolder& folder)> make;
};

void PrintTo(const UnwritableCase& c, std::ostream* out)
{
    *out << c.name;
}

class UnwritableSettingsTest : public SettingsDialogTest, public testing::WithParamInterface<UnwritableCase> {};

TEST_P(UnwritableSettingsTest, OkClosesSilentlyAndNothingChanges)
{
    std::shared_ptr<void> held = GetParam().make(folder_);
    const HWND mainDialog = StartAndFinish();
    ASSERT_TRUE(mainDialog);
    const std::optional<SettingsDialog> dialog = OpenSettings(mainDialog);
    ASSERT_TRUE(dialog);
    dialog->Press(kSelectAll);
    dialog->Press(kOk);
    ExpectClosedQuietly(*dialog, mainDialog);
    held.reset();
    EXPECT_TRUE(std::filesystem::is_directory(IniPath()) || FileBytes(IniPath()) == kOtherThanDefaults)
        << "setting.ini now holds: " << FileBytes(IniPath());
}

// A file marked read-only does not serve here: Wine lets root write it all the same.
INSTANTIATE_TEST_SUITE_P(Places, UnwritableSettingsTest, testing::Values(
    UnwritableCase{"FolderInItsPlace", [](const TestFolder& folder) {
        folder.MakeFolder(L"setting.ini");
        return std::shared_ptr<void>();
    }},
    UnwritableCase{"HeldOpenByAnother", [](const TestFolder& folder) {
        const std::wstring path = folder.MakeFile(L"setting.ini", kOtherThanDefaults);
        return std::shared_ptr<void>(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr),
                                     CloseHandle);
    }}),
    [](const auto& info) { return info.param.name; });

struct Label {
    int controlId;   // 0: the caption
    const wchar_t* english;
    const wchar_t* korean;
};

const Label kLabels[] = {
    {0, L"Setting", L"설정"},
    {kLowercase, L"Lowercase", L"소문자 표시"},
    {kSelectAll, L"Select All", L"모두 선택"},
    {kUnselectAll, L"Unselect All", L"모두 해제"},
    {kReset, L"Reset", L"초기화"},
    {kSearchHashLabel, L"Search Hash:", L"검색 해시:"},
    {kCompareHashLabel, L"compare Hash :", L"파일 비교 해시 :"},
    {kOk, L"확인", L"확인"},
    {kCancel, L"취소", L"취소"},
};

std::vector<std::string> ComboItems(const SettingsDialog& dialog)
{
    std::vector<std::string> items;
    for (int index = 0; index < kHashKinds; ++index) {
        dialog.SelectCompareHash(index);
        items.push_back(Utf8(dialog.Text(kCompareHash)));
    }
    return items;
}

TEST_F(SettingsDialogTest, LabelsHashListAndComboInTheUsersLanguage)
{
    const HWND mainDialog = StartAndFinish();
    ASSERT_TRUE(mainDialog);
    const std::optional<SettingsDialog> dialog = OpenSettings(mainDialog);
    ASSERT_TRUE(dialog);
    for (const Label& label : kLabels)
        EXPECT_EQ(Utf8(dialog->Text(label.controlId)), Utf8(ByLanguage(label.english, label.korean)))
            << "control " << label.controlId;

    const std::vector<ListColumn> columns = dialog->HashList().Columns();
    ASSERT_EQ(columns.size(), 1u);
    EXPECT_EQ(Utf8(columns[0].heading), Utf8(ByLanguage(L"Item", L"구분")));
    std::vector<std::string> names;
    for (const wchar_t* name : kHashNames)
        names.push_back(Utf8(name));
    EXPECT_EQ(HashNamesOf(dialog->HashList().Rows()), names);
    EXPECT_EQ(Utf8(dialog->Text(kCompareHash)), "CRC-32");
    EXPECT_EQ(ComboItems(*dialog), names);
    dialog->Press(kCancel);
    EXPECT_TRUE(dialog->WaitUntilClosed());
}

bool HasLowerCaseLetter(const std::wstring& text)
{
    return std::any_of(text.begin(), text.end(), [](wchar_t letter) { return letter >= L'a' && letter <= L'z'; });
}

// The dialog fills its background white and then lets the dialog's own erase run, which
// paints the dialog colour over it.
TEST_F(SettingsDialogTest, BackgroundIsTheDialogColourAfterTheWhiteFill)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    ASSERT_NE(face, RGB(255, 255, 255)) << "the dialog colour of this prefix is white: nothing to tell apart";
    const HWND mainDialog = StartAndFinish();
    ASSERT_TRUE(mainDialog);
    const std::optional<SettingsDialog> dialog = OpenSettings(mainDialog);
    ASSERT_TRUE(dialog);
    // A corner of the client area, beside every control.
    POINT corner{2, 2};
    ClientToScreen(dialog->Window(), &corner);
    const RECT area{corner.x, corner.y, corner.x + 4, corner.y + 4};
    auto isFace = [&](Rgb c) { return RGB(c.red, c.green, c.blue) == face; };
    int facePixels = 0;
    WaitUntil([&] { return (facePixels = ScreenPixels(area).Count(area, isFace)) == 16; }, kShowTimeout);
    const Rgb seen = ScreenPixels(area).At(area.left, area.top);
    EXPECT_EQ(facePixels, 16) << "the corner shows (" << int(seen.red) << "," << int(seen.green) << ","
                              << int(seen.blue) << ")";
    dialog->Press(kCancel);
    EXPECT_TRUE(dialog->WaitUntilClosed());
}

TEST_F(SettingsDialogTest, ReopenedShowsTheLastOkWhileTheRunKeepsItsValuesUntilTheNextStart)
{
    const HWND mainDialog = StartAndFinish();
    ASSERT_TRUE(mainDialog);
    const std::vector<ListRow> rows = ResultList(mainDialog).Rows();
    ASSERT_EQ(HashNamesOf(rows), (std::vector<std::string>{"CRC-32", "MD5", "SHA-1"})) << WhatItShows(*run_);
    {
        const std::optional<SettingsDialog> dialog = OpenSettings(mainDialog);
        ASSERT_TRUE(dialog);
        dialog->Press(kSelectAll);
        dialog->Press(kLowercase);
        dialog->SelectCompareHash(4);
        dialog->Press(kOk);
        ASSERT_TRUE(dialog->WaitUntilClosed());
    }
    const std::optional<SettingsDialog> reopened = OpenSettings(mainDialog);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->Shown(), (SettingsChoice{std::vector<bool>(kHashKinds, true), false, 4}));
    reopened->Press(kCancel);
    ASSERT_TRUE(reopened->WaitUntilClosed());
    EXPECT_EQ(ResultList(mainDialog).Rows(), rows) << "the run's rows changed";

    const HWND nextRun = StartAndFinish();
    ASSERT_TRUE(nextRun);
    const std::vector<ListRow> nextRows = ResultList(nextRun).Rows();
    EXPECT_EQ(HashNamesOf(nextRows).size(), static_cast<size_t>(kHashKinds)) << "the next start lists every hash";
    for (const ListRow& row : nextRows)
        EXPECT_FALSE(row.size() < 2 || HasLowerCaseLetter(row[1])) << Utf8(row[0]) << " not in upper case";
}

std::pair<LRESULT, std::wstring> ProgressShown(HWND mainDialog)
{
    return {SendWithTimeout(GetDlgItem(mainDialog, control::kProgress), PBM_GETPOS, 0, 0),
            TextOfControl(mainDialog, control::kPercent)};
}

TEST_F(SettingsDialogTest, UsedWhileTheWorkerHashesTheWorkGoesOnAndFinishes)
{
    const HWND mainDialog =
        MainDialogOf(StartAsShell(L"-h", {folder_.MakeSparseFile(L"large.bin", kLargeFileSize)}));
    ASSERT_TRUE(mainDialog);
    ASSERT_TRUE(WaitUntil([&] { return ProgressShown(mainDialog).second != fixed_text::kTemplateStatic; },
                          kShowTimeout)) << "the work shows no progress";
    const std::optional<SettingsDialog> dialog = OpenSettings(mainDialog);
    ASSERT_TRUE(dialog);
    const auto opened = ProgressShown(mainDialog);
    EXPECT_TRUE(WaitUntil([&] { return ProgressShown(mainDialog) != opened; }, kShowTimeout))
        << "the work stands still while the settings dialog is open";
    ASSERT_EQ(ResultList(mainDialog).RowCount(), 0) << "the work ended before the test could use the dialog";
    dialog->Press(kSelectAll);
    dialog->Press(kOk);
    ASSERT_TRUE(dialog->WaitUntilClosed());
    EXPECT_EQ(HashNamesOf(ResultList(mainDialog).SettledRows(std::chrono::minutes(3))),
              (std::vector<std::string>{"CRC-32", "MD5", "SHA-1"}));
}

}  // namespace
