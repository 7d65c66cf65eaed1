// The update check at start-up: the document of one of four servers decides whether
// the program offers a newer version and what a Yes opens; an unusable document gives
// a message. Start-up goes on to the main dialog in every case.
#include "ByLanguage.h"
#include "ShellOpenRecorder.h"
#include "TessalyTest.h"
#include "UpdateServers.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <sstream>
#include <thread>

namespace {

constexpr const char* kWebPage = "https://larkspan.example/download";
constexpr const char* kInstaller = "https://larkspan.example/Larkspan-2.1.2.6.msi";
constexpr int kMostStarts = 40;

// Entry 5002 formatted with the product word, the program's version and the update version.
std::wstring PromptText(const std::wstring& updateVersion)
{
    const std::wstring entry = ByLanguage(
        L"%s has been updated to a new version.\r\nPlease delete the old version and then download and install "
        L"the new version.\r\n\r\nCurrent Version: %s\r\nUpdate Version: %s\r \n\r\nWould you like to go to the "
        L"download site?",
        L"%s가 새로운 버전으로 업데이트 되었습니다.\r\n기존버전을 삭제하신 다음 새 버전을 다운로드 받아 "
        L"설치하시기 바랍니다.\r\n\r\nCurrent Version: %s\r\nUpdate Version: %s\r\n\r\n다운로드 사이트로 "
        L"이동하시겠습니까?");
    return Formatted(Formatted(Formatted(entry, L"Larkspan"), L"2.1.2.5"), updateVersion);
}

std::wstring NotFoundText()
{
    return ByLanguage(L"Could not find update version information.", L"업데이트 버전 정보를 찾을 수 없습니다.");
}

std::string Shown(const std::optional<MessageBoxView>& box)
{
    return box ? "the program shows " + Describe(*box) : "";
}

class UpdateCheckTest : public TessalyTest {
protected:
    // Starts the program on a small file while every update server serves this document.
    const TessalyRun& StartServing(const std::string& document)
    {
        UpdateServers::Instance().ServeEverywhere(document);
        return StartAsShell(L"-h", {folder_.MakeFile(L"input.txt", "abc")});
    }

    // Checks a box of the update check that stands alone before the main dialog.
    static void ExpectUpdateBox(const TessalyRun& run, const MessageBoxView& box, const std::wstring& text,
                                BoxIcon icon, const std::vector<int>& buttons)
    {
        EXPECT_EQ(Utf8(box.caption), Utf8(Expected().updateCaption));
        EXPECT_EQ(Utf8(box.text), Utf8(text));
        EXPECT_STREQ(NameOf(box.icon), NameOf(icon));
        EXPECT_EQ(box.buttons, buttons);
        EXPECT_EQ(run.VisibleWindows(), std::vector<HWND>{box.window}) << "the box does not come before the rest";
    }

