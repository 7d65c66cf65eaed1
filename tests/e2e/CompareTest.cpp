// Compare mode: two files hashed by the compare hash in one progress run, the verdict
// on both rows and its colour on the screen.
#include "CryptoDigest.h"
#include "ScreenPixels.h"
#include "TessalyTest.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <cwctype>
#include <functional>
#include <thread>

namespace {

// Texts of the compare worker in the language of this run.
struct CompareTexts {
    std::wstring folderFormat;    // one %s: the first file's folder
    std::wstring percentFormat;   // one %s: the combined percentage
    std::wstring nothingLeft;     // the time left once both files are read
    std::wstring openError;       // one %s: the path
};

const CompareTexts& Texts()
{
    static const CompareTexts english{L"File path: %s", L"%s% Ok", L"Left time: About 0 seconds left",
                                      L"Error(1000): Unable to open the input file\r\n%s"};
    static const CompareTexts korean{L"파일 경로: %s", L"%s% 완료", L"남은 시간: 약 0초 남음",
                                     L"Error(1000): 입력 파일을 열 수 없습니다\r\n%s"};
    return std::wstring(ExpectedLanguageName()) == L"korean" ? korean : english;
}

// The reference CRC-32 (reflected polynomial 0xEDB88320), one bit at a time.
std::wstring Crc32(const std::string& bytes)
{
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc ^= byte;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    wchar_t text[9];
    std::swprintf(text, 9, L"%08x", ~crc);
    return text;
}

std::wstring UpperCase(std::wstring text)
{
    std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return std::towupper(c); });
    return text;
}

std::wstring FileNameOf(const std::wstring& path)
{
    return path.substr(path.find_last_of(L'\\') + 1);
}

class CompareRun : public TessalyTest {
protected:
    // setting.ini beside the program, with these lines in its [config] section.
    void UseSettings(const std::string& lines) const { folder_.MakeFile(L"setting.ini", "[config]\r\n" + lines); }

    HWND StartCompare(const std::vector<std::wstring>& paths)
    {
        dialog_ = MainDialogOf(StartAsShell(L"-c", paths));
        return dialog_;
    }

    std::vector<ListRow> ResultRows() const { return ResultList(dialog_).SettledRows(kShowTimeout); }
    LRESULT BarPosition() const { return SendWithTimeout(GetDlgItem(dialog_, control::kProgress), PBM_GETPOS, 0, 0); }

    HWND dialog_ = nullptr;
};

// ---- Verdict and its colour ----

const Rgb kBlue{0, 0, 255};
const Rgb kRed{255, 0, 0};

// Text smoothed onto the white background mixes its colour with white: every channel
// lies the same fraction of the way from 255 down to the colour's own value.
bool IsTextIn(Rgb pixel, Rgb colour)
{
    auto share = [](int shown, int own) { return own == 255 ? -1.0 : (255.0 - shown) / (255.0 - own); };
    const double ink = std::max({share(pixel.red, colour.red), share(pixel.green, colour.green),
                                 share(pixel.blue, colour.blue)});
    auto fits = [&](int shown, int own) { return std::abs(shown - (255.0 - ink * (255.0 - own))) <= 3.0; };
    return ink >= 0.3 && fits(pixel.red, colour.red) && fits(pixel.green, colour.green) && fits(pixel.blue, colour.blue);
}

// Black text on white, smoothed or not, gives greys only.
bool IsColoured(Rgb c) { return std::max({c.red, c.green, c.blue}) - std::min({c.red, c.green, c.blue}) > 24; }
bool IsDark(Rgb c) { return c.red < 128 && c.green < 128 && c.blue < 128; }

// Both rows' cells as the screen shows them: the verdict in its colour, the rest black.
testing::AssertionResult CellsAreDrawnIn(const RemoteListView& list, bool match)
{
    const int rows = 2;
    RECT whole = list.CellOnScreen(0, 0);
    const RECT last = list.CellOnScreen(rows - 1, 3);
    UnionRect(&whole, &whole, &last);
    const ScreenPixels screen(whole);
    const Rgb want = match ? kBlue : kRed;
    const Rgb other = match ? kRed : kBlue;
    for (int row = 0; row < rows; ++row) {
        for (int column = 0; column < 4; ++column) {
            const RECT cell = list.CellOnScreen(row, column);
            const std::string where = " in row " + std::to_string(row) + " column " + std::to_string(column);
            const int wanted = screen.Count(cell, [&](Rgb c) { return IsTextIn(c, want); });
            const int others = screen.Count(cell, [&](Rgb c) { return IsTextIn(c, other); });
            if (column == 3 && (wanted == 0 || others > 0))
                return testing::AssertionFailure() << "the verdict is not drawn in " << (match ? "blue" : "red")
                                                   << where << " (" << wanted << " pixels of it, " << others
                                                   << " of the other colour)";
            const int coloured = screen.Count(cell, IsColoured);
            const int dark = screen.Count(cell, IsDark);
            if (column != 3 && (coloured > 0 || dark == 0))
                return testing::AssertionFailure() << "the text is not black" << where << " (" << coloured
                                                   << " coloured pixels, " << dark << " dark ones)";
        }
    }
    return testing::AssertionSuccess();
}

