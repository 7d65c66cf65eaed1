// Mode -h: one row per enabled hash with its value, the progress texts on the way, the
// failures the worker reports, and runs past 4 GiB.
#include "HashSettings.h"
#include "ReferenceDigests.h"
#include "TessalyTest.h"

#include <commctrl.h>

#include <cctype>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <filesystem>
#include <functional>
#include <stdexcept>
#include <thread>

namespace {

constexpr std::chrono::minutes kLongRunTimeout{5};
// Any run of these tests ends within minutes: an estimate of an hour or more is wrong.
constexpr int kPlausibleSecondsLeft = 3600;

// Texts of the file-hash worker in the language of this run.
struct HashTexts {
    std::wstring percent;        // %d: the percentage
    std::wstring hoursLeft;      // %d hours, %d minutes, %d seconds
    std::wstring minutesLeft;    // %d minutes, %d seconds
    std::wstring secondsLeft;    // %d seconds
    std::wstring cannotOpen;     // %s: the path
};

const HashTexts& Texts()
{
    static const HashTexts english{
        L"%d%% Ok",
        L"Left time: About %d hours %d minutes %d seconds left",
        L"Left time: About %d minutes %d seconds left",
        L"Left time: About %d seconds left",
        L"Error(1000): Unable to open the input file\r\n%s",
    };
    static const HashTexts korean{
        L"%d%% 완료",
        L"남은 시간: 약 %d시간 %d분 %d 초 남음",
        L"남은 시간: 약 %d분 %d초 남음",
        L"남은 시간: 약 %d초 남음",
        L"Error(1000): 입력 파일을 열 수 없습니다\r\n%s",
    };
    return std::wcscmp(ExpectedLanguageName(), L"korean") == 0 ? korean : english;
}

std::wstring WithNumber(const std::wstring& format, int number)
{
    wchar_t text[256];
    std::swprintf(text, 256, format.c_str(), number);
    return text;
}

// Published test vectors: RFC 1319, 1320 and 1321, FIPS 180-4, the HAS-160 standard, and
// the CRC-32 of zip.
const HashValues kEmptyValues{
    "00000000",
    "8350e5a3e24c153df2275c9f80692773",
    "31d6cfe0d16ae931b73c59d7e0c089c0",
    "d41d8cd98f00b204e9800998ecf8427e",
    "da39a3ee5e6b4b0d3255bfef95601890afd80709",
    "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855",
    "38b060a751ac96384cd9327eb1b1e36a21fdb71114be07434c0cc7bf63f6e1da274edebfe76f65fbd51ad2f14898b95b",
    "cf83e1357eefb8bdf1542850d66d8007d620e4050b5715dc83f4a921d36ce9ce47d0d13c5d85f2b0ff8318d2877eec2f63b931bd47417a81"
    "a538327af927da3e",
    "307964ef34151d37c8047adec7ab50f4ff89762d",
};
const HashValues kAbcValues{
    "352441c2",
    "da853b0d3f88d99b30283a69e6ded6bb",
    "a448017aaf21d8525fc10ae87aa6729d",
    "900150983cd24fb0d6963f7d28e17f72",
    "a9993e364706816aba3e25717850c26c9cd0d89d",
    "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad",
    "cb00753f45a35e8bb5a03d699ac65007272c32ab0eded1631a8b605a43ff5bed8086072ba1e7cc2358baeca134c825a7",
    "ddaf35a193617abacc417349ae20413112e6fa4e89a97ea20a9eeee64b55d39a2192992a274fc1a836ba3c23a3feebbd454d4423643ce80e"
    "2a9ac94fa54ca49f",
    "975e810488cf2a3d49838478124afce4b1c78804",
};

using Rows = std::vector<std::vector<std::string>>;

Rows ExpectedRows(const HashValues& values, const HashSettings& settings)
{
    Rows rows;
    for (std::size_t i = 0; i < kHashCount; ++i) {
        if (!settings.enabled[i])
            continue;
        std::string value = values[i];
        if (settings.upperCase)
            for (char& digit : value)
                digit = static_cast<char>(std::toupper(static_cast<unsigned char>(digit)));
        rows.push_back({kHashNames[i], value});
    }
    return rows;
}

// What the progress statics showed at one moment.
struct ProgressTexts {
    std::wstring percent;
    std::wstring timeLeft;
    bool operator==(const ProgressTexts& other) const
    {
        return percent == other.percent && timeLeft == other.timeLeft;
    }
};

ProgressTexts ProgressOf(HWND dialog)
{
    return {TextOfControl(dialog, control::kPercent), TextOfControl(dialog, control::kTimeLeft)};
}

// The texts of the last progress update of a file, which comes with its last block.
ProgressTexts FinalProgress()
{
    return {WithNumber(Texts().percent, 100), WithNumber(Texts().secondsLeft, 0)};
}

const ProgressTexts kNoProgress{fixed_text::kTemplateStatic, fixed_text::kTemplateStatic};

// Reads "%d%% Ok" back; nothing when the text has another form.
std::optional<int> PercentShown(const std::wstring& text)
{
    int percent = 0;
    int used = -1;
    if (std::swscanf(text.c_str(), (Texts().percent + L"%n").c_str(), &percent, &used) == 1 &&
        used == static_cast<int>(text.size()))
        return percent;
    return std::nullopt;
}

// Reads a time-left text back into seconds; nothing when it is none of the three forms,
// or a form that does not fit its numbers (the hours form without hours, 60 minutes, a
// negative number).
std::optional<int> SecondsLeftShown(const std::wstring& text)
{
    const HashTexts& t = Texts();
    const int length = static_cast<int>(text.size());
    int h = 0, m = 0, s = 0, used = -1;
    auto inRange = [](int value) { return value >= 0 && value < 60; };
    if (std::swscanf(text.c_str(), (t.hoursLeft + L"%n").c_str(), &h, &m, &s, &used) == 3 && used == length)
        return h > 0 && inRange(m) && inRange(s) ? std::optional<int>(h * 3600 + m * 60 + s) : std::nullopt;
    used = -1;
    if (std::swscanf(text.c_str(), (t.minutesLeft + L"%n").c_str(), &m, &s, &used) == 2 && used == length)
        return m > 0 && inRange(m) && inRange(s) ? std::optional<int>(m * 60 + s) : std::nullopt;
    used = -1;
    if (std::swscanf(text.c_str(), (t.secondsLeft + L"%n").c_str(), &s, &used) == 1 && used == length)
        return inRange(s) ? std::optional<int>(s) : std::nullopt;
    return std::nullopt;
}

// The texts that each progress static showed in a run, in order. The statics are written
// one after the other (the time left before the percentage), so each has its own list.
struct ProgressSeen {
    std::vector<std::wstring> percents;
    std::vector<std::chrono::steady_clock::time_point> percentsFirstSeen;   // one for each percentage
    std::vector<std::wstring> timesLeft;
};

// Percentages from 0 to 100 that never fall, and plausible times left; "Static" before
// the first update.
testing::AssertionResult ProgressIsSound(const ProgressSeen& seen)
{
    int last = 0;
    for (const std::wstring& text : seen.percents) {
        if (text == fixed_text::kTemplateStatic)
            continue;
        const std::optional<int> percent = PercentShown(text);
        if (!percent || *percent < last || *percent > 100)
            return testing::AssertionFailure() << "after " << last << "% the dialog shows \"" << Utf8(text) << "\"";
        last = *percent;
    }
    for (const std::wstring& text : seen.timesLeft) {
        const std::optional<int> left = SecondsLeftShown(text);
        if (text != fixed_text::kTemplateStatic && (!left || *left >= kPlausibleSecondsLeft))
            return testing::AssertionFailure() << "the dialog shows \"" << Utf8(text) << "\"";
    }
    return testing::AssertionSuccess();
}

// Polls the progress statics until done() holds or the timeout passes.
ProgressSeen WatchProgress(HWND dialog, const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    ProgressSeen seen;
    auto note = [](std::vector<std::wstring>& texts, const std::wstring& now) {
        const bool changed = texts.empty() || texts.back() != now;
        if (changed)
            texts.push_back(now);
        return changed;
    };
    WaitUntil([&] {
        const bool finished = done();   // read before the texts, so the last texts are the final ones
        if (note(seen.percents, TextOfControl(dialog, control::kPercent)))
            seen.percentsFirstSeen.push_back(std::chrono::steady_clock::now());
        note(seen.timesLeft, TextOfControl(dialog, control::kTimeLeft));
        return finished;
    }, timeout);
    return seen;
}

// The run's end as a user sees it: its rows, or, when it lists none, its last progress.
bool ShowsItsEnd(HWND dialog, std::size_t rows)
{
    return rows > 0 ? ResultList(dialog).RowCount() >= static_cast<int>(rows) : ProgressOf(dialog) == FinalProgress();
}

LRESULT BarPosition(HWND dialog)
{
    return SendWithTimeout(GetDlgItem(dialog, control::kProgress), PBM_GETPOS, 0, 0);
}

// ---- The rows and progress of whole runs

// An input file and its expected values.
struct Input {
    std::function<std::wstring(const TestFolder&)> path;
    std::function<HashValues()> values;
};

Input Generated(const char* name)
{
    return {[name](const TestFolder&) { return ReferenceFile(name); }, [name] { return ReferenceValues(name); }};
}

Input Written(const wchar_t* fileName, const std::string& bytes, const HashValues& values)
{
    return {[=](const TestFolder& folder) {
                const std::filesystem::path within = std::filesystem::path(fileName).parent_path();
                if (!within.empty())
                    folder.MakeFolder(within.wstring());
                return folder.MakeFile(fileName, bytes);
            },
            [values] { return values; }};
}

constexpr std::uintmax_t kBlock = 10485760;   // the program's read block
const Input kEmpty = Written(L"empty.txt", "", kEmptyValues);
const Input kAbc = Written(L"abc.txt", "abc", kAbcValues);
const Input kAbcInKoreanFolder = Written(L"검사 폴더\\해시 입력 파일 1.txt", "abc", kAbcValues);
const Input kOneBlock = Generated("one-block.bin");       // 10 MiB: exactly one block
const Input kThreeBlocks = Generated("three-blocks.bin"); // the third one short

struct RowsCase {
    const char* name;
    Input input;
    std::optional<HashSettings> settings;   // nothing: no settings file
};

void PrintTo(const RowsCase& c, std::ostream* out)
{
    *out << c.name;
}

class HashRowsTest : public TessalyTest, public testing::WithParamInterface<RowsCase> {};

TEST_P(HashRowsTest, ListsTheValuesAfterTheProgress)
{
    const RowsCase& c = GetParam();
    const HashSettings settings = c.settings.value_or(kDefaultHashes);
    if (c.settings)
        WriteHashSettings(folder_, *c.settings);
    const std::wstring path = c.input.path(folder_);
    const Rows expected = ExpectedRows(c.input.values(), settings);
    const HWND dialog = MainDialogOf(StartAsShell(L"-h", {path}));
    ASSERT_TRUE(dialog);

    const ProgressSeen seen =
        WatchProgress(dialog, [&] { return ShowsItsEnd(dialog, expected.size()); }, kLongRunTimeout);
    std::this_thread::sleep_for(kSettleTime);   // no more rows come

    EXPECT_EQ(Utf8(ResultList(dialog).Rows()), expected) << WhatItShows(*run_);
    EXPECT_EQ(Utf8(TextOfControl(dialog, control::kFile)), Utf8(Formatted(Expected().fileNameFormat, path)));
    EXPECT_TRUE(ProgressIsSound(seen));
    const std::uintmax_t size = std::filesystem::file_size(path);
    const bool empty = size == 0;
    const ProgressTexts final = empty ? kNoProgress : FinalProgress();
    EXPECT_EQ(Utf8(seen.percents.back()), Utf8(final.percent));
    EXPECT_EQ(Utf8(seen.timesLeft.back()), Utf8(final.timeLeft));
    EXPECT_EQ(BarPosition(dialog), empty ? 0 : 100);
    if (size <= kBlock) {   // one update at most, the final one
        for (const std::wstring& text : seen.percents)
            EXPECT_TRUE(text == fixed_text::kTemplateStatic || text == final.percent) << Utf8(text);
        for (const std::wstring& text : seen.timesLeft)
            EXPECT_TRUE(text == fixed_text::kTemplateStatic || text == final.timeLeft) << Utf8(text);
    }
}

INSTANTIATE_TEST_SUITE_P(HashRows, HashRowsTest, testing::Values(
    RowsCase{"DefaultHashes", kThreeBlocks, std::nullopt},
    RowsCase{"AllHashesThreeBlocks", kThreeBlocks, kAllHashes},
    RowsCase{"AllHashesOneBlock", kOneBlock, kAllHashes},
    RowsCase{"AllHashesUpperCase", kAbc, UpperCase(kAllHashes)},
    RowsCase{"NoHashes", kOneBlock, kNoHashes},
    RowsCase{"OnlySha512ThreeBlocks", kThreeBlocks, HashSettings{{false, false, false, false, false, false, false, true}, false}},
    RowsCase{"EmptyFile", kEmpty, kAllHashes},
    RowsCase{"PathWithBlanksAndKoreanLetters", kAbcInKoreanFolder, kAllHashes}),
    [](const auto& info) { return info.param.name; });

// ---- Files past 4 GiB: sparse files of zeros, CRC-32 only

struct LargeCase {
    const char* name;
    std::uint64_t size;
    const char* crc32;   // zlib's: python3 -c "import zlib; ..." over that many zero bytes
};

void PrintTo(const LargeCase& c, std::ostream* out)
{
    *out << c.name;
}

class LargeFileTest : public TessalyTest, public testing::WithParamInterface<LargeCase> {};

TEST_P(LargeFileTest, CountsEveryByteAndEstimatesSoundly)
{
    const LargeCase& c = GetParam();
    WriteHashSettings(folder_, kOnlyCrc32);
    const HWND dialog = MainDialogOf(StartAsShell(L"-h", {folder_.MakeSparseFile(L"large.bin", c.size)}));
    ASSERT_TRUE(dialog);

    const ProgressSeen seen = WatchProgress(dialog, [&] { return ShowsItsEnd(dialog, 1); }, kLongRunTimeout);

    EXPECT_EQ(Utf8(ResultList(dialog).Rows()), (Rows{{"CRC-32", c.crc32}})) << WhatItShows(*run_);
    EXPECT_TRUE(ProgressIsSound(seen));
    EXPECT_EQ(Utf8(seen.percents.back()), Utf8(FinalProgress().percent));
    EXPECT_EQ(Utf8(seen.timesLeft.back()), Utf8(FinalProgress().timeLeft));
    EXPECT_GT(seen.percents.size(), 2u) << "no progress was seen before the end";
}

INSTANTIATE_TEST_SUITE_P(LargeFiles, LargeFileTest, testing::Values(
    LargeCase{"Above4GiB", (4ull << 30) + 5000000, "eff5b51d"},
    LargeCase{"Exactly20GiB", 20ull << 30, "c622f71d"}),
    [](const auto& info) { return info.param.name; });

// ---- The last percentage: shown once every hash is done with the file

// With every hash a 10 MiB block takes about a second (MD2). "100% Ok" comes only once
// all of them are done with the last block, so the rows follow it at once, well within
// the time a block takes, measured between the percentages of the same run.
class LastPercentageTest : public TessalyTest {};

TEST_F(LastPercentageTest, TheRowsFollowItAtOnce)
{
    using Clock = std::chrono::steady_clock;
    WriteHashSettings(folder_, kAllHashes);
    const HWND dialog = MainDialogOf(StartAsShell(L"-h", {folder_.MakeSparseFile(L"three blocks.bin", 3 * kBlock)}));
    ASSERT_TRUE(dialog);

    const ProgressSeen seen = WatchProgress(
        dialog, [&] { return ResultList(dialog).RowCount() == static_cast<int>(kHashCount); }, kLongRunTimeout);
    const Clock::time_point rowsShown = Clock::now();

    // The template's text comes first only when a poll was quick enough to see it.
    const size_t first = !seen.percents.empty() && seen.percents.front() == fixed_text::kTemplateStatic ? 1 : 0;
    const std::vector<std::wstring> texts(seen.percents.begin() + first, seen.percents.end());
    const std::vector<std::wstring> expected{WithNumber(Texts().percent, 33), WithNumber(Texts().percent, 66),
                                             WithNumber(Texts().percent, 100)};
    ASSERT_EQ(Utf8(texts), Utf8(expected)) << WhatItShows(*run_);
    auto milliseconds = [](Clock::duration span) {
        return std::chrono::duration_cast<std::chrono::milliseconds>(span).count();
    };
    const auto firstSeen = [&](size_t index) { return seen.percentsFirstSeen[first + index]; };
    const long long block = milliseconds(firstSeen(2) - firstSeen(0)) / 2;
    const long long rowsAfter = milliseconds(rowsShown - firstSeen(2));
    EXPECT_LT(rowsAfter, block / 2) << "the rows came " << rowsAfter << " ms after the last percentage; a block takes "
                                    << block << " ms";
}

// ---- Failures: no rows, the error box, the dialog stays

// Holds a file open for writing the way an editor does, sharing it with readers and
// writers: the program's read-only sharing still refuses it.
class WriterOfFile {
public:
    explicit WriterOfFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, 0, nullptr))
    {
        if (handle_ == INVALID_HANDLE_VALUE)
            throw std::runtime_error("cannot open " + Utf8(path) + " for writing");
    }
    ~WriterOfFile() { CloseHandle(handle_); }
    WriterOfFile(const WriterOfFile&) = delete;
    WriterOfFile& operator=(const WriterOfFile&) = delete;

