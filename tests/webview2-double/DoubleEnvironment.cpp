#include "DoubleEnvironment.h"

#include <cwchar>

#include "Completion.h"
#include "DoubleController.h"

void DoubleEnvironment::BindEntries(FunctionTable& table)
{
    table.Bind(L"CreateCoreWebView2Controller",
               L"HWND, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler*",
               &CreateCoreWebView2Controller);
}

HRESULT DoubleEnvironment::CreateCoreWebView2Controller(void*, HWND parentWindow, void* handler)
{
    wchar_t parent[32];
    std::swprintf(parent, 32, L"%p", static_cast<void*>(parentWindow));
    const std::wstring call = std::wstring(L"CreateCoreWebView2Controller ") + parent;
    if (!::IsWindow(parentWindow))
        return Rejected(call, L"no parent window", E_INVALIDARG);
    return StartCreation<DoubleController>(call, handler,
                                           {L"ICoreWebView2CreateCoreWebView2ControllerCompletedHandler",
                                            L"CreateController", L"ControllerResult", L"NullController"});
}
