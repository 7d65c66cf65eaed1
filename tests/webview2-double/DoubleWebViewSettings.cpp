#include "DoubleWebViewSettings.h"

HRESULT DoubleWebViewSettings::QueryInterface(REFIID iid, void** object)
{
    return Answer(iid, object, {ICoreWebView2Settings::kIid});
}

HRESULT DoubleWebViewSettings::get_IsScriptEnabled(BOOL*)
{
    return E_NOTIMPL;
}

HRESULT DoubleWebViewSettings::put_IsScriptEnabled(BOOL)
{
    return E_NOTIMPL;
}

HRESULT DoubleWebViewSettings::get_IsWebMessageEnabled(BOOL*)
{
    return E_NOTIMPL;
}

HRESULT DoubleWebViewSettings::put_IsWebMessageEnabled(BOOL)
{
    return E_NOTIMPL;
}

HRESULT DoubleWebViewSettings::get_AreDefaultScriptDialogsEnabled(BOOL* enabled)
{
    *enabled = m_scriptDialogs;
    return S_OK;
}

HRESULT DoubleWebViewSettings::put_AreDefaultScriptDialogsEnabled(BOOL enabled)
{
    call_log::Write(L"put_AreDefaultScriptDialogsEnabled " + std::to_wstring(enabled));
    m_scriptDialogs = enabled;
    return S_OK;
}