private:
    HANDLE handle_;
};

// Runs that end in the error box.
class HashFailureTest : public TessalyTest {
protected:
    // Starts the program on the path and checks the error box with that message, the
    // file name shown and an empty list before and after the box. Returns the dialog.
    HWND FailsWith(const std::wstring& path, const std::wstring& message)
    {
        const HWND dialog = MainDialogOf(StartAsShell(L"-h", {path}));
        if (!dialog)
            return nullptr;
        std::optional<MessageBoxView> box;
        WaitUntil([&] { return (box = run_->WaitForMessageBox(0ms)) || ResultList(dialog).RowCount() > 0; },
                  kLongRunTimeout);
        if (!box) {
            ADD_FAILURE() << "no message box; the list shows " << testing::PrintToString(Utf8(ResultList(dialog).Rows()));
            return nullptr;
        }
        EXPECT_EQ(Utf8(box->text), Utf8(message));
        EXPECT_EQ(Utf8(box->caption), Utf8(fixed_text::kNoCaption));
        EXPECT_STREQ(NameOf(box->icon), NameOf(BoxIcon::Error));
        EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
        EXPECT_EQ(Utf8(TextOfControl(dialog, control::kFile)), Utf8(Formatted(Expected().fileNameFormat, path)));
        EXPECT_EQ(ResultList(dialog).RowCount(), 0) << "rows while the box is open";
        EXPECT_TRUE(Answer(*box, IDOK)) << "the box stays";
        std::this_thread::sleep_for(kSettleTime);
        EXPECT_EQ(ResultList(dialog).RowCount(), 0) << "rows after the box";
        return dialog;
    }

