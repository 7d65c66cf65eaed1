// The loader library's one entry point, as the host looks it up by name.
#include <windows.h>

#include "CallLog.h"
#include "Completion.h"
#include "DoubleEnvironment.h"
#include "FaultPlan.h"
#include "WebView2.h"

namespace {
std::wstring Shown(PCWSTR text)
{
    return text ? L"\"" + std::wstring(text) + L"\"" : L"null";
}
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, ICoreWebView2EnvironmentOptions* environmentOptions,
    ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler* environmentCreatedHandler)
{
    call_log::Write(L"CreateCoreWebView2EnvironmentWithOptions " + Shown(browserExecutableFolder) + L" " +
                    Shown(userDataFolder) + (environmentOptions ? L" options" : L" null"));
    const HRESULT fault = fault_plan::StepResult(L"CreateEnvironment");
    if (FAILED(fault))
        return fault;
    CompleteLater<ICoreWebView2Environment, DoubleEnvironment>(environmentCreatedHandler, L"EnvironmentResult",
                                                               L"NullEnvironment");
    return S_OK;
}
