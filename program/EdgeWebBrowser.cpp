#include "EdgeWebBrowser.h"

#include <shlobj.h>

#include <cstdlib>
#include <cwchar>

#include "BrowserText.h"
#include "ComCallback.h"
#include "WebView2Loader.h"

namespace {
constexpr const wchar_t* kHostClassName = L"EdgeBrowserHost";

// Where a browser runtime registers itself and where its installer puts it.
struct RuntimeLocation {
    const wchar_t* uninstallKeys[2];   // under HKEY_LOCAL_MACHINE, in the order asked
    const wchar_t* baseFolder;         // holds one folder per installed version
};

constexpr RuntimeLocation kWebView2Runtime = {
    {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft EdgeWebView",
     L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft EdgeWebView"},
    L"c:\\Program Files (x86)\\Microsoft\\EdgeWebView\\Application\\",
};
constexpr RuntimeLocation kBrowser = {
    {L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft Edge",
     L"SOFTWARE\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Microsoft Edge"},
    L"c:\\Program Files (x86)\\Microsoft\\Edge\\Application\\",
};

const RuntimeLocation& LocationOf(bool which)
{
    return which ? kWebView2Runtime : kBrowser;
}

// Registered once per process; a failed registration is not retried, and the name is
// used all the same.
const CString& HostClassName()
{
    static const CString name = [] {
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof windowClass;
        windowClass.style = CS_HREDRAW | CS_VREDRAW;
        windowClass.lpfnWndProc = CEdgeWebBrowser::HostWndProc;
        windowClass.hInstance = AfxGetInstanceHandle();
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
        windowClass.lpszClassName = kHostClassName;
        ::RegisterClassExW(&windowClass);
        return CString(kHostClassName);
    }();
    return name;
}

// The registry and folder search runs once per process.
const CString& BrowserFolder()
{
    static const CString folder = CEdgeWebBrowser::FindBrowserFolder();
    return folder;
}

// <local application data>\Demos\MfcEdgeDemo
CString UserDataFolder()
{
    wchar_t folder[MAX_PATH] = {};
    ::SHGetFolderPathW(nullptr, CSIDL_LOCAL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
    ::PathAppendW(folder, L"\\Demos\\");
    ::PathAppendW(folder, L"MfcEdgeDemo");
    return CString(folder);
}

void ShowFailure(const wchar_t* text, HRESULT code)
{
    CString message;
    message.Format(L"%s (0x%08X)", text, static_cast<unsigned>(code));
    ::MessageBoxW(nullptr, message, L"Failure", MB_OK);
}

// The steps the host cannot do without end the process, with the step's result as
// the exit code and nothing shown.
void EndProcessOnFailure(HRESULT result)
{
    if (FAILED(result))
        std::exit(static_cast<int>(result));
}

HKEY OpenUninstallKey(const RuntimeLocation& location)
{
    for (const wchar_t* path : location.uninstallKeys) {
        HKEY key = nullptr;
        if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, path, 0, KEY_READ, &key) == ERROR_SUCCESS)
            return key;
    }
    return nullptr;
}

// Reads a value of any type into a zero-filled buffer of which the registry may fill
// `bytes`.
bool QueryValue(HKEY key, const wchar_t* name, wchar_t* buffer, DWORD bytes)
{
    return ::RegQueryValueExW(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &bytes) ==
           ERROR_SUCCESS;
}

// Copies that a window could no longer run: freed without running them.
void DiscardQueuedCallbacks(HWND hWnd)
{
    MSG msg;
    while (::PeekMessageW(&msg, hWnd, WM_BROWSER_CALLBACK, WM_BROWSER_CALLBACK, PM_REMOVE))
        delete reinterpret_cast<CEdgeWebBrowser::Callback*>(msg.wParam);
}
}