    // The main dialog comes and the work is done.
    static void ExpectStartUpGoesOn(const TessalyRun& run)
    {
        const HWND mainDialog = MainDialogOf(run);
        ASSERT_TRUE(mainDialog);
        EXPECT_FALSE(ResultList(mainDialog).SettledRows(kShowTimeout).empty()) << "no result rows";
    }
};

struct VersionCase {
    const char* name;
    std::string version;        // the text of VERSION
    std::wstring shownVersion;  // in the prompt; empty: no prompt
};

void PrintTo(const VersionCase& c, std::ostream* out)
{
    *out << c.name;
}

class UpdateVersionTest : public UpdateCheckTest, public testing::WithParamInterface<VersionCase> {};

// A Yes is the business of UpdateOpenTest; No opens nothing.
TEST_P(UpdateVersionTest, NewerVersionAloneIsOfferedAndStartUpGoesOn)
{
    const VersionCase& c = GetParam();
    const ShellOpenRecorder opened(folder_);
    const TessalyRun& run = StartServing(UpdateDocument(c.version, kInstaller, kWebPage));

    const std::optional<MessageBoxView> box = run.WaitForBoxBeforeMainDialog();
    if (c.shownVersion.empty()) {
        EXPECT_FALSE(box) << Shown(box);
    } else {
        ASSERT_TRUE(box) << "no update prompt";
        ExpectUpdateBox(run, *box, PromptText(c.shownVersion), BoxIcon::Question, {IDYES, IDNO});
        EXPECT_TRUE(Answer(*box, IDNO)) << "the prompt stays";
    }
    ExpectStartUpGoesOn(run);
    EXPECT_EQ(UpdateServers::Instance().TotalRequests(), 1) << "start-up asks one update server once";
    std::this_thread::sleep_for(kSettleTime);
    EXPECT_EQ(Utf8(opened.Lines()), std::vector<std::string>{}) << "opened through the shell";
}

// The version number is VERSION's leading decimal number, compared and shown unsigned.
INSTANTIATE_TEST_SUITE_P(Versions, UpdateVersionTest, testing::Values(
    VersionCase{"Current", "2125", L""},
    VersionCase{"Older", "2124", L""},
    VersionCase{"DottedReadsAsTwo", "2.1.3.0", L""},
    VersionCase{"Empty", "", L""},
    VersionCase{"NotANumber", "new", L""},
    VersionCase{"Next", "2126", L"2.1.2.6"},
    VersionCase{"FiveDigits", "12345", L"12.3.4.5"},
    VersionCase{"DigitsBeforeLetters", "2200beta", L"2.2.0.0"},
    VersionCase{"MinusOneAsUnsigned", "-1", L"4294967.2.9.5"}),
    [](const auto& info) { return info.param.name; });

struct UnusableCase {
    const char* name;
    std::optional<std::string> document;   // nothing: no server listens
};

void PrintTo(const UnusableCase& c, std::ostream* out)
{
    *out << c.name;
}

class UnusableDocumentTest : public UpdateCheckTest, public testing::WithParamInterface<UnusableCase> {};

TEST_P(UnusableDocumentTest, SaysSoAndStartUpGoesOn)
{
    const UnusableCase& c = GetParam();
    if (!c.document)
        UpdateServers::Instance().StopListening();
    const TessalyRun& run = StartServing(c.document.value_or(""));

    const std::optional<MessageBoxView> box = run.WaitForBoxBeforeMainDialog();
    ASSERT_TRUE(box) << "no message";
    ExpectUpdateBox(run, *box, NotFoundText(), BoxIcon::Error, {IDOK});
    EXPECT_TRUE(Answer(*box, IDOK)) << "the box stays";
    ExpectStartUpGoesOn(run);
}

INSTANTIATE_TEST_SUITE_P(Documents, UnusableDocumentTest, testing::Values(
    UnusableCase{"NoWebPage", "<UPDATE><VERSION>2126</VERSION><MSI64>https://x/L.msi</MSI64></UPDATE>"},
    UnusableCase{"NoInstaller", "<UPDATE><VERSION>2126</VERSION><WWW>https://x/</WWW></UPDATE>"},
    UnusableCase{"Only32BitInstaller",
                 "<UPDATE><VERSION>2126</VERSION><MSI32>https://x/L.msi</MSI32><WWW>https://x/</WWW></UPDATE>"},
    UnusableCase{"NoVersion", "<UPDATE><MSI64>https://x/L.msi</MSI64><WWW>https://x/</WWW></UPDATE>"},
    UnusableCase{"NotWellFormed", "<UPDATE><VERSION>2126</VERSION><MSI64>https://x/L.msi</MSI64><WWW>https://x/"},
    UnusableCase{"NotXml", "Larkspan 2.1.2.6"},
    UnusableCase{"EmptyBody", ""},
    UnusableCase{"NoServerListening", std::nullopt}),
    [](const auto& info) { return info.param.name; });

// An address of the update document as the test builds it.
using Address = std::wstring (*)(const ShellOpenRecorder&);

std::wstring WebPage(const ShellOpenRecorder&) { return FromUtf8(kWebPage); }
std::wstring Installer(const ShellOpenRecorder&) { return FromUtf8(kInstaller); }
std::wstring PlainHttpPage(const ShellOpenRecorder&) { return L"http://larkspan.example/download"; }
std::wstring CapitalHttpInstaller(const ShellOpenRecorder&) { return L"HTTP://LARKSPAN.EXAMPLE/Larkspan.msi"; }
std::wstring LocalProgram(const ShellOpenRecorder& shell) { return shell.Recorder(); }
std::wstring FileAddressOfProgram(const ShellOpenRecorder& shell)
{
    std::wstring address = L"file:///" + shell.Recorder();
    std::replace(address.begin(), address.end(), L'\\', L'/');
    return address;
}
std::wstring DrivePathOfDocument(const ShellOpenRecorder& shell) { return shell.DocumentOnDrive(); }
std::wstring UncPathOfDocument(const ShellOpenRecorder& shell) { return shell.DocumentOnShare(); }
std::wstring OtherScheme(const ShellOpenRecorder& shell) { return shell.AddressOfOwnScheme(); }
std::wstring NoAddress(const ShellOpenRecorder&) { return L""; }
// Web addresses with text that would split or extend the opening program's command line.
std::wstring PageWithBlankAndQuote(const ShellOpenRecorder&) { return L"https://larkspan.example/a b\"c --flag"; }
// CR LF as character references; at the end the document reader would trim them.
std::wstring InstallerWithLineBreak(const ShellOpenRecorder&)
{
    return L"https://larkspan.example/&#13;&#10;Larkspan.msi";
}
std::wstring PageWithBackslash(const ShellOpenRecorder&) { return L"https://larkspan.example\\..\\setup.exe"; }

struct OpenCase {
    const char* name;
    Address webPage;
    Address installer;
    std::vector<Address> opened;   // in order
};

void PrintTo(const OpenCase& c, std::ostream* out)
{
    *out << c.name;
}

class UpdateOpenTest : public UpdateCheckTest, public testing::WithParamInterface<OpenCase> {};

// The shell would start, open or hand on anything but a web address: only those go to
// it. Each address that must not be opened comes before one that must, which shows
// that the shell had time to start the first.
TEST_P(UpdateOpenTest, YesOpensTheWebAddressesInOrder)
{
    const OpenCase& c = GetParam();
    const ShellOpenRecorder shell(folder_);
    const TessalyRun& run =
        StartServing(UpdateDocument("2126", Utf8(c.installer(shell)), Utf8(c.webPage(shell))));
    std::vector<std::wstring> expected;
    for (Address address : c.opened)
        expected.push_back(shell.LineFor(address(shell)));

    const std::optional<MessageBoxView> box = run.WaitForBoxBeforeMainDialog();
    ASSERT_TRUE(box) << "no update prompt";
    ASSERT_EQ(box->buttons, (std::vector<int>{IDYES, IDNO})) << Describe(*box);
    EXPECT_TRUE(Answer(*box, IDYES)) << "the prompt stays";
    ExpectStartUpGoesOn(run);
    WaitUntil([&] { return shell.Lines().size() >= expected.size(); }, kShowTimeout);
    std::this_thread::sleep_for(kSettleTime);
    EXPECT_EQ(Utf8(shell.Lines()), Utf8(expected));
}

INSTANTIATE_TEST_SUITE_P(Addresses, UpdateOpenTest, testing::Values(
    OpenCase{"WebPageThenInstaller", WebPage, Installer, {WebPage, Installer}},
    OpenCase{"PlainAndCapitalHttp", PlainHttpPage, CapitalHttpInstaller, {PlainHttpPage, CapitalHttpInstaller}},
    OpenCase{"LocalProgramNot", LocalProgram, Installer, {Installer}},
    OpenCase{"FileAddressNot", FileAddressOfProgram, Installer, {Installer}},
    OpenCase{"DrivePathNot", DrivePathOfDocument, Installer, {Installer}},
    OpenCase{"UncPathNot", UncPathOfDocument, Installer, {Installer}},
    OpenCase{"OtherSchemeNot", OtherScheme, Installer, {Installer}},
    OpenCase{"EmptyNot", NoAddress, Installer, {Installer}},
    OpenCase{"InstallerAsLocalProgramNot", WebPage, LocalProgram, {WebPage}},
    OpenCase{"NeitherIsWebAddress", UncPathOfDocument, FileAddressOfProgram, {}},
    OpenCase{"BlankAndQuoteNot", PageWithBlankAndQuote, Installer, {Installer}},
    OpenCase{"LineBreakNot", WebPage, InstallerWithLineBreak, {WebPage}},
    OpenCase{"BackslashNot", PageWithBackslash, Installer, {Installer}}),
    [](const auto& info) { return info.param.name; });

// The document is loaded synchronously, with no time limit of the program's own: however
// slowly the server answers, start-up waits for all of it without a window, then goes on.
TEST_F(UpdateCheckTest, StartUpWaitsForASlowDocumentWithoutAWindow)
{
    constexpr auto kPause = 30ms;
    const std::string document = CurrentUpdateDocument();
    const auto sending = kPause * static_cast<int>(document.size());   // the body alone, at the least
    UpdateServers::Instance().SendSlowly(kPause);
    const auto started = std::chrono::steady_clock::now();
    const TessalyRun& run = StartServing(document);

    std::this_thread::sleep_for(sending / 2);
    EXPECT_TRUE(run.Process().Running());
    EXPECT_TRUE(run.VisibleWindows().empty()) << "a window while the document still comes";
    const std::optional<HWND> dialog = run.WaitForMainDialog(sending + kShowTimeout);
    ASSERT_TRUE(dialog) << WhatItShows(run);
    EXPECT_GE(std::chrono::steady_clock::now() - started, sending);
    ExpectStartUpGoesOn(run);
}

std::string RequestsPerServer(const std::array<int, kUpdateServerCount>& requests)
{
    std::ostringstream out;
    for (int server = 1; server <= kUpdateServerCount; ++server)
        out << " server " << server << ": " << requests[static_cast<size_t>(server - 1)];
    return out.str();
}

TEST_F(UpdateCheckTest, EachStartAsksOneOfTheFourServers)
{
    const std::wstring input = folder_.MakeFile(L"input.txt", "abc");
    const UpdateServers& servers = UpdateServers::Instance();
    for (int start = 1; start <= kMostStarts; ++start) {
        ASSERT_TRUE(MainDialogOf(StartAsShell(L"-h", {input})));
        const std::array<int, kUpdateServerCount> asked = servers.Requests();
        ASSERT_EQ(servers.TotalRequests(), start) << "start " << start << ";" << RequestsPerServer(asked);
        if (std::count(asked.begin(), asked.end(), 0) == 0)
            return;
    }
    ADD_FAILURE() << "after " << kMostStarts << " starts" << RequestsPerServer(servers.Requests());
}

}  // namespace
