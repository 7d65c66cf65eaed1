// setting.ini beside the program chooses the hashes and the letter case of a run;
// a missing, odd or unreadable file gives the defaults and never stops start-up.
#include "TessalyTest.h"

#include <functional>

namespace {

// Holds setting.ini open without sharing, so the program cannot read it.
class LockedFile {
public:
    explicit LockedFile(const std::wstring& path)
        : handle_(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, 0, nullptr))
    {
    }
    ~LockedFile() { CloseHandle(handle_); }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

private:
    HANDLE handle_;
};

// Makes the settings file (or something in its place) beside the program; what it
// returns lives for the run.
using SettingsMaker = std::function<std::shared_ptr<void>(const TestFolder&, const std::wstring& iniPath)>;

SettingsMaker Content(std::string text)
{
    return [text](const TestFolder& folder, const std::wstring& iniPath) -> std::shared_ptr<void> {
        folder.MakeFile(iniPath.substr(folder.Path().size() + 1), text);
        return nullptr;
    };
}

const SettingsMaker kNoFile = [](const TestFolder&, const std::wstring&) { return nullptr; };
const SettingsMaker kFolderInstead = [](const TestFolder& folder, const std::wstring& iniPath) {
    folder.MakeFolder(iniPath.substr(folder.Path().size() + 1));
    return nullptr;
};
const SettingsMaker kLocked = [](const TestFolder&, const std::wstring& iniPath) {
    return std::static_pointer_cast<void>(std::make_shared<LockedFile>(iniPath));
};

// The test vectors of "abc".
struct Row { const char* name; const char* value; };
const Row kCrc32{"CRC-32", "352441c2"};
const Row kMd4{"MD4", "a448017aaf21d8525fc10ae87aa6729d"};
const Row kMd5{"MD5", "900150983cd24fb0d6963f7d28e17f72"};
const Row kSha1{"SHA-1", "a9993e364706816aba3e25717850c26c9cd0d89d"};
const Row kSha256{"SHA-256", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"};
const std::vector<Row> kDefaultRows{kCrc32, kMd5, kSha1};

const char kJunk[] = "\xff\xfe\0\x01[config\x00\x80=\n\n\r";

struct SettingsCase {
    const char* name;
    const wchar_t* programFolder;   // below the test folder; empty: the test folder itself
    SettingsMaker make;
    std::vector<Row> rows;
    bool upperCase;
};

void PrintTo(const SettingsCase& c, std::ostream* out)
{
    *out << c.name;
}

class SettingsFileTest : public TessalyTest, public testing::WithParamInterface<SettingsCase> {
protected:
    // Places the program and its settings file, and a settings file in the current
    // folder that enables everything: it must not be the one read.
    HWND StartWithSettings()
    {
        const SettingsCase& c = GetParam();
        std::wstring folder = folder_.Path();
        if (*c.programFolder) {
            folder = folder_.MakeFolder(c.programFolder);
            program_ = folder_.CopyProgram(std::wstring(c.programFolder) + L"\\Tessaly.exe");
        }
        held_ = c.make(folder_, folder + L"\\setting.ini");
        folder_.MakeFile(L"elsewhere\\setting.ini",
                         "[config]\r\ng_dwUpperCase=1\r\ng_dwCrc32=1\r\ng_dwMd2=1\r\ng_dwMd4=1\r\ng_dwMd5=1\r\n"
                         "g_dwSha_1=1\r\ng_dwSha_256=1\r\ng_dwSha_384=1\r\ng_dwSha_512=1\r\ng_dwHas_160=1\r\n");
        return MainDialogOf(StartAsShell(L"-h", {folder_.MakeFile(L"abc.txt", "abc")}));
    }

    std::shared_ptr<void> held_;
};

TEST_P(SettingsFileTest, StartUpGoesOn)
{
    const HWND dialog = StartWithSettings();
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(CaptionBecomes(dialog, Expected().hashTitle));
    EXPECT_EQ(Utf8(TextOfControl(dialog, control::kSettings)), Utf8(fixed_text::kSettingsButton));
}

std::vector<std::vector<std::string>> ExpectedRows(const SettingsCase& c)
{
    std::vector<std::vector<std::string>> rows;
    for (const Row& row : c.rows) {
        std::string value = row.value;
        if (c.upperCase)
            for (char& letter : value)
                letter = static_cast<char>(toupper(static_cast<unsigned char>(letter)));
        rows.push_back({row.name, value});
    }
    return rows;
}

TEST_P(SettingsFileTest, ChoosesTheRows)
{
    const HWND dialog = StartWithSettings();
    ASSERT_TRUE(dialog);
    EXPECT_EQ(Utf8(ResultList(dialog).SettledRows(kShowTimeout)), ExpectedRows(GetParam())) << WhatItShows(*run_);
}

INSTANTIATE_TEST_SUITE_P(Files, SettingsFileTest, testing::Values(
    SettingsCase{"NoFile", L"", kNoFile, kDefaultRows, false},
    SettingsCase{"SomeKeys", L"", Content("[config]\r\ng_dwCrc32=0\r\ng_dwSha_256=1\r\ng_dwUpperCase=2\r\n"),
                 {kMd5, kSha1, kSha256}, true},
    SettingsCase{"CaseOfNamesIgnored", L"", Content("[CONFIG]\r\nG_DWMD4=1\r\ng_dwsha_1=0\r\n"),
                 {kCrc32, kMd4, kMd5}, false},
    SettingsCase{"LettersReadAsZeroEmptyAsDefault", L"", Content("[config]\r\ng_dwMd5=yes\r\ng_dwSha_1=\r\n"),
                 {kCrc32, kSha1}, false},
    SettingsCase{"OtherSectionOnly", L"", Content("[other]\r\ng_dwCrc32=0\r\n"), kDefaultRows, false},
    SettingsCase{"EmptyFile", L"", Content(""), kDefaultRows, false},
    SettingsCase{"BinaryJunk", L"", Content(std::string(kJunk, sizeof kJunk - 1)), kDefaultRows, false},
    SettingsCase{"FolderInItsPlace", L"", kFolderInstead, kDefaultRows, false},
    SettingsCase{"LockedByAnother", L"", kLocked, kDefaultRows, false},
    SettingsCase{"ProgramInKoreanFolderWithBlank", L"설정 폴더 1",
                 Content("[config]\r\ng_dwCrc32=0\r\ng_dwMd5=0\r\n"), {kSha1}, false}),
    [](const auto& info) { return info.param.name; });

}  // namespace