struct VerdictCase {
    const char* name;
    std::string first;
    std::string second;   // empty: the first file named twice
    bool upperCase;
    bool match;
};

void PrintTo(const VerdictCase& c, std::ostream* out)
{
    *out << c.name;
}

class VerdictTest : public CompareRun, public testing::WithParamInterface<VerdictCase> {};

TEST_P(VerdictTest, BothRowsCarryItInItsColour)
{
    const VerdictCase& c = GetParam();
    UseSettings(c.upperCase ? "g_dwUpperCase=1\r\n" : "");
    const std::wstring first = folder_.MakeFile(L"first.bin", c.first);
    const std::wstring second = c.second.empty() ? first : folder_.MakeFile(L"second.bin", c.second);
    ASSERT_TRUE(StartCompare({first, second}));

    auto value = [&](const std::string& bytes) { return c.upperCase ? UpperCase(Crc32(bytes)) : Crc32(bytes); };
    const std::wstring verdict = c.match ? L"O" : L"X";
    const std::vector<ListRow> expected{
        {FileNameOf(first), L"CRC-32", value(c.first), verdict},
        {FileNameOf(second), L"CRC-32", value(c.second.empty() ? c.first : c.second), verdict}};
    ASSERT_EQ(ResultRows(), expected) << WhatItShows(*run_);

    const RemoteListView list = ResultList(dialog_);
    EXPECT_TRUE(WaitUntil([&] { return CellsAreDrawnIn(list, c.match); }, kEndTimeout))
        << CellsAreDrawnIn(list, c.match).message();
}

