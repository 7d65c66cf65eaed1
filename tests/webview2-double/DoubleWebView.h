// The web view: records navigations, reloads and event registrations, and runs a page
// load for each navigation or reload as the runtime does, one event at a time from the
// message loop: NavigationStarting, DocumentTitleChanged, NavigationCompleted.
#pragma once

#include <array>
#include <map>
#include <string>

#include "DoubleObject.h"
#include "DoubleWebViewSettings.h"
#include "ProgramHandler.h"

// The published registration token: one signed 64-bit value.
struct EventRegistrationToken {
    __int64 value;
};

class DoubleWebView final : public DoubleObject<DoubleWebView> {
public:
    DoubleWebView();

    static constexpr const wchar_t* kInterface = L"ICoreWebView2_2";
    static void BindEntries(FunctionTable& table);

    // The controller was closed: no further events.
    void MarkClosed() { m_closed = true; }

private:
    enum Event : size_t { kNavigationStarting, kNavigationCompleted, kDocumentTitleChanged, kEventCount };

    template <size_t Event>
    static void BindEvent(FunctionTable& table);
    // Registration with the step's fault ("Add<event>") and a log line "add_<event> <token>".
    template <size_t Event>
    static HRESULT STDMETHODCALLTYPE AddHandler(void* self, void* handler, EventRegistrationToken* token);
    template <size_t Event>
    static HRESULT STDMETHODCALLTYPE RemoveHandler(void* self, EventRegistrationToken token);

    static HRESULT STDMETHODCALLTYPE GetSettings(void* self, void** settings);
    static HRESULT STDMETHODCALLTYPE Navigate(void* self, LPCWSTR uri);
    static HRESULT STDMETHODCALLTYPE Reload(void* self);
    static HRESULT STDMETHODCALLTYPE GetDocumentTitle(void* self, LPWSTR* title);

    void QueuePageLoad();
    // Queues one event for every handler registered when it runs; the program reads no
    // event arguments, so none are given.
    void QueueEvent(Event event);

    Reference<DoubleWebViewSettings> m_settings;
    std::array<std::map<__int64, ProgramHandler>, kEventCount> m_handlers;
    std::wstring m_source;
    bool m_closed = false;
};
