// The banner's web view against the loader double beside the program: what the host
// asks of the runtime, the page it shows and reloads, its release when the program
// closes, and each failure the host reports or ends the process for.
#include "TessalyTest.h"

#include "DoubleControl.h"

#include <gmock/gmock.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;
using testing::IsSupersetOf;
using testing::StartsWith;

const std::vector<std::wstring> kBannerPages = {FromUtf8(TESSALY_BANNER_PAGE_1), FromUtf8(TESSALY_BANNER_PAGE_2),
                                                FromUtf8(TESSALY_BANNER_PAGE_3)};

// The size of dialog template 130 as this machine lays it out: the banner's own size.
SIZE BannerTemplateSize(const std::wstring& program)
{
    HMODULE resources = LoadLibraryExW(program.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    HWND probe = CreateDialogParamW(resources, MAKEINTRESOURCEW(130), nullptr,
                                    [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    RECT rect{};
    GetWindowRect(probe, &rect);
    DestroyWindow(probe);
    FreeLibrary(resources);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

// A "Failure" box of the web view host, which the run's own box finder would answer.
// A box of the update check on the way is answered as that finder does: No, or OK.
std::optional<MessageBoxView> FailureBox(const TessalyRun& run)
{
    return WaitFor<MessageBoxView>([&]() -> std::optional<MessageBoxView> {
        for (HWND window : TopLevelWindowsOf(run.Process().Id())) {
            if (!IsMessageBox(window) || !IsWindowVisible(window))
                continue;
            const std::optional<MessageBoxView> box = ReadMessageBox(window);
            if (box && box->caption == fixed_text::kWebViewFailureCaption)
                return box;
            if (box && box->caption == Expected().updateCaption) {
                const bool asks = std::find(box->buttons.begin(), box->buttons.end(), IDNO) != box->buttons.end();
                Answer(*box, asks ? IDNO : IDOK);
            }
        }
        return std::nullopt;
    }, kShowTimeout);
}

class WebViewTest : public TessalyTest {
protected:
    std::wstring Folder() const { return folder_.Path() + L"\\"; }
    std::vector<std::wstring> Calls() const { return webview2_double::ReadCallTexts(Folder()); }
    std::vector<std::wstring> CallsStartingWith(const std::wstring& prefix) const
    {
        return webview2_double::CallsStartingWith(Folder(), prefix);
    }
    bool WaitForCall(const std::wstring& prefix, std::chrono::milliseconds timeout = kShowTimeout) const
    {
        return WaitUntil([&] { return !CallsStartingWith(prefix).empty(); }, timeout);
    }
    std::vector<uint64_t> TicksOf(const std::wstring& prefix) const
    {
        std::vector<uint64_t> ticks;
        for (const webview2_double::Call& call : webview2_double::ReadCalls(Folder()))
            if (call.text.compare(0, prefix.size(), prefix) == 0)
                ticks.push_back(call.tick);
        return ticks;
    }
    TessalyRun& StartHashing() { return StartAsShell(L"-h", {folder_.MakeFile(L"input.txt", "abc")}); }

    // The failure box that the host shows, answered; then the program goes on.
    void ExpectFailureBox(const std::wstring& text)
    {
        const std::optional<MessageBoxView> box = FailureBox(*run_);
        ASSERT_TRUE(box) << "no failure box; " << WhatItShows(*run_);
        EXPECT_EQ(Utf8(box->text), Utf8(text));
        EXPECT_STREQ(NameOf(box->icon), NameOf(BoxIcon::None));
        EXPECT_EQ(box->buttons, std::vector<int>{IDOK});
        ASSERT_TRUE(Answer(*box, IDOK));
    }
};

using WebViewHostTest = WebViewTest;

TEST_F(WebViewHostTest, BannerShowsOneOfThePagesAndReloadsItEveryTenSeconds)
{
    const HWND dialog = MainDialogOf(StartHashing());
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(WaitForCall(L"Navigate")) << "no navigation";
    const std::optional<HWND> banner = run_->Banner(dialog);
    ASSERT_TRUE(banner);
    RECT client{};
    GetClientRect(*banner, &client);
    const SIZE size = BannerTemplateSize(program_);
    EXPECT_EQ(client.right, size.cx);
    EXPECT_EQ(client.bottom, size.cy);

    const std::vector<std::wstring> calls = Calls();
    ASSERT_GE(calls.size(), 8u);
    EXPECT_THAT(calls[0], StartsWith(L"CreateCoreWebView2EnvironmentWithOptions \"\" \""))
        << "no runtime is installed in the prefix: an empty browser folder";
    EXPECT_THAT(calls[0], testing::EndsWith(L"\\Demos\\MfcEdgeDemo\" null"));
    EXPECT_THAT(calls[1], StartsWith(L"CreateCoreWebView2Controller "));
    EXPECT_THAT(calls[2], StartsWith(L"add_NavigationCompleted "));
    EXPECT_THAT(calls[3], StartsWith(L"add_NavigationStarting "));
    EXPECT_THAT(calls[4], StartsWith(L"add_DocumentTitleChanged "));
    EXPECT_EQ(calls[5], L"put_Bounds 0 0 " + std::to_wstring(size.cx) + L" " + std::to_wstring(size.cy))
        << "the browser fills the banner";
    EXPECT_EQ(calls[6], L"put_AreDefaultScriptDialogsEnabled 0");
    ASSERT_THAT(calls[7], StartsWith(L"Navigate "));
    const std::wstring page = calls[7].substr(9);
    EXPECT_NE(std::find(kBannerPages.begin(), kBannerPages.end(), page), kBannerPages.end())
        << Utf8(page) << " is none of the banner's pages";

    ASSERT_TRUE(WaitUntil([&] { return CallsStartingWith(L"Reload").size() >= 2; }, 45s)) << "not two reloads";
    // Wide enough for a loaded machine (the timer starts a little before the web view is
    // asked for, and its messages may come late), yet a period of 5 s or 20 s falls outside.
    const auto aboutTenSeconds = testing::AllOf(testing::Ge(uint64_t{9000}), testing::Le(uint64_t{15000}));
    const std::vector<uint64_t> reloads = TicksOf(L"Reload");
    EXPECT_THAT(reloads[0] - TicksOf(L"CreateCoreWebView2EnvironmentWithOptions").front(), aboutTenSeconds)
        << "the timer runs from the banner's creation";
    EXPECT_THAT(reloads[1] - reloads[0], aboutTenSeconds) << "and then every 10 seconds";
    EXPECT_EQ(CallsStartingWith(L"Navigate").size(), 1u) << "the page is drawn once; the timer only reloads";
}

TEST_F(WebViewHostTest, ClosingTheProgramReleasesTheWebViewWithTheBanner)
{
    const HWND dialog = MainDialogOf(StartHashing());
    ASSERT_TRUE(dialog);
    ASSERT_TRUE(WaitForCall(L"Navigate"));
    ASSERT_TRUE(ResultList(dialog).SettledRows(kShowTimeout).size() > 0) << "the work did not end";
    run_->Close(dialog);
    const EndOfRun end = run_->WaitForEnd();
    ASSERT_TRUE(end.exitCode) << "the program did not end";
    EXPECT_EQ(*end.exitCode, 0u) << "a clean end, not a crash in the banner's teardown";

    EXPECT_EQ(CallsStartingWith(L"remove_").size(), 3u);
    EXPECT_THAT(CallsStartingWith(L"Close"), ElementsAre(L"Close"));
    EXPECT_THAT(CallsStartingWith(L"Destroyed"),
                IsSupersetOf({L"Destroyed Controller", L"Destroyed WebView", L"Destroyed Settings",
                              L"Destroyed Environment"}))
        << "every interface the host held is released";
}

TEST_F(WebViewHostTest, WithoutLoaderLibraryTheProgramSaysSoAndStillHashes)
{
    ASSERT_TRUE(DeleteFileW(folder_.PathOf(L"WebView2Loader.dll").c_str()));
    StartHashing();
    ExpectFailureBox(L"Cannot found the WebView2 component. (0x80070002)");
    const std::optional<HWND> dialog = run_->WaitForMainDialog();
    ASSERT_TRUE(dialog);
    EXPECT_FALSE(ResultList(*dialog).SettledRows(kShowTimeout).empty()) << "no hash results";
    EXPECT_TRUE(run_->Banner(*dialog)) << "the banner stays, empty";
}

// One way the runtime can fail, and what the host does about it.
struct Failure {
    const char* name;
    std::vector<webview2_double::Fault> faults;
    std::wstring boxText;   // the "Failure" box; empty: the process ends instead
    HRESULT exitCode;       // when it ends
};

void PrintTo(const Failure& failure, std::ostream* out)
{
    *out << failure.name;
}

std::vector<webview2_double::Fault> Step(const wchar_t* step, HRESULT result)
{
    return {{step, webview2_double::HexResult(result)}};
}

const Failure kFailures[] = {
    {"EnvironmentFileNotFound", Step(L"CreateEnvironment", 0x80070002),
     L"Cannot found the WebView2 component. (0x80070002)", S_OK},
    {"EnvironmentAccessDenied", Step(L"CreateEnvironment", E_ACCESSDENIED),
     L"Cannot create the webview environment. (0x80070005)", S_OK},
    {"ControllerFails", Step(L"ControllerResult", E_FAIL), L"Cannot create webview environment. (0x80004005)", S_OK},
    {"ControllerPositiveSuccess", Step(L"ControllerResult", S_FALSE),
     L"Cannot create webview environment. (0x00000001)", S_OK},
    {"EnvironmentResultFails", Step(L"EnvironmentResult", E_OUTOFMEMORY), L"", E_OUTOFMEMORY},
    {"EnvironmentQueryFails", Step(L"QueryICoreWebView2Environment", CO_E_OBJNOTCONNECTED), L"",
     CO_E_OBJNOTCONNECTED},
    {"NoEnvironment2", Step(L"QueryICoreWebView2Environment2", E_NOINTERFACE), L"", E_NOINTERFACE},
    {"CreateControllerFails", Step(L"CreateController", E_INVALIDARG), L"", E_INVALIDARG},
    {"GetWebViewFails", Step(L"GetCoreWebView2", E_UNEXPECTED), L"", E_UNEXPECTED},
    {"NoWebView2_2", Step(L"QueryICoreWebView2_2", E_NOINTERFACE), L"", E_NOINTERFACE},
    {"GetSettingsFails", Step(L"GetSettings", E_POINTER), L"", E_POINTER},
    {"NavigationCompletedRegistrationFails", Step(L"AddNavigationCompleted", E_NOTIMPL), L"", E_NOTIMPL},
    {"NavigationStartingRegistrationFails", Step(L"AddNavigationStarting", E_ABORT), L"", E_ABORT},
    {"TitleRegistrationFails", Step(L"AddDocumentTitleChanged", E_HANDLE), L"", E_HANDLE},
    {"TitleReadFails", Step(L"GetDocumentTitle", RPC_E_DISCONNECTED), L"", RPC_E_DISCONNECTED},
};

class WebViewFailureTest : public WebViewTest, public testing::WithParamInterface<Failure> {};

TEST_P(WebViewFailureTest, IsShownOrEndsTheProcess)
{
    const Failure& failure = GetParam();
    webview2_double::Prepare(Folder(), failure.faults);
    StartHashing();
    if (failure.boxText.empty()) {
        const EndOfRun end = run_->WaitForEnd(kShowTimeout);
        ASSERT_TRUE(end.exitCode) << "the process did not end";
        EXPECT_EQ(*end.exitCode, static_cast<DWORD>(failure.exitCode));
        return;
    }
    ExpectFailureBox(failure.boxText);
    const std::optional<HWND> dialog = run_->WaitForMainDialog();
    ASSERT_TRUE(dialog) << "the program goes on without the web view";
    EXPECT_TRUE(run_->Process().Running());
    EXPECT_THAT(CallsStartingWith(L"add_"), testing::IsEmpty()) << "no web view was set up";
}

INSTANTIATE_TEST_SUITE_P(WebViewFailures, WebViewFailureTest, testing::ValuesIn(kFailures),
                         [](const auto& info) { return info.param.name; });

// A Failure box that is open while the user closes the main dialog: the box is the
// host's, shown from inside the banner's creation during start-up or later from the
// runtime's answer.
struct FailureWhileClosing {
    const char* name;
    bool withoutLoader;
    std::vector<webview2_double::Fault> faults;
};

void PrintTo(const FailureWhileClosing& c, std::ostream* out)
{
    *out << c.name;
}

class CloseDuringFailureBoxTest : public WebViewTest, public testing::WithParamInterface<FailureWhileClosing> {};

TEST_P(CloseDuringFailureBoxTest, EndsTheProgramCleanlyOnceTheBoxIsAnswered)
{
    if (GetParam().withoutLoader) {
        ASSERT_TRUE(DeleteFileW(folder_.PathOf(L"WebView2Loader.dll").c_str()));
    }
    webview2_double::Prepare(Folder(), GetParam().faults);
    StartHashing();
    const std::optional<MessageBoxView> box = FailureBox(*run_);
    ASSERT_TRUE(box) << "no failure box; " << WhatItShows(*run_);
    const std::optional<HWND> dialog = run_->MainDialog();
    ASSERT_TRUE(dialog) << "the main dialog is not up beside the box";
    ASSERT_FALSE(ResultList(*dialog).SettledRows(kShowTimeout).empty()) << "the work did not end";

    run_->Close(*dialog);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(*dialog); }, kEndTimeout)) << "the dialog stays";
    Answer(*box, IDOK);   // gone already if closing the program took it along
    const EndOfRun end = run_->WaitForEnd();
    ASSERT_TRUE(end.exitCode) << "the program did not end; " << WhatItShows(*run_);
    EXPECT_EQ(*end.exitCode, 0u) << "a clean end, not a crash";
}

INSTANTIATE_TEST_SUITE_P(WebViewFailures, CloseDuringFailureBoxTest, testing::Values(
    FailureWhileClosing{"NoLoaderLibrary", true, {}},
    FailureWhileClosing{"ControllerFails", false, Step(L"ControllerResult", E_FAIL)}),
    [](const auto& info) { return info.param.name; });

}  // namespace