CEdgeWebBrowser::CEdgeWebBrowser()
    : m_pInterfaces(std::make_unique<WebViewInterfaces>()),
      m_self(this, [](CEdgeWebBrowser*) {})
{
    m_callbacks[CallbackKind::Ready] = Callback();
    m_callbacks[CallbackKind::NavigationCompleted] = Callback();
}

CEdgeWebBrowser::~CEdgeWebBrowser()
{
    m_self.reset();   // from here on the runtime's handler objects find nobody
    if (m_hWnd)
        ::SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
    ReleaseWebView();
    m_pInterfaces.reset();
    if (m_hWnd)
        ::DestroyWindow(Detach());
}

BOOL CEdgeWebBrowser::CreateHostWindow(const wchar_t* className, const wchar_t* windowName, DWORD style,
                                       const RECT& rect, CWnd* parent, UINT id)
{
    const wchar_t* windowClass = className ? className : HostClassName().GetString();
    HWND hWnd = ::CreateWindowExW(0, windowClass, windowName, style, rect.left, rect.top, RectWidth(rect),
                                  RectHeight(rect), parent ? parent->m_hWnd : nullptr,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), AfxGetInstanceHandle(),
                                  nullptr);
    if (!hWnd)
        return FALSE;
    Attach(hWnd);
    ::SetWindowLongPtrW(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    return TRUE;
}

BOOL CEdgeWebBrowser::Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                             CWnd* parent, UINT id, void*)
{
    if (!CreateHostWindow(className, windowName, style, rect, parent, id))
        return FALSE;
    StartWebView();
    return TRUE;
}

BOOL CEdgeWebBrowser::CreateBrowser(DWORD style, const RECT& rect, CWnd* parent, UINT id, Callback onReady)
{
    if (!CreateHostWindow(nullptr, nullptr, style, rect, parent, id))
        return FALSE;
    m_callbacks[CallbackKind::Ready] = std::move(onReady);
    StartWebView();
    return TRUE;
}

template <typename Interface, typename... Args>
ComPtr<Interface> CEdgeWebBrowser::MakeHandler(HRESULT (CEdgeWebBrowser::*method)(Args...))
{
    std::weak_ptr<CEdgeWebBrowser> self = m_self;
    return MakeCallback<Interface>([self, method](Args... args) -> HRESULT {
        const std::shared_ptr<CEdgeWebBrowser> browser = self.lock();
        return browser ? (browser.get()->*method)(args...) : S_OK;
    });
}

void CEdgeWebBrowser::StartWebView()
{
    ReleaseWebView();
    const CString browserFolder = BrowserFolder();
    const CString userDataFolder = UserDataFolder();
    const HRESULT result = CreateCoreWebView2EnvironmentWithOptions(
        browserFolder, userDataFolder, nullptr,
        MakeHandler<ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler>(&CEdgeWebBrowser::OnEnvironmentCreated)
            .Get());
    if (FAILED(result)) {
        ShowFailure(result == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND) ? L"Cannot found the WebView2 component."
                                                                      : L"Cannot create the webview environment.",
                    result);
    }
}

HRESULT CEdgeWebBrowser::OnEnvironmentCreated(HRESULT result, ICoreWebView2Environment* environment)
{
    EndProcessOnFailure(result);
    if (!environment)
        return E_FAIL;
    WebViewInterfaces& web = *m_pInterfaces;
    EndProcessOnFailure(QueryInterfaceInto(environment, web.m_pEnvironment));
    EndProcessOnFailure(QueryInterfaceInto(environment, web.m_pEnvironment2));
    EndProcessOnFailure(web.m_pEnvironment->CreateCoreWebView2Controller(
        m_hWnd,
        MakeHandler<ICoreWebView2CreateCoreWebView2ControllerCompletedHandler>(&CEdgeWebBrowser::OnControllerCreated)
            .Get()));
    return S_OK;
}

