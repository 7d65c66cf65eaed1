#include "DoubleEnvironment.h"

#include <cwchar>

#include "Completion.h"
#include "DoubleController.h"
#include "FaultPlan.h"

HRESULT DoubleEnvironment::QueryInterface(REFIID iid, void** object)
{
    if (fault_plan::Flag(L"NoEnvironment2"))
        return Answer(iid, object, {ICoreWebView2Environment::kIid});
    return Answer(iid, object, {ICoreWebView2Environment::kIid, ICoreWebView2Environment2::kIid});
}

HRESULT DoubleEnvironment::CreateCoreWebView2Controller(
    HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler)
{
    wchar_t parent[32];
    std::swprintf(parent, 32, L"%p", static_cast<void*>(parentWindow));
    call_log::Write(std::wstring(L"CreateCoreWebView2Controller ") + parent);
    const HRESULT fault = fault_plan::StepResult(L"CreateController");
    if (FAILED(fault))
        return fault;
    CompleteLater<ICoreWebView2Controller, DoubleController>(handler, L"ControllerResult", L"NullController");
    return S_OK;
}

// What the host never calls.
HRESULT DoubleEnvironment::CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR, ICoreWebView2WebResourceResponse**) { return E_NOTIMPL; }
HRESULT DoubleEnvironment::get_BrowserVersionString(LPWSTR*) { return E_NOTIMPL; }
HRESULT DoubleEnvironment::add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleEnvironment::remove_NewBrowserVersionAvailable(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleEnvironment::CreateWebResourceRequest(LPCWSTR, LPCWSTR, IStream*, LPCWSTR, ICoreWebView2WebResourceRequest**) { return E_NOTIMPL; }
