#include "DoubleWebView.h"

#include <vector>

#include "DoubleWebViewSettings.h"
#include "FaultPlan.h"
#include "UiQueue.h"

namespace {
__int64 g_lastToken = 0;   // tokens are unique across all events of the process
}

DoubleWebView::DoubleWebView()
    : DoubleObject(L"WebView"), m_settings(ComPtr<ICoreWebView2Settings>::Adopt(new DoubleWebViewSettings))
{
}

HRESULT DoubleWebView::QueryInterface(REFIID iid, void** object)
{
    if (fault_plan::Flag(L"NoWebView2_2"))
        return Answer(iid, object, {ICoreWebView2::kIid});
    return Answer(iid, object, {ICoreWebView2::kIid, ICoreWebView2_2::kIid});
}

HRESULT DoubleWebView::get_Settings(ICoreWebView2Settings** settings)
{
    const HRESULT fault = fault_plan::StepResult(L"GetSettings");
    if (FAILED(fault))
        return fault;
    *settings = m_settings.Get();
    (*settings)->AddRef();
    return S_OK;
}

HRESULT DoubleWebView::Navigate(LPCWSTR uri)
{
    call_log::Write(std::wstring(L"Navigate ") + uri);
    m_source = uri;
    QueuePageLoad();
    return S_OK;
}

HRESULT DoubleWebView::Reload()
{
    call_log::Write(L"Reload");
    QueuePageLoad();
    return S_OK;
}

void DoubleWebView::QueuePageLoad()
{
    QueueEvent(&DoubleWebView::m_navigationStarting);
    QueueEvent(&DoubleWebView::m_titleChanged);
    QueueEvent(&DoubleWebView::m_navigationCompleted);
}

template <typename Handler>
void DoubleWebView::QueueEvent(Handlers<Handler> DoubleWebView::*handlers)
{
    ComPtr<DoubleWebView> self(this);
    ui_queue::Post([self, handlers] {
        if (self->m_closed)
            return;
        std::vector<ComPtr<Handler>> current;
        for (const auto& entry : (*self.Get()).*handlers)
            current.push_back(entry.second);
        for (const ComPtr<Handler>& handler : current)
            handler->Invoke(self.Get(), nullptr);
    });
}

HRESULT DoubleWebView::get_DocumentTitle(LPWSTR* title)
{
    call_log::Write(L"get_DocumentTitle");
    const HRESULT fault = fault_plan::StepResult(L"GetDocumentTitle");
    if (FAILED(fault))
        return fault;
    const std::wstring text = L"Page " + m_source;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    *title = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
    memcpy(*title, text.c_str(), bytes);
    return S_OK;
}

template <typename Handler>
HRESULT DoubleWebView::Register(const wchar_t* event, Handlers<Handler>& handlers, Handler* handler,
                                EventRegistrationToken* token)
{
    const HRESULT fault = fault_plan::StepResult((std::wstring(L"Add") + event).c_str());
    if (FAILED(fault)) {
        call_log::Write(std::wstring(L"add_") + event + L" failed");
        return fault;
    }
    token->value = ++g_lastToken;
    handlers[token->value] = handler;
    call_log::Write(std::wstring(L"add_") + event + L" " + std::to_wstring(token->value));
    return S_OK;
}

template <typename Handler>
HRESULT DoubleWebView::Unregister(const wchar_t* event, Handlers<Handler>& handlers, EventRegistrationToken token)
{
    call_log::Write(std::wstring(L"remove_") + event + L" " + std::to_wstring(token.value));
    handlers.erase(token.value);
    return S_OK;
}

HRESULT DoubleWebView::add_NavigationStarting(ICoreWebView2NavigationStartingEventHandler* handler,
                                              EventRegistrationToken* token)
{
    return Register(L"NavigationStarting", m_navigationStarting, handler, token);
}

HRESULT DoubleWebView::remove_NavigationStarting(EventRegistrationToken token)
{
    return Unregister(L"NavigationStarting", m_navigationStarting, token);
}

HRESULT DoubleWebView::add_NavigationCompleted(ICoreWebView2NavigationCompletedEventHandler* handler,
                                               EventRegistrationToken* token)
{
    return Register(L"NavigationCompleted", m_navigationCompleted, handler, token);
}

