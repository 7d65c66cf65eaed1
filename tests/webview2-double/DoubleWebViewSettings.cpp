#include "DoubleWebViewSettings.h"

#include "ArgumentCheck.h"

void DoubleWebViewSettings::BindEntries(FunctionTable& table)
{
    table.Bind(L"put_AreDefaultScriptDialogsEnabled", L"BOOL", &PutAreDefaultScriptDialogsEnabled);
}

HRESULT DoubleWebViewSettings::PutAreDefaultScriptDialogsEnabled(void*, BOOL enabled)
{
    const std::wstring call = L"put_AreDefaultScriptDialogsEnabled " + std::to_wstring(enabled);
    if (enabled != TRUE && enabled != FALSE)
        return Rejected(call, L"neither TRUE nor FALSE", E_INVALIDARG);
    call_log::Write(call);
    return S_OK;
}