HRESULT CEdgeWebBrowser::OnControllerCreated(HRESULT result, ICoreWebView2Controller* controller)
{
    if (result != S_OK) {
        ShowFailure(L"Cannot create webview environment.", result);
        return S_OK;
    }
    if (controller) {
        WebViewInterfaces& web = *m_pInterfaces;
        web.m_pController = controller;
        EndProcessOnFailure(controller->get_CoreWebView2(web.m_pWebView.ReleaseAndGetAddressOf()));
        if (!web.m_pWebView)
            return E_FAIL;
        EndProcessOnFailure(QueryInterfaceInto(web.m_pWebView.Get(), web.m_pWebView2));
        EndProcessOnFailure(web.m_pWebView->get_Settings(web.m_pSettings.ReleaseAndGetAddressOf()));
        AddWebViewEventHandlers();
        FitControllerToClient();
    }
    PostStoredCallback(CallbackKind::Ready);
    return S_OK;
}

void CEdgeWebBrowser::AddWebViewEventHandlers()
{
    ICoreWebView2* webView = m_pInterfaces->m_pWebView.Get();
    EndProcessOnFailure(webView->add_NavigationCompleted(
        MakeHandler<ICoreWebView2NavigationCompletedEventHandler>(&CEdgeWebBrowser::OnNavigationCompleted).Get(),
        &m_tokNavigationCompleted));
    EndProcessOnFailure(webView->add_NavigationStarting(
        MakeHandler<ICoreWebView2NavigationStartingEventHandler>(&CEdgeWebBrowser::OnNavigationStarting).Get(),
        &m_tokNavigationStarting));
    EndProcessOnFailure(webView->add_DocumentTitleChanged(
        MakeHandler<ICoreWebView2DocumentTitleChangedEventHandler>(&CEdgeWebBrowser::OnDocumentTitleChanged).Get(),
        &m_tokTitleChanged));
}

HRESULT CEdgeWebBrowser::OnNavigationStarting(ICoreWebView2*, ICoreWebView2NavigationStartingEventArgs*)
{
    m_bNavigating = true;
    return S_OK;
}

HRESULT CEdgeWebBrowser::OnNavigationCompleted(ICoreWebView2*, ICoreWebView2NavigationCompletedEventArgs*)
{
    m_bNavigating = false;
    PostStoredCallback(CallbackKind::NavigationCompleted);
    return S_OK;
}

HRESULT CEdgeWebBrowser::OnDocumentTitleChanged(ICoreWebView2* sender, IUnknown*)
{
    LPWSTR title = nullptr;
    EndProcessOnFailure(sender->get_DocumentTitle(&title));
    m_strTitle = title;
    PostStoredCallback(CallbackKind::TitleChanged);
    ::CoTaskMemFree(title);
    return S_OK;
}

void CEdgeWebBrowser::PostStoredCallback(CallbackKind kind)
{
    const Callback& callback = m_callbacks[kind];
    if (callback)
        PostCallback(callback);
}

void CEdgeWebBrowser::FitControllerToClient() const
{
    if (!m_pInterfaces->m_pController)
        return;
    RECT client = {};
    GetClientRect(&client);
    m_pInterfaces->m_pController->put_Bounds(client);
}

void CEdgeWebBrowser::PostCallback(Callback callback)
{
    auto* copy = new Callback(std::move(callback));
    if (!::PostMessageW(m_hWnd, WM_BROWSER_CALLBACK, reinterpret_cast<WPARAM>(copy), 0))
        delete copy;   // refused: nothing would ever run or free it
}

