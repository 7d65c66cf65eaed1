// CEdgeWebBrowser: a child window that hosts one WebView2 browser control. It finds a
// browser runtime, creates the environment and the controller asynchronously, keeps
// the controller sized to its client area and hands its owner's callbacks back through
// its own message queue, never from inside a runtime handler.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "Afx.h"
#include "ComPtr.h"
#include "WebView2.h"

// The interfaces of one web view; released in reverse order when the record goes.
struct WebViewInterfaces {
    ComPtr<ICoreWebView2Environment> m_pEnvironment;
    ComPtr<ICoreWebView2Environment2> m_pEnvironment2;
    ComPtr<ICoreWebView2> m_pWebView;
    ComPtr<ICoreWebView2_2> m_pWebView2;
    ComPtr<ICoreWebView2Controller> m_pController;
    ComPtr<ICoreWebView2Settings> m_pSettings;
};

enum class CallbackKind : int32_t {
    Ready = 0,                 // the web view has been created and set up
    NavigationCompleted = 1,   // a navigation has completed
    TitleChanged = 2,          // the document title has changed
};

// Posted to the host window; wParam is a heap copy of one callback, run and freed by
// the receiver; lParam is 0.
inline constexpr UINT WM_BROWSER_CALLBACK = WM_APP + 124;

class CEdgeWebBrowser : public CWnd {
public:
    using Callback = std::function<void()>;

    CEdgeWebBrowser();
    ~CEdgeWebBrowser() override;

    // Creates the host window (of the class registered here when `className` is null)
    // with the given rectangle in the parent's client coordinates.
    BOOL CreateHostWindow(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect,
                          CWnd* parent, UINT id);
    // The host window, then the web view.
    BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style, const RECT& rect, CWnd* parent,
                UINT id, void* context = nullptr);
    // The host window, then the web view; `onReady` runs once the web view is set up.
    BOOL CreateBrowser(DWORD style, const RECT& rect, CWnd* parent, UINT id, Callback onReady);

    void StartWebView();
    void ReleaseWebView();

    // These act only once the web view exists.
    void NavigateTo(CString address, Callback onCompleted);
    void ReloadPage();
    void DisableScriptDialogs();

    static CString NormalizeUrl(CString address);
    void PostCallback(Callback callback);

    // The folder of an installed browser runtime, or empty: the WebView2 runtime before
    // the browser, the uninstall registration before a scan of the installation folder.
    static CString FindBrowserFolder();
    // which: true for the WebView2 runtime, false for the browser.
    static CString ReadRuntimeFolderFromRegistry(bool which);
    static CString ScanRuntimeFolder(bool which);

    static LRESULT CALLBACK HostWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

    HRESULT OnEnvironmentCreated(HRESULT result, ICoreWebView2Environment* environment);
    HRESULT OnControllerCreated(HRESULT result, ICoreWebView2Controller* controller);
    void AddWebViewEventHandlers();
    HRESULT OnNavigationStarting(ICoreWebView2* sender, ICoreWebView2NavigationStartingEventArgs* args);
    HRESULT OnNavigationCompleted(ICoreWebView2* sender, ICoreWebView2NavigationCompletedEventArgs* args);
    HRESULT OnDocumentTitleChanged(ICoreWebView2* sender, IUnknown* args);

    std::unique_ptr<WebViewInterfaces> m_pInterfaces;
    std::map<CallbackKind, Callback> m_callbacks;
    EventRegistrationToken m_tokNavigationCompleted{};
    EventRegistrationToken m_tokNavigationStarting{};
    EventRegistrationToken m_tokTitleChanged{};
    bool m_bNavigating = false;
    CString m_strTitle;

private:
    // A runtime handler object that calls `method` on this window object for as long as
    // the object lives, and does nothing afterwards.
    template <typename Interface, typename... Args>
    ComPtr<Interface> MakeHandler(HRESULT (CEdgeWebBrowser::*method)(Args...));
    void PostStoredCallback(CallbackKind kind);
    void FitControllerToClient() const;

    // Owns nothing: the runtime's handler objects hold weak references to it, which
    // expire when this object goes.
    std::shared_ptr<CEdgeWebBrowser> m_self;
};
