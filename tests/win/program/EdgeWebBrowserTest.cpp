// The WebView2 host window against the loader double beside this test program: the
// asynchronous set-up, the owner's callbacks through the host's queue, sizing,
// navigation, release and the life of queued work after the object is gone.
#include "EdgeWebBrowser.h"

#include "DoubleControl.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cwchar>
#include <functional>
#include <memory>
#include <string>
#include <vector>

using testing::ElementsAre;
using testing::HasSubstr;
using testing::IsEmpty;
using testing::StartsWith;

namespace {
std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.erase(folder.find_last_of(L'\\') + 1);
}

// Runs this thread's messages one at a time until `done`, or fails after five seconds.
void PumpUntil(const std::function<bool()>& done)
{
    const ULONGLONG deadline = ::GetTickCount64() + 5000;
    while (!done()) {
        ASSERT_LT(::GetTickCount64(), deadline) << "timed out";
        MSG msg;
        if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            ::DispatchMessageW(&msg);
        else
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

// Runs this thread's messages until none is left: everything the double and the host
// queued has then happened.
void PumpUntilIdle()
{
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
        ::DispatchMessageW(&msg);
}

bool Contains(const std::vector<std::wstring>& calls, const std::wstring& call)
{
    return std::find(calls.begin(), calls.end(), call) != calls.end();
}

class EdgeWebBrowserTest : public testing::Test {
protected:
    void SetUp() override { Prepare({}); }

    void TearDown() override
    {
        m_browser.reset();
        PumpUntilIdle();
        if (m_parent)
            ::DestroyWindow(m_parent);
        webview2_double::Prepare(m_folder);
    }

    void Prepare(const std::vector<webview2_double::Fault>& faults)
    {
        webview2_double::Prepare(m_folder, faults);
        m_browser = std::make_unique<CEdgeWebBrowser>();
        if (!m_parent) {
            m_parent = ::CreateWindowExW(0, L"STATIC", L"parent", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr,
                                         nullptr, nullptr, nullptr);
            m_parentWnd.Attach(m_parent);
        }
    }

    // A browser over 300 x 200 pixels of the parent; true once the ready callback ran.
    void CreateBrowser()
    {
        ASSERT_TRUE(m_browser->CreateBrowser(WS_CHILD | WS_VISIBLE, kRect, &m_parentWnd, 1, [this] { ++m_ready; }));
    }

    void CreateReadyBrowser()
    {
        CreateBrowser();
        PumpUntil([this] { return m_ready == 1; });
    }

    std::vector<std::wstring> Calls() const { return webview2_double::ReadCallTexts(m_folder); }
    std::vector<std::wstring> CallsStartingWith(const std::wstring& prefix) const
    {
        return webview2_double::CallsStartingWith(m_folder, prefix);
    }

    static constexpr RECT kRect = {10, 20, 310, 220};
    const std::wstring m_folder = ProgramFolder();
    HWND m_parent = nullptr;
    CWnd m_parentWnd;
    std::unique_ptr<CEdgeWebBrowser> m_browser;
    int m_ready = 0;
};

TEST_F(EdgeWebBrowserTest, HostWindowIsOfItsOwnClassAndLeadsBackToTheObject)
{
    ASSERT_TRUE(m_browser->CreateHostWindow(nullptr, L"host", WS_CHILD, kRect, &m_parentWnd, 7));
    wchar_t className[64] = {};
    ::GetClassNameW(m_browser->m_hWnd, className, 64);
    EXPECT_STREQ(className, L"EdgeBrowserHost");
    EXPECT_EQ(::GetClassLongPtrW(m_browser->m_hWnd, GCL_STYLE), static_cast<ULONG_PTR>(CS_HREDRAW | CS_VREDRAW));
    EXPECT_EQ(::GetClassLongPtrW(m_browser->m_hWnd, GCLP_HBRBACKGROUND), static_cast<ULONG_PTR>(COLOR_WINDOW + 1));
    EXPECT_EQ(::GetWindowLongPtrW(m_browser->m_hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(m_browser.get()));
    EXPECT_EQ(::GetDlgCtrlID(m_browser->m_hWnd), 7);
    EXPECT_EQ(::GetParent(m_browser->m_hWnd), m_parent);
    RECT placed = {};
    ::GetWindowRect(m_browser->m_hWnd, &placed);
    ::MapWindowPoints(nullptr, m_parent, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.left, kRect.left);
    EXPECT_EQ(placed.top, kRect.top);
    EXPECT_EQ(RectWidth(placed), RectWidth(kRect));
    EXPECT_EQ(RectHeight(placed), RectHeight(kRect));
    EXPECT_THAT(Calls(), IsEmpty()) << "the host window alone starts no web view";
}

TEST_F(EdgeWebBrowserTest, HostWindowOfAGivenClassStillLeadsBackToTheObject)
{
    ASSERT_TRUE(m_browser->CreateHostWindow(L"STATIC", nullptr, WS_CHILD, kRect, &m_parentWnd, 1));
    wchar_t className[64] = {};
    ::GetClassNameW(m_browser->m_hWnd, className, 64);
    EXPECT_STREQ(className, L"Static");
    EXPECT_EQ(::GetWindowLongPtrW(m_browser->m_hWnd, GWLP_USERDATA), reinterpret_cast<LONG_PTR>(m_browser.get()));
}

TEST_F(EdgeWebBrowserTest, CreateMakesTheHostWindowAndStartsTheWebView)
{
    ASSERT_TRUE(m_browser->Create(nullptr, nullptr, WS_CHILD, kRect, &m_parentWnd, 1));
    PumpUntil([this] { return !CallsStartingWith(L"put_Bounds").empty(); });
    EXPECT_TRUE(m_browser->m_pInterfaces->m_pController);
}

TEST_F(EdgeWebBrowserTest, FailedHostWindowStartsNothingAndKeepsTheReadyCallbackOut)
{
    EXPECT_FALSE(m_browser->CreateBrowser(WS_CHILD, kRect, nullptr, 1, [this] { ++m_ready; }))
        << "a child window without a parent cannot be created";
    PumpUntilIdle();
    EXPECT_EQ(m_browser->m_hWnd, nullptr);
    EXPECT_FALSE(m_browser->m_callbacks[CallbackKind::Ready]);
    EXPECT_THAT(Calls(), IsEmpty());
}

TEST_F(EdgeWebBrowserTest, SetsTheWebViewUpAndOnlyThenPostsTheReadyCallback)
{
    CreateBrowser();
    EXPECT_EQ(m_ready, 0) << "nothing is ready inside CreateBrowser";
    std::vector<std::wstring> callsWhenReady;
    m_browser->m_callbacks[CallbackKind::Ready] = [&] {
        ++m_ready;
        callsWhenReady = Calls();
    };
    PumpUntil([this] { return m_ready == 1; });

    const WebViewInterfaces& web = *m_browser->m_pInterfaces;
    EXPECT_TRUE(web.m_pEnvironment && web.m_pEnvironment2 && web.m_pController && web.m_pWebView &&
                web.m_pWebView2 && web.m_pSettings);
    ASSERT_GE(callsWhenReady.size(), 6u);
    EXPECT_THAT(callsWhenReady[0], StartsWith(L"CreateCoreWebView2EnvironmentWithOptions \"\" \""));
    EXPECT_THAT(callsWhenReady[0], HasSubstr(L"\\Demos\\MfcEdgeDemo\" null"));
    wchar_t host[32];
    std::swprintf(host, 32, L"%p", static_cast<void*>(m_browser->m_hWnd));
    EXPECT_EQ(callsWhenReady[1], std::wstring(L"CreateCoreWebView2Controller ") + host);
    EXPECT_THAT(callsWhenReady[2], StartsWith(L"add_NavigationCompleted "));
    EXPECT_THAT(callsWhenReady[3], StartsWith(L"add_NavigationStarting "));
    EXPECT_THAT(callsWhenReady[4], StartsWith(L"add_DocumentTitleChanged "));
    EXPECT_EQ(callsWhenReady[5], L"put_Bounds 0 0 300 200") << "the host's client area";
    EXPECT_EQ(m_browser->m_tokNavigationCompleted.value + 1, m_browser->m_tokNavigationStarting.value);
    EXPECT_EQ(m_browser->m_tokNavigationStarting.value + 1, m_browser->m_tokTitleChanged.value);
}

TEST_F(EdgeWebBrowserTest, NavigationBeforeTheWebViewExistsDoesNothing)
{
    CreateBrowser();
    int completed = 0;
    m_browser->NavigateTo(L"larkspan.example", [&] { ++completed; });
    m_browser->ReloadPage();
    m_browser->DisableScriptDialogs();
    PumpUntil([this] { return m_ready == 1; });
    PumpUntilIdle();
    EXPECT_FALSE(m_browser->m_callbacks[CallbackKind::NavigationCompleted]) << "not even the callback is kept";
    EXPECT_THAT(CallsStartingWith(L"Navigate"), IsEmpty());
    EXPECT_THAT(CallsStartingWith(L"Reload"), IsEmpty());
    EXPECT_THAT(CallsStartingWith(L"put_AreDefaultScriptDialogsEnabled"), IsEmpty());
    EXPECT_EQ(completed, 0);
}

TEST_F(EdgeWebBrowserTest, NavigatesToTheNormalizedAddressAndReportsEveryCompletedLoad)
{
    CreateReadyBrowser();
    int completed = 0;
    m_browser->NavigateTo(L"larkspan.example/banner", [&] { ++completed; });
    EXPECT_EQ(completed, 0) << "the completion comes from the queue";
    PumpUntil([&] { return completed == 1; });
    EXPECT_THAT(CallsStartingWith(L"Navigate"), ElementsAre(L"Navigate http://larkspan.example/banner"));
    EXPECT_EQ(m_browser->m_strTitle, L"Page http://larkspan.example/banner");
    EXPECT_FALSE(m_browser->m_bNavigating);

    m_browser->ReloadPage();
    PumpUntil([&] { return completed == 2; });
    EXPECT_THAT(CallsStartingWith(L"Reload"), ElementsAre(L"Reload"));
}

TEST_F(EdgeWebBrowserTest, EmptyCompletionCallbackReplacesTheStoredOne)
{
    CreateReadyBrowser();
    int completed = 0;
    m_browser->NavigateTo(L"https://a.example/", [&] { ++completed; });
    m_browser->NavigateTo(L"https://b.example/", CEdgeWebBrowser::Callback());
    PumpUntilIdle();
    EXPECT_EQ(CallsStartingWith(L"Navigate").size(), 2u);
    EXPECT_EQ(completed, 0);
}

TEST_F(EdgeWebBrowserTest, NavigationEventsSetAndClearTheNavigatingFlag)
{
    CreateReadyBrowser();
    int completed = 0;
    m_browser->m_callbacks[CallbackKind::NavigationCompleted] = [&] { ++completed; };
    EXPECT_EQ(m_browser->OnNavigationStarting(nullptr, nullptr), S_OK);
    EXPECT_TRUE(m_browser->m_bNavigating);
    EXPECT_EQ(m_browser->OnNavigationCompleted(nullptr, nullptr), S_OK);
    EXPECT_FALSE(m_browser->m_bNavigating);
    EXPECT_EQ(completed, 0) << "never run inside the runtime's handler";
    PumpUntilIdle();
    EXPECT_EQ(completed, 1);
}

TEST_F(EdgeWebBrowserTest, TitleChangesAreStoredAndReportedWhenAsked)
{
    CreateReadyBrowser();
    std::wstring titleSeen;
    m_browser->m_callbacks[CallbackKind::TitleChanged] = [&] { titleSeen = m_browser->m_strTitle.Str(); };
    m_browser->NavigateTo(L"https://larkspan.example/t", CEdgeWebBrowser::Callback());
    PumpUntil([&] { return !titleSeen.empty(); });
    EXPECT_EQ(titleSeen, L"Page https://larkspan.example/t");
}

TEST_F(EdgeWebBrowserTest, ScriptDialogsAreTurnedOffThroughTheSettings)
{
    CreateReadyBrowser();
    m_browser->DisableScriptDialogs();
    EXPECT_THAT(CallsStartingWith(L"put_AreDefaultScriptDialogsEnabled"),
                ElementsAre(L"put_AreDefaultScriptDialogsEnabled 0"));
}

TEST_F(EdgeWebBrowserTest, ResizingTheHostResizesTheController)
{
    CreateReadyBrowser();
    ::MoveWindow(m_browser->m_hWnd, 0, 0, 120, 90, TRUE);
    EXPECT_EQ(Calls().back(), L"put_Bounds 0 0 120 90");
    const size_t before = Calls().size();
    EXPECT_EQ(::SendMessageW(m_browser->m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(50, 50)), 0);
    EXPECT_EQ(Calls().back(), L"put_Bounds 0 0 120 90") << "the bounds are the client area, not the message's";
    EXPECT_EQ(Calls().size(), before + 1);
    ::SendMessageW(m_browser->m_hWnd, WM_SIZE, SIZE_RESTORED, 0);
    EXPECT_EQ(Calls().size(), before + 1) << "zero width and height leave the bounds";
}

TEST_F(EdgeWebBrowserTest, ResizingBeforeTheControllerExistsChangesNothing)
{
    ASSERT_TRUE(m_browser->CreateHostWindow(nullptr, nullptr, WS_CHILD, kRect, &m_parentWnd, 1));
    EXPECT_EQ(::SendMessageW(m_browser->m_hWnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(50, 50)), 0);
    EXPECT_THAT(Calls(), IsEmpty());
}

TEST_F(EdgeWebBrowserTest, SuccessWithoutControllerStillPostsTheReadyCallback)
{
    Prepare({{L"NullController", L"1"}});
    CreateReadyBrowser();
    const WebViewInterfaces& web = *m_browser->m_pInterfaces;
    EXPECT_TRUE(web.m_pEnvironment && web.m_pEnvironment2);
    EXPECT_FALSE(web.m_pController || web.m_pWebView || web.m_pWebView2 || web.m_pSettings);
    m_browser->NavigateTo(L"https://larkspan.example/", CEdgeWebBrowser::Callback());
    m_browser->DisableScriptDialogs();
    PumpUntilIdle();
    EXPECT_THAT(CallsStartingWith(L"Navigate"), IsEmpty());
    EXPECT_THAT(CallsStartingWith(L"put_"), IsEmpty());
}

TEST_F(EdgeWebBrowserTest, ControllerWithoutWebViewGivesNoReadyCallback)
{
    Prepare({{L"NullWebView", L"1"}});
    CreateBrowser();
    PumpUntil([this] { return !CallsStartingWith(L"CreateCoreWebView2Controller").empty(); });
    PumpUntilIdle();
    EXPECT_EQ(m_ready, 0);
    EXPECT_THAT(CallsStartingWith(L"add_"), IsEmpty());
    EXPECT_TRUE(m_browser->m_pInterfaces->m_pController) << "kept until the object goes";
}

TEST_F(EdgeWebBrowserTest, SuccessWithoutEnvironmentStopsThere)
{
    Prepare({{L"NullEnvironment", L"1"}});
    CreateBrowser();
    PumpUntil([this] { return !Calls().empty(); });
    PumpUntilIdle();
    EXPECT_EQ(m_ready, 0);
    EXPECT_THAT(CallsStartingWith(L"CreateCoreWebView2Controller"), IsEmpty());
    EXPECT_FALSE(m_browser->m_pInterfaces->m_pEnvironment);
}

TEST_F(EdgeWebBrowserTest, SecondStartReleasesEverythingFirstAndSetsUpAnew)
{
    CreateReadyBrowser();
    const std::wstring completedToken = std::to_wstring(m_browser->m_tokNavigationCompleted.value);
    const std::wstring startingToken = std::to_wstring(m_browser->m_tokNavigationStarting.value);
    const std::wstring titleToken = std::to_wstring(m_browser->m_tokTitleChanged.value);
    const size_t before = Calls().size();

    m_browser->StartWebView();
    const std::vector<std::wstring> calls = Calls();
    ASSERT_GE(calls.size(), before + 8);
    EXPECT_THAT(std::vector<std::wstring>(calls.begin() + before, calls.begin() + before + 8),
                ElementsAre(L"remove_NavigationCompleted " + completedToken,
                            L"remove_NavigationStarting " + startingToken,
                            L"remove_DocumentTitleChanged " + titleToken, L"Close", L"Destroyed Controller",
                            L"Destroyed WebView", L"Destroyed Settings", L"Destroyed Environment"))
        << "controller, web view, its second interface and the settings, then both environment interfaces";
    EXPECT_THAT(calls.back(), StartsWith(L"CreateCoreWebView2EnvironmentWithOptions"));
    PumpUntil([this] { return m_ready == 2; });
    EXPECT_GT(m_browser->m_tokNavigationCompleted.value, std::stoll(titleToken)) << "registered anew";
}

TEST_F(EdgeWebBrowserTest, DeletingTheObjectReleasesAllAndUnregistersFirst)
{
    CreateReadyBrowser();
    const size_t before = Calls().size();
    m_browser.reset();
    const std::vector<std::wstring> calls = Calls();
    ASSERT_EQ(calls.size(), before + 8);
    EXPECT_THAT(calls[before], StartsWith(L"remove_NavigationCompleted "));
    EXPECT_EQ(calls[before + 3], L"Close");
    EXPECT_TRUE(Contains(calls, L"Destroyed Settings") && Contains(calls, L"Destroyed WebView") &&
                Contains(calls, L"Destroyed Controller") && Contains(calls, L"Destroyed Environment"));
}

TEST_F(EdgeWebBrowserTest, QueuedCallbacksOfADeletedObjectAreFreedWithoutRunning)
{
    CreateReadyBrowser();
    auto alive = std::make_shared<int>(0);
    std::weak_ptr<int> watch = alive;
    int ran = 0;
    m_browser->PostCallback([alive, &ran] { ++ran; });
    m_browser->PostCallback([alive, &ran] { ++ran; });
    alive.reset();
    HWND host = m_browser->m_hWnd;
    m_browser.reset();
    PumpUntilIdle();
    EXPECT_EQ(ran, 0);
    EXPECT_TRUE(watch.expired()) << "both copies were freed";
    EXPECT_FALSE(::IsWindow(host));
}

TEST_F(EdgeWebBrowserTest, CreationFinishingAfterTheObjectIsGoneReachesNobody)
{
    CreateBrowser();
    m_browser.reset();   // the environment is still being created
    PumpUntilIdle();
    EXPECT_THAT(CallsStartingWith(L"CreateCoreWebView2Controller"), IsEmpty());
    EXPECT_THAT(CallsStartingWith(L"Destroyed"), ElementsAre(L"Destroyed Environment"));
    EXPECT_EQ(m_ready, 0);
}

TEST_F(EdgeWebBrowserTest, ControllerFinishingAfterTheObjectIsGoneReachesNobody)
{
    CreateBrowser();
    PumpUntil([this] { return !CallsStartingWith(L"CreateCoreWebView2Controller").empty(); });
    m_browser.reset();
    PumpUntilIdle();
    EXPECT_THAT(CallsStartingWith(L"add_"), IsEmpty());
    EXPECT_TRUE(Contains(Calls(), L"Destroyed Controller")) << "the controller nobody took is released";
    EXPECT_EQ(m_ready, 0);
}

// The runtime's objects (here the loader double's) answer for their published interfaces
// and IUnknown, and for nothing else.
TEST_F(EdgeWebBrowserTest, RuntimeObjectsAnswerOnlyTheirPublishedInterfaces)
{
    CreateReadyBrowser();
    const WebViewInterfaces& web = *m_browser->m_pInterfaces;
    struct Query {
        const char* object;
        IUnknown* target;
        IID id;
        HRESULT expected;
    };
    const Query queries[] = {
        {"environment", web.m_pEnvironment.Get(), __uuidof(IUnknown), S_OK},
        {"environment", web.m_pEnvironment.Get(), ICoreWebView2Environment::kIid, S_OK},
        {"environment", web.m_pEnvironment.Get(), ICoreWebView2Environment2::kIid, S_OK},
        {"environment", web.m_pEnvironment.Get(), ICoreWebView2Controller::kIid, E_NOINTERFACE},
        {"environment", web.m_pEnvironment.Get(), __uuidof(IDispatch), E_NOINTERFACE},
        {"controller", web.m_pController.Get(), ICoreWebView2Controller::kIid, S_OK},
        {"controller", web.m_pController.Get(), ICoreWebView2::kIid, E_NOINTERFACE},
        {"web view", web.m_pWebView.Get(), ICoreWebView2::kIid, S_OK},
        {"web view", web.m_pWebView.Get(), ICoreWebView2_2::kIid, S_OK},
        {"web view", web.m_pWebView.Get(), ICoreWebView2Settings::kIid, E_NOINTERFACE},
        {"settings", web.m_pSettings.Get(), ICoreWebView2Settings::kIid, S_OK},
        {"settings", web.m_pSettings.Get(), ICoreWebView2Environment::kIid, E_NOINTERFACE},
    };
    for (const Query& query : queries) {
        void* answer = nullptr;
        EXPECT_EQ(query.target->QueryInterface(query.id, &answer), query.expected) << query.object;
        EXPECT_EQ(answer != nullptr, query.expected == S_OK) << query.object;
        if (answer)
            static_cast<IUnknown*>(answer)->Release();
    }
}

// A call into a slot the program has no use for is logged under the slot's published name.
TEST_F(EdgeWebBrowserTest, CallsTheProgramDoesNotMakeAreLoggedUnderTheirPublishedNames)
{
    CreateReadyBrowser();
    const WebViewInterfaces& web = *m_browser->m_pInterfaces;
    EXPECT_EQ(web.m_pWebView->Stop(), E_NOTIMPL);
    EXPECT_EQ(Calls().back(), L"Stop unexpected");
    RECT bounds = {};
    EXPECT_EQ(web.m_pController->get_Bounds(&bounds), E_NOTIMPL);
    EXPECT_EQ(Calls().back(), L"get_Bounds unexpected");
}

TEST(NormalizeUrl, FollowsTheAddressRules)
{
    EXPECT_EQ(CEdgeWebBrowser::NormalizeUrl(L"https://x.example/"), L"https://x.example/");
    EXPECT_EQ(CEdgeWebBrowser::NormalizeUrl(L"c:\\page.html"), L"file://c:\\page.html");
    EXPECT_EQ(CEdgeWebBrowser::NormalizeUrl(L"about:blank"), L"http://about:blank");
}
}
