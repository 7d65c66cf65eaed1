// The web view: records navigations, reloads and event registrations, and runs a page
// load for each navigation or reload as the runtime does, one event at a time from the
// message loop: NavigationStarting, DocumentTitleChanged, NavigationCompleted.
#pragma once

#include <map>
#include <string>

#include "ComPtr.h"
#include "DoubleObject.h"
#include "WebView2.h"

class DoubleWebView final : public DoubleObject<ICoreWebView2_2> {
public:
    DoubleWebView();

    // The controller was closed: no further events.
    void MarkClosed() { m_closed = true; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE get_Settings(ICoreWebView2Settings** settings) override;
    HRESULT STDMETHODCALLTYPE get_Source(LPWSTR* uri) override;
    HRESULT STDMETHODCALLTYPE Navigate(LPCWSTR uri) override;
    HRESULT STDMETHODCALLTYPE NavigateToString(LPCWSTR htmlContent) override;
    HRESULT STDMETHODCALLTYPE add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                                     EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NavigationStarting(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_ContentLoading(ICoreWebView2ContentLoadingEventHandler*,
                                                 EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_ContentLoading(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_SourceChanged(ICoreWebView2SourceChangedEventHandler*,
                                                EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_SourceChanged(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler*,
                                                 EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_HistoryChanged(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                                      EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_NavigationCompleted(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler*,
                                                          EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_FrameNavigationStarting(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler*,
                                                           EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_FrameNavigationCompleted(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler*,
                                                      EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_ScriptDialogOpening(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler*,
                                                      EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_PermissionRequested(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler*,
                                                EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_ProcessFailed(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE AddScriptToExecuteOnDocumentCreated(
        LPCWSTR, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler*) override;
    HRESULT STDMETHODCALLTYPE RemoveScriptToExecuteOnDocumentCreated(LPCWSTR) override;
    HRESULT STDMETHODCALLTYPE ExecuteScript(LPCWSTR, ICoreWebView2ExecuteScriptCompletedHandler*) override;
    HRESULT STDMETHODCALLTYPE CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*,
                                             ICoreWebView2CapturePreviewCompletedHandler*) override;
    HRESULT STDMETHODCALLTYPE Reload() override;
    HRESULT STDMETHODCALLTYPE PostWebMessageAsJson(LPCWSTR) override;
    HRESULT STDMETHODCALLTYPE PostWebMessageAsString(LPCWSTR) override;
    HRESULT STDMETHODCALLTYPE add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler*,
                                                     EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_WebMessageReceived(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE CallDevToolsProtocolMethod(
        LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) override;
    HRESULT STDMETHODCALLTYPE get_BrowserProcessId(UINT32*) override;
    HRESULT STDMETHODCALLTYPE get_CanGoBack(BOOL*) override;
    HRESULT STDMETHODCALLTYPE get_CanGoForward(BOOL*) override;
    HRESULT STDMETHODCALLTYPE GoBack() override;
    HRESULT STDMETHODCALLTYPE GoForward() override;
    HRESULT STDMETHODCALLTYPE GetDevToolsProtocolEventReceiver(LPCWSTR,
                                                              ICoreWebView2DevToolsProtocolEventReceiver**) override;
    HRESULT STDMETHODCALLTYPE Stop() override;
    HRESULT STDMETHODCALLTYPE add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler*,
                                                     EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_NewWindowRequested(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* handler,
                                                       EventRegistrationToken* token) override;
    HRESULT STDMETHODCALLTYPE remove_DocumentTitleChanged(EventRegistrationToken token) override;
    HRESULT STDMETHODCALLTYPE get_DocumentTitle(LPWSTR* title) override;

private:
    template <typename Handler>
    using Handlers = std::map<__int64, ComPtr<Handler>>;

    // Registration with the step's fault ("Add<event>") and a log line "add_<event> <token>".
    template <typename Handler>
    HRESULT Register(const wchar_t* event, Handlers<Handler>& handlers, Handler* handler,
                     EventRegistrationToken* token);
    template <typename Handler>
    HRESULT Unregister(const wchar_t* event, Handlers<Handler>& handlers, EventRegistrationToken token);
    // Queues one event for every handler registered when it runs; the host reads no
    // event arguments, so none are given.
    template <typename Handler>
    void QueueEvent(Handlers<Handler> DoubleWebView::*handlers);
    void QueuePageLoad();

    ComPtr<ICoreWebView2Settings> m_settings;
    Handlers<ICoreWebView2NavigationStartingEventHandler> m_navigationStarting;
    Handlers<ICoreWebView2NavigationCompletedEventHandler> m_navigationCompleted;
    Handlers<ICoreWebView2DocumentTitleChangedEventHandler> m_titleChanged;
    std::wstring m_source;
    bool m_closed = false;
};
