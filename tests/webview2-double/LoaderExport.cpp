// The loader library's one entry point, as the program looks it up by name.
#include <windows.h>

#include <stdexcept>

#include "CallLog.h"
#include "Completion.h"
#include "DoubleController.h"
#include "DoubleEnvironment.h"
#include "DoubleWebView.h"
#include "DoubleWebViewSettings.h"

namespace {
std::wstring Shown(PCWSTR text)
{
    return text ? L"\"" + std::wstring(text) + L"\"" : L"null";
}

// Lays out every function table before the first object exists, so that a table the
// published interfaces do not support fails the creation, naming the problem.
bool TablesLaidOut()
{
    try {
        DoubleEnvironment::Table();
        DoubleController::Table();
        DoubleWebView::Table();
        DoubleWebViewSettings::Table();
        return true;
    } catch (const std::runtime_error& problem) {
        const std::string what = problem.what();
        call_log::Write(L"published table: " + std::wstring(what.begin(), what.end()));
        return false;
    }
}
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE CreateCoreWebView2EnvironmentWithOptions(
    PCWSTR browserExecutableFolder, PCWSTR userDataFolder, IUnknown* environmentOptions,
    IUnknown* environmentCreatedHandler)
{
    const std::wstring call = L"CreateCoreWebView2EnvironmentWithOptions " + Shown(browserExecutableFolder) + L" " +
                              Shown(userDataFolder) + (environmentOptions ? L" options" : L" null");
    if (!TablesLaidOut())
        return E_FAIL;
    return StartCreation<DoubleEnvironment>(call, environmentCreatedHandler,
                                            {L"ICoreWebView2CreateCoreWebView2EnvironmentCompletedHandler",
                                             L"CreateEnvironment", L"EnvironmentResult", L"NullEnvironment"});
}