const std::string kText = "The quick brown fox jumps over the lazy dog\n";
std::string WithOneByteChanged(std::string bytes)
{
    bytes[bytes.size() / 2] ^= 0x01;
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(Verdicts, VerdictTest, testing::Values(
    VerdictCase{"IdenticalFiles", kText, kText, false, true},
    VerdictCase{"OneFileNamedTwice", kText, "", false, true},
    VerdictCase{"OneByteDiffers", kText, WithOneByteChanged(kText), false, false},
    VerdictCase{"UpperCaseIdentical", kText, kText, true, true},
    VerdictCase{"UpperCaseOneByteDiffers", kText, WithOneByteChanged(kText), true, false}),
    [](const auto& info) { return info.param.name; });

// ---- Progress over both files, and the folder text ----

struct Placed {
    std::vector<std::wstring> paths;   // as passed to the program
    std::wstring shownFolder;          // what the file static shows after "File path: "
};
using Placement = std::function<Placed(const TestFolder&, const std::string& first, const std::string& second)>;

// Both files in the test folder, named by their full paths.
const Placement kSideBySide = [](const TestFolder& f, const std::string& first, const std::string& second) {
    return Placed{{f.MakeFile(L"first.txt", first), f.MakeFile(L"second.txt", second)}, f.Path() + L"\\"};
};
const Placement kDifferentFolders = [](const TestFolder& f, const std::string& first, const std::string& second) {
    f.MakeFolder(L"one");
    f.MakeFolder(L"two");
    return Placed{{f.MakeFile(L"one\\first.txt", first), f.MakeFile(L"two\\second.txt", second)},
                  f.PathOf(L"one\\")};
};
// Bare names, found in the program's current folder.
const Placement kBareNames = [](const TestFolder& f, const std::string& first, const std::string& second) {
    f.MakeFile(L"elsewhere\\first.txt", first);
    f.MakeFile(L"elsewhere\\second.txt", second);
    return Placed{{L"first.txt", L"second.txt"}, L"\\"};
};

struct ProgressCase {
    const char* name;
    std::string first;
    std::string second;
    Placement place;
    int bar;   // where the bar ends
};

void PrintTo(const ProgressCase& c, std::ostream* out)
{
    *out << c.name;
}

class CompareProgressTest : public CompareRun, public testing::WithParamInterface<ProgressCase> {};

TEST_P(CompareProgressTest, ShowsTheFirstFolderAndEndsWithTheBarAndRows)
{
    const ProgressCase& c = GetParam();
    const Placed placed = c.place(folder_, c.first, c.second);
    ASSERT_TRUE(StartCompare(placed.paths));

    const std::wstring verdict = c.first == c.second ? L"O" : L"X";
    const std::vector<ListRow> expected{{FileNameOf(placed.paths[0]), L"CRC-32", Crc32(c.first), verdict},
                                        {FileNameOf(placed.paths[1]), L"CRC-32", Crc32(c.second), verdict}};
    ASSERT_EQ(ResultRows(), expected) << WhatItShows(*run_);
    EXPECT_EQ(Utf8(TextOfControl(dialog_, control::kFile)), Utf8(Formatted(Texts().folderFormat, placed.shownFolder)));
    EXPECT_EQ(BarPosition(), c.bar);
    // Two empty files give no block, so nothing ever updates the progress.
    const bool updated = !(c.first + c.second).empty();
    EXPECT_EQ(Utf8(TextOfControl(dialog_, control::kPercent)),
              Utf8(updated ? Formatted(Texts().percentFormat, std::to_wstring(c.bar)) : fixed_text::kTemplateStatic));
    EXPECT_EQ(Utf8(TextOfControl(dialog_, control::kTimeLeft)),
              Utf8(updated ? Texts().nothingLeft : fixed_text::kTemplateStatic));
}

INSTANTIATE_TEST_SUITE_P(Progress, CompareProgressTest, testing::Values(
    ProgressCase{"TwoEmptyFiles", "", "", kSideBySide, 0},
    // An empty first file earns nothing, so the second moves the bar to half only.
    ProgressCase{"EmptyFirstFile", "", "abc", kSideBySide, 50},
    ProgressCase{"EmptySecondFile", "abc", "", kSideBySide, 50},
    ProgressCase{"DifferentFolders", "abc", "abc", kDifferentFolders, 100},
    ProgressCase{"BareNames", "abc", "abd", kBareNames, 100}),
    [](const auto& info) { return info.param.name; });

// ---- Failures of the second pass ----

// The file held open for writing: the program's read-only sharing refuses it.
std::shared_ptr<void> HeldForWriting(const std::wstring& path)
{
    return {CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                        nullptr),
            CloseHandle};
}

struct FailureCase {
    const char* name;
    // Makes the inputs; returns the paths to pass and the one the error names.
    std::function<std::pair<std::vector<std::wstring>, std::wstring>(const TestFolder&, std::shared_ptr<void>&)>
        make;
    int bar;   // where the bar stands when the error shows
};