LRESULT CALLBACK CEdgeWebBrowser::HostWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* browser = reinterpret_cast<CEdgeWebBrowser*>(::GetWindowLongPtrW(hWnd, GWLP_USERDATA));
    if (message == WM_NCDESTROY) {
        DiscardQueuedCallbacks(hWnd);
        if (browser)
            browser->Detach();   // the window went first: the object must not destroy it again
    }
    if (!browser) {
        if (message == WM_BROWSER_CALLBACK)
            delete reinterpret_cast<Callback*>(wParam);   // its object is gone: not run
        return ::DefWindowProcW(hWnd, message, wParam, lParam);
    }
    switch (message) {
    case WM_SIZE:
        if (lParam == 0)
            break;   // no width and no height: the controller keeps its bounds
        browser->FitControllerToClient();
        return 0;
    case WM_BROWSER_CALLBACK: {
        const std::unique_ptr<Callback> callback(reinterpret_cast<Callback*>(wParam));
        (*callback)();
        return 0;
    }
    default:
        break;
    }
    return ::DefWindowProcW(hWnd, message, wParam, lParam);
}

void CEdgeWebBrowser::ReleaseWebView()
{
    WebViewInterfaces& web = *m_pInterfaces;
    if (web.m_pWebView) {
        web.m_pWebView->remove_NavigationCompleted(m_tokNavigationCompleted);
        web.m_pWebView->remove_NavigationStarting(m_tokNavigationStarting);
        web.m_pWebView->remove_DocumentTitleChanged(m_tokTitleChanged);
        web.m_pController->Close();
        web.m_pController.Reset();
        web.m_pWebView.Reset();
        web.m_pWebView2.Reset();
        web.m_pSettings.Reset();
    }
    web.m_pEnvironment2.Reset();
    web.m_pEnvironment.Reset();
}

void CEdgeWebBrowser::NavigateTo(CString address, Callback onCompleted)
{
    if (!m_pInterfaces->m_pWebView)
        return;
    m_callbacks[CallbackKind::NavigationCompleted] = std::move(onCompleted);
    m_pInterfaces->m_pWebView->Navigate(NormalizeUrl(address));
}

void CEdgeWebBrowser::ReloadPage()
{
    if (m_pInterfaces->m_pWebView)
        m_pInterfaces->m_pWebView->Reload();
}

void CEdgeWebBrowser::DisableScriptDialogs()
{
    if (m_pInterfaces->m_pSettings)
        m_pInterfaces->m_pSettings->put_AreDefaultScriptDialogsEnabled(FALSE);
}

CString CEdgeWebBrowser::NormalizeUrl(CString address)
{
    return CString(NormalizeBrowserAddress(address.Str()));
}

CString CEdgeWebBrowser::FindBrowserFolder()
{
    for (const bool which : {true, false}) {
        CString folder = ReadRuntimeFolderFromRegistry(which);
        if (folder.IsEmpty())
            folder = ScanRuntimeFolder(which);
        if (!folder.IsEmpty())
            return folder;
    }
    return CString();
}

CString CEdgeWebBrowser::ReadRuntimeFolderFromRegistry(bool which)
{
    HKEY key = OpenUninstallKey(LocationOf(which));
    if (!key)
        return CString();
    // The registry may fill 260 of the 261 characters, so the text always ends in a zero.
    wchar_t location[MAX_PATH + 1] = {};
    const bool hasLocation = QueryValue(key, L"InstallLocation", location, MAX_PATH * sizeof(wchar_t));
    wchar_t version[100] = {};
    const bool hasVersion = QueryValue(key, L"Version", version, sizeof version);
    ::RegCloseKey(key);
    if (!hasLocation || !hasVersion)
        return CString();
    return CString(JoinVersionFolder(location, std::wstring(version, ::wcsnlen(version, std::size(version)))));
}

CString CEdgeWebBrowser::ScanRuntimeFolder(bool which)
{
    const CString base = LocationOf(which).baseFolder;
    WIN32_FIND_DATAW entry;
    HANDLE search = ::FindFirstFileW(base + L"*", &entry);
    if (search == INVALID_HANDLE_VALUE)
        return CString();
    CString folder;
    do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsVersionFolderName(entry.cFileName)) {
            folder = base + entry.cFileName;
            break;
        }
    } while (::FindNextFileW(search, &entry));
    ::FindClose(search);
    return folder;
}