    // The dialog stays after the failure; closing it ends the program without a question.
    void StaysUntilClosed(HWND dialog) const
    {
        EXPECT_TRUE(run_->Process().Running());
        EXPECT_TRUE(IsWindowVisible(dialog));
        run_->Close(dialog);
        EXPECT_TRUE(EndsAskingNothing(*run_));
    }
};

struct OpenFailureCase {
    const char* name;
    std::function<std::wstring(const TestFolder&)> path;
    bool heldByWriter;
};

void PrintTo(const OpenFailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class OpenFailureTest : public HashFailureTest, public testing::WithParamInterface<OpenFailureCase> {};

TEST_P(OpenFailureTest, ShowsError1000BeforeAnyProgress)
{
    const std::wstring path = GetParam().path(folder_);
    std::optional<WriterOfFile> writer;
    if (GetParam().heldByWriter)
        writer.emplace(path);
    const HWND dialog = FailsWith(path, Formatted(Texts().cannotOpen, path));
    if (!dialog)
        return;
    EXPECT_TRUE(ProgressOf(dialog) == kNoProgress) << "progress shown: \"" << Utf8(ProgressOf(dialog).percent) << "\"";
    StaysUntilClosed(dialog);
}

INSTANTIATE_TEST_SUITE_P(OpenFailures, OpenFailureTest, testing::Values(
    OpenFailureCase{"Folder", [](const TestFolder& f) { return f.MakeFolder(L"a folder"); }, false},
    OpenFailureCase{"HeldOpenForWriting", [](const TestFolder& f) { return f.MakeFile(L"busy.txt", "abc"); }, true}),
    [](const auto& info) { return info.param.name; });

// Files whose reads go wrong in the middle, on the file system that with-failing-reads
// mounts. The blocks before the failure are read and shown, never more than the whole
// file; then error 1018 and no rows.
struct ReadFailureCase {
    const char* name;
    const wchar_t* file;
    // The percentage shown at the failure: a read that fails part-way returns the bytes
    // it got first, so the last block may be short.
    int lowest;
    int highest;
};

void PrintTo(const ReadFailureCase& c, std::ostream* out)
{
    *out << c.name;
}

class ReadFailureTest : public HashFailureTest, public testing::WithParamInterface<ReadFailureCase> {};

TEST_P(ReadFailureTest, ShowsError1018AfterTheBlocksReadAndNoRows)
{
    const ReadFailureCase& c = GetParam();
    const std::optional<std::wstring> path = MismatchedReadsFile(c.file);
    if (!path)
        GTEST_SKIP() << "needs the file system of with-failing-reads (the CTest entries *.hash-read-failure)";
    WriteHashSettings(folder_, kAllHashes);
    const HWND dialog = FailsWith(*path, Formatted(Expected().readError, *path));
    if (!dialog)
        return;
    const std::optional<int> percent = PercentShown(ProgressOf(dialog).percent);
    EXPECT_TRUE(percent && *percent >= c.lowest && *percent <= c.highest)
        << "\"" << Utf8(ProgressOf(dialog).percent) << "\"";
    StaysUntilClosed(dialog);
}

INSTANTIATE_TEST_SUITE_P(ReadFailures, ReadFailureTest, testing::Values(
    ReadFailureCase{"FailsPast12MiB", L"failing.bin", 31, 37},      // 10 or 12 of 32 MiB
    ReadFailureCase{"EndsAtHalfItsSize", L"shrinking.bin", 50, 50}, // 15 of 30 MiB
    ReadFailureCase{"GrowsBy1MiB", L"growing.bin", 100, 100}),      // 20 of 20 MiB, then 1 more
    [](const auto& info) { return info.param.name; });

// ---- Closing during the work and answering No: the work goes on to its rows

class CancelDeclinedTest : public TessalyTest {};

TEST_F(CancelDeclinedTest, TheWorkFinishesWithItsRows)
{
    WriteHashSettings(folder_, kAllHashes);   // about 60 MiB: seconds with MD2
    const Input input = Generated("long-run.bin");
    const Rows expected = ExpectedRows(input.values(), kAllHashes);
    const HWND dialog = MainDialogOf(StartAsShell(L"-h", {input.path(folder_)}));
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(WaitUntil([&] { return !(ProgressOf(dialog) == kNoProgress); }, kShowTimeout))
        << "the work shows no progress";

    run_->Close(dialog);
    const std::optional<MessageBoxView> question = run_->WaitForMessageBox();
    ASSERT_TRUE(question) << "no question";
    ASSERT_EQ(Utf8(question->text), Utf8(Expected().cancelQuestion));
    EXPECT_TRUE(Answer(*question, IDNO)) << "the question stays";

    ASSERT_TRUE(WaitUntil([&] { return ShowsItsEnd(dialog, expected.size()); }, kLongRunTimeout))
        << "no rows; " << WhatItShows(*run_);
    EXPECT_EQ(Utf8(ResultList(dialog).SettledRows(kShowTimeout)), expected);
    EXPECT_TRUE(IsWindowVisible(dialog));
}

}  // namespace