void PrintTo(const FailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class CompareFailureRun : public CompareRun {
protected:
    // Compares the paths; the run shows the error box with this message, with the bar
    // where the files read before the failure left it, then no rows.
    void FailsWith(const std::vector<std::wstring>& paths, const std::wstring& message,
                   const std::function<bool(LRESULT)>& barAsExpected)
    {
        ASSERT_TRUE(StartCompare(paths));
        const std::optional<MessageBoxView> box = run_->WaitForMessageBox();
        ASSERT_TRUE(box) << "no error box";
        EXPECT_EQ(Utf8(box->text), Utf8(message));
        EXPECT_EQ(Utf8(box->caption), Utf8(fixed_text::kNoCaption));
        EXPECT_STREQ(NameOf(box->icon), NameOf(BoxIcon::Error));
        EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
        EXPECT_PRED1(barAsExpected, BarPosition()) << "the files read before the failing one";

        EXPECT_TRUE(Answer(*box, IDOK));
        std::this_thread::sleep_for(kSettleTime);
        EXPECT_EQ(ResultList(dialog_).RowCount(), 0);
        EXPECT_TRUE(IsWindowVisible(dialog_)) << "the dialog stays open";
    }
};

class CompareFailureTest : public CompareFailureRun, public testing::WithParamInterface<FailureCase> {};

TEST_P(CompareFailureTest, ShowsError1000WithThePathAndNoRows)
{
    const FailureCase& c = GetParam();
    std::shared_ptr<void> held;
    const auto [paths, failing] = c.make(folder_, held);
    FailsWith(paths, Formatted(Texts().openError, failing), [&](LRESULT bar) { return bar == c.bar; });
}

INSTANTIATE_TEST_SUITE_P(Failures, CompareFailureTest, testing::Values(
    FailureCase{"SecondFileHeldForWriting", [](const TestFolder& f, std::shared_ptr<void>& held) {
        const std::wstring second = f.MakeFile(L"second.txt", "abc");
        held = HeldForWriting(second);
        return std::pair{std::vector<std::wstring>{f.MakeFile(L"first.txt", "abc"), second}, second};
    }, 50},
    // The first file is read; then the absent second path opens as nothing.
    FailureCase{"NoThirdArgument", [](const TestFolder& f, std::shared_ptr<void>&) {
        return std::pair{std::vector<std::wstring>{f.MakeFile(L"first.txt", "abc")}, std::wstring()};
    }, 50},
    FailureCase{"FirstPathAFolder", [](const TestFolder& f, std::shared_ptr<void>&) {
        const std::wstring first = f.MakeFolder(L"a folder");
        return std::pair{std::vector<std::wstring>{first, f.MakeFile(L"second.txt", "abc")}, first};
    }, 0}),
    [](const auto& info) { return info.param.name; });

// Files whose reads go wrong, on the file system that with-failing-reads mounts: one
// whose reads fail past 12 MiB (32 MiB), one that ends after 15 of the 30 MiB it had at
// open, one that delivers 21 of its 20 MiB; beside a 32 MiB file that reads whole.
struct ReadFailureCase {
    const char* name;
    const wchar_t* first;
    const wchar_t* second;
    int failing;   // which of the two the error names
    // Where the blocks read before the failure leave the bar: the second file's first
    // blocks move it only once 250 ms have passed, and a read that fails part-way
    // returns the bytes it got first.
    int lowest;
    int highest;
};

void PrintTo(const ReadFailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class CompareReadFailureTest : public CompareFailureRun, public testing::WithParamInterface<ReadFailureCase> {};

TEST_P(CompareReadFailureTest, ShowsError1018WithThePathAndNoRows)
{
    const ReadFailureCase& c = GetParam();
    const std::optional<std::wstring> first = MismatchedReadsFile(c.first);
    const std::optional<std::wstring> second = MismatchedReadsFile(c.second);
    if (!first || !second)
        GTEST_SKIP() << "needs the file system of with-failing-reads (the CTest entries *.hash-read-failure)";
    FailsWith({*first, *second}, Formatted(Expected().readError, c.failing == 0 ? *first : *second),
              [&](LRESULT bar) { return bar >= c.lowest && bar <= c.highest; });
}

INSTANTIATE_TEST_SUITE_P(ReadFailures, CompareReadFailureTest, testing::Values(
    ReadFailureCase{"FirstFailsPast12MiB", L"failing.bin", L"intact.bin", 0, 15, 18},       // half of 10 or 12/32
    ReadFailureCase{"SecondFailsPast12MiB", L"intact.bin", L"failing.bin", 1, 50, 68},      // 50 + half of that
    ReadFailureCase{"SecondEndsAtHalfItsSize", L"intact.bin", L"shrinking.bin", 1, 50, 75}, // 50 + half of 15/30
    ReadFailureCase{"FirstGrowsBy1MiB", L"growing.bin", L"intact.bin", 0, 50, 50},          // half of 20/20
    ReadFailureCase{"SecondGrowsBy1MiB", L"intact.bin", L"growing.bin", 1, 50, 100}),       // 50 + half of 20/20
    [](const auto& info) { return info.param.name; });

// A second file that grew after the first pass took both sizes, as a download still
// going on: it is read whole at the size it has then, the time left never falls below
// zero and the bar and the percentage end at 100.
class CompareSizeChangeTest : public CompareRun {};

TEST_F(CompareSizeChangeTest, SecondFileGrownSinceTheFirstPassEndsWithNothingLeft)
{
    const std::optional<std::wstring> grown = MismatchedReadsFile(L"grown-after-sizing.bin");
    if (!grown)
        GTEST_SKIP() << "needs the file system of with-failing-reads (the CTest entries *.hash-read-failure)";
    // Its reads take seconds: a time left computed from the sizes of the first pass would
    // be some seconds below zero at the end.
    ASSERT_TRUE(StartCompare({folder_.MakeFile(L"abc.txt", "abc"), *grown}));
    const std::wstring grownValue = Crc32(std::string(20 * 1048576 + 1, '\0'));
    const std::vector<ListRow> expected{{L"abc.txt", L"CRC-32", Crc32("abc"), L"X"},
                                        {L"grown-after-sizing.bin", L"CRC-32", grownValue, L"X"}};
    EXPECT_EQ(ResultRows(), expected) << WhatItShows(*run_);
    EXPECT_EQ(Utf8(TextOfControl(dialog_, control::kTimeLeft)), Utf8(Texts().nothingLeft));
    EXPECT_EQ(Utf8(TextOfControl(dialog_, control::kPercent)), Utf8(Formatted(Texts().percentFormat, L"100")));
    EXPECT_EQ(BarPosition(), 100);
}

class CompareCancelTest : public CompareRun {};

TEST_F(CompareCancelTest, YesDuringTheFirstFileEndsWithoutRows)
{
    // Long at any speed; sparse, so it takes no disk space.
    const std::wstring giant = folder_.MakeSparseFile(L"giant.bin", 64ull << 30);
    ASSERT_TRUE(StartCompare({giant, folder_.MakeFile(L"small.txt", "abc")}));
    ASSERT_TRUE(WaitUntil([&] { return TextOfControl(dialog_, control::kPercent) != fixed_text::kTemplateStatic; },
                          kShowTimeout)) << "the work shows no progress; " << WhatItShows(*run_);

    run_->Close(dialog_);
    const std::optional<MessageBoxView> question = run_->WaitForMessageBox();
    ASSERT_TRUE(question) << "no question";
    EXPECT_EQ(Utf8(question->text), Utf8(Expected().cancelQuestion));
    EXPECT_LT(BarPosition(), 50) << "still in the first file";
    EXPECT_EQ(ResultList(dialog_).RowCount(), 0);
    EXPECT_TRUE(Answer(*question, IDYES));
    // Reading the rest would take minutes; ending within the timeout means it stopped.
    EXPECT_TRUE(EndsAskingNothing(*run_));
}

// ---- The compare hash chosen in setting.ini ----

using Digest = std::function<std::wstring(const std::string&)>;

Digest ByCryptoApi(ALG_ID algorithm)
{
    return [algorithm](const std::string& bytes) { return CryptoDigest(algorithm, bytes); };
}

// HAS-160 is not in CryptoAPI: the published values of the two inputs used here.
const Digest kHas160 = [](const std::string& bytes) -> std::wstring {
    return bytes == "abc" ? L"975e810488cf2a3d49838478124afce4b1c78804" : L"4872bcbc4cd0f0a9dc7c2f7045e5b43b6c830db8";
};

struct CompareHashCase {
    const char* name;
    const char* setting;   // the text of g_dwCompareHash
    const wchar_t* hashName;
    Digest digest;
};

void PrintTo(const CompareHashCase& c, std::ostream* out)
{
    *out << c.name;
}

class CompareHashTest : public CompareRun, public testing::WithParamInterface<CompareHashCase> {};

TEST_P(CompareHashTest, ValuesAreThatHashOfEachFile)
{
    const CompareHashCase& c = GetParam();
    UseSettings(std::string("g_dwCompareHash=") + c.setting + "\r\n");
    ASSERT_TRUE(StartCompare({folder_.MakeFile(L"abc.txt", "abc"), folder_.MakeFile(L"a.txt", "a")}));
    const std::vector<ListRow> expected{{L"abc.txt", c.hashName, c.digest("abc"), L"X"},
                                        {L"a.txt", c.hashName, c.digest("a"), L"X"}};
    EXPECT_EQ(ResultRows(), expected) << WhatItShows(*run_);
}

INSTANTIATE_TEST_SUITE_P(CompareHashes, CompareHashTest, testing::Values(
    CompareHashCase{"Crc32", "0", L"CRC-32", Crc32},
    CompareHashCase{"Md2", "1", L"MD2", ByCryptoApi(CALG_MD2)},
    CompareHashCase{"Md4", "2", L"MD4", ByCryptoApi(CALG_MD4)},
    CompareHashCase{"Md5", "3", L"MD5", ByCryptoApi(CALG_MD5)},
    CompareHashCase{"Sha1", "4", L"SHA-1", ByCryptoApi(CALG_SHA1)},
    CompareHashCase{"Sha256", "5", L"SHA-256", ByCryptoApi(CALG_SHA_256)},
    CompareHashCase{"Sha384", "6", L"SHA-384", ByCryptoApi(CALG_SHA_384)},
    CompareHashCase{"Sha512", "7", L"SHA-512", ByCryptoApi(CALG_SHA_512)},
    CompareHashCase{"Has160", "8", L"HAS-160", kHas160},
    // Outside the list: the default compare hash, not no hash at all.
    CompareHashCase{"MinusOne", "-1", L"CRC-32", Crc32},
    CompareHashCase{"Nine", "9", L"CRC-32", Crc32}),
    [](const auto& info) { return info.param.name; });

}  // namespace
