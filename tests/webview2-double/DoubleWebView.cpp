#include "DoubleWebView.h"

#include <cstring>
#include <vector>

#include "ArgumentCheck.h"
#include "UiQueue.h"

namespace {
// The published name of each event and of the interface its handlers implement.
struct EventNames {
    const wchar_t* event;
    const wchar_t* handlerInterface;
};

constexpr EventNames kEvents[] = {
    {L"NavigationStarting", L"ICoreWebView2NavigationStartingEventHandler"},
    {L"NavigationCompleted", L"ICoreWebView2NavigationCompletedEventHandler"},
    {L"DocumentTitleChanged", L"ICoreWebView2DocumentTitleChangedEventHandler"},
};

__int64 g_lastToken = 0;   // tokens are unique across all events of the process
}

DoubleWebView::DoubleWebView()
    : DoubleObject(L"WebView"), m_settings(Reference<DoubleWebViewSettings>::Adopt(new DoubleWebViewSettings))
{
}

template <size_t Event>
void DoubleWebView::BindEvent(FunctionTable& table)
{
    const std::wstring event = kEvents[Event].event;
    table.Bind(L"add_" + event, kEvents[Event].handlerInterface + std::wstring(L"*, EventRegistrationToken*"),
               &AddHandler<Event>);
    table.Bind(L"remove_" + event, L"EventRegistrationToken", &RemoveHandler<Event>);
}

void DoubleWebView::BindEntries(FunctionTable& table)
{
    table.Bind(L"get_Settings", L"ICoreWebView2Settings**", &GetSettings);
    table.Bind(L"Navigate", L"LPCWSTR", &Navigate);
    table.Bind(L"Reload", L"-", &Reload);
    table.Bind(L"get_DocumentTitle", L"LPWSTR*", &GetDocumentTitle);
    BindEvent<kNavigationStarting>(table);
    BindEvent<kNavigationCompleted>(table);
    BindEvent<kDocumentTitleChanged>(table);
}

HRESULT DoubleWebView::GetSettings(void* self, void** settings)
{
    return HandOut(L"get_Settings", L"GetSettings", From(self)->m_settings.Get(), settings);
}

HRESULT DoubleWebView::Navigate(void* self, LPCWSTR uri)
{
    if (!uri)
        return Rejected(L"Navigate", L"no address", E_INVALIDARG);
    call_log::Write(std::wstring(L"Navigate ") + uri);
    From(self)->m_source = uri;
    From(self)->QueuePageLoad();
    return S_OK;
}

HRESULT DoubleWebView::Reload(void* self)
{
    call_log::Write(L"Reload");
    From(self)->QueuePageLoad();
    return S_OK;
}

void DoubleWebView::QueuePageLoad()
{
    QueueEvent(kNavigationStarting);
    QueueEvent(kDocumentTitleChanged);
    QueueEvent(kNavigationCompleted);
}

void DoubleWebView::QueueEvent(Event event)
{
    AddReference();
    const Reference<DoubleWebView> self = Reference<DoubleWebView>::Adopt(this);
    ui_queue::Post([self, event] {
        if (self->m_closed)
            return;
        std::vector<ProgramHandler> current;
        for (const auto& entry : self->m_handlers[event])
            current.push_back(entry.second);
        for (const ProgramHandler& handler : current)
            handler.Invoke(self.Pointer(), static_cast<void*>(nullptr));
    });
}

HRESULT DoubleWebView::GetDocumentTitle(void* self, LPWSTR* title)
{
    call_log::Write(L"get_DocumentTitle");
    if (!title)
        return Rejected(L"get_DocumentTitle", L"no place for the title", E_POINTER);
    const HRESULT fault = fault_plan::StepResult(L"GetDocumentTitle");
    if (FAILED(fault))
        return fault;
    const std::wstring text = L"Page " + From(self)->m_source;
    const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    *title = static_cast<LPWSTR>(::CoTaskMemAlloc(bytes));
    std::memcpy(*title, text.c_str(), bytes);
    return S_OK;
}

template <size_t Event>
HRESULT DoubleWebView::AddHandler(void* self, void* handler, EventRegistrationToken* token)
{
    const std::wstring call = std::wstring(L"add_") + kEvents[Event].event;
    if (!token)
        return Rejected(call, L"no place for the token", E_POINTER);
    const ProgramHandler registered(handler, kEvents[Event].handlerInterface);
    if (!registered)
        return Rejected(call, std::wstring(L"the handler is no ") + kEvents[Event].handlerInterface, E_NOINTERFACE);
    const HRESULT fault = fault_plan::StepResult((std::wstring(L"Add") + kEvents[Event].event).c_str());
    if (FAILED(fault)) {
        call_log::Write(call + L" failed");
        return fault;
    }
    token->value = ++g_lastToken;
    From(self)->m_handlers[Event][token->value] = registered;
    call_log::Write(call + L" " + std::to_wstring(token->value));
    return S_OK;
}

template <size_t Event>
HRESULT DoubleWebView::RemoveHandler(void* self, EventRegistrationToken token)
{
    const std::wstring call = std::wstring(L"remove_") + kEvents[Event].event + L" " + std::to_wstring(token.value);
    if (From(self)->m_handlers[Event].erase(token.value) == 0)
        return Rejected(call, L"no such registration", E_INVALIDARG);
    call_log::Write(call);
    return S_OK;
}