HRESULT DoubleWebView::remove_NavigationCompleted(EventRegistrationToken token)
{
    return Unregister(L"NavigationCompleted", m_navigationCompleted, token);
}

HRESULT DoubleWebView::add_DocumentTitleChanged(ICoreWebView2DocumentTitleChangedEventHandler* handler,
                                                EventRegistrationToken* token)
{
    return Register(L"DocumentTitleChanged", m_titleChanged, handler, token);
}

HRESULT DoubleWebView::remove_DocumentTitleChanged(EventRegistrationToken token)
{
    return Unregister(L"DocumentTitleChanged", m_titleChanged, token);
}

// What the host never calls.
HRESULT DoubleWebView::get_Source(LPWSTR*) { return E_NOTIMPL; }
HRESULT DoubleWebView::NavigateToString(LPCWSTR) { return E_NOTIMPL; }
HRESULT DoubleWebView::add_ContentLoading(ICoreWebView2ContentLoadingEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_ContentLoading(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleWebView::add_SourceChanged(ICoreWebView2SourceChangedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_SourceChanged(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleWebView::add_HistoryChanged(ICoreWebView2HistoryChangedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_HistoryChanged(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleWebView::add_FrameNavigationStarting(ICoreWebView2NavigationStartingEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_FrameNavigationStarting(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleWebView::add_FrameNavigationCompleted(ICoreWebView2NavigationCompletedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_FrameNavigationCompleted(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleWebView::add_ScriptDialogOpening(ICoreWebView2ScriptDialogOpeningEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_ScriptDialogOpening(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleWebView::add_PermissionRequested(ICoreWebView2PermissionRequestedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_PermissionRequested(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleWebView::add_ProcessFailed(ICoreWebView2ProcessFailedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_ProcessFailed(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleWebView::AddScriptToExecuteOnDocumentCreated(LPCWSTR, ICoreWebView2AddScriptToExecuteOnDocumentCreatedCompletedHandler*) { return E_NOTIMPL; }
HRESULT DoubleWebView::RemoveScriptToExecuteOnDocumentCreated(LPCWSTR) { return E_NOTIMPL; }
HRESULT DoubleWebView::ExecuteScript(LPCWSTR, ICoreWebView2ExecuteScriptCompletedHandler*) { return E_NOTIMPL; }
HRESULT DoubleWebView::CapturePreview(COREWEBVIEW2_CAPTURE_PREVIEW_IMAGE_FORMAT, IStream*, ICoreWebView2CapturePreviewCompletedHandler*) { return E_NOTIMPL; }
HRESULT DoubleWebView::PostWebMessageAsJson(LPCWSTR) { return E_NOTIMPL; }
HRESULT DoubleWebView::PostWebMessageAsString(LPCWSTR) { return E_NOTIMPL; }
HRESULT DoubleWebView::add_WebMessageReceived(ICoreWebView2WebMessageReceivedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_WebMessageReceived(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleWebView::CallDevToolsProtocolMethod(LPCWSTR, LPCWSTR, ICoreWebView2CallDevToolsProtocolMethodCompletedHandler*) { return E_NOTIMPL; }
HRESULT DoubleWebView::get_BrowserProcessId(UINT32*) { return E_NOTIMPL; }
HRESULT DoubleWebView::get_CanGoBack(BOOL*) { return E_NOTIMPL; }
HRESULT DoubleWebView::get_CanGoForward(BOOL*) { return E_NOTIMPL; }
HRESULT DoubleWebView::GoBack() { return E_NOTIMPL; }
HRESULT DoubleWebView::GoForward() { return E_NOTIMPL; }
HRESULT DoubleWebView::GetDevToolsProtocolEventReceiver(LPCWSTR, ICoreWebView2DevToolsProtocolEventReceiver**) { return E_NOTIMPL; }
HRESULT DoubleWebView::Stop() { return E_NOTIMPL; }
HRESULT DoubleWebView::add_NewWindowRequested(ICoreWebView2NewWindowRequestedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleWebView::remove_NewWindowRequested(EventRegistrationToken) { return E_NOTIMPL; }
