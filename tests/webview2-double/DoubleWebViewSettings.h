// The web view's settings: only the script-dialog setting is recorded.
#pragma once

#include "DoubleObject.h"
#include "WebView2.h"

class DoubleWebViewSettings final : public DoubleObject<ICoreWebView2Settings> {
public:
    DoubleWebViewSettings() : DoubleObject(L"Settings") {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE get_IsScriptEnabled(BOOL* enabled) override;
    HRESULT STDMETHODCALLTYPE put_IsScriptEnabled(BOOL enabled) override;
    HRESULT STDMETHODCALLTYPE get_IsWebMessageEnabled(BOOL* enabled) override;
    HRESULT STDMETHODCALLTYPE put_IsWebMessageEnabled(BOOL enabled) override;
    HRESULT STDMETHODCALLTYPE get_AreDefaultScriptDialogsEnabled(BOOL* enabled) override;
    HRESULT STDMETHODCALLTYPE put_AreDefaultScriptDialogsEnabled(BOOL enabled) override;

private:
    BOOL m_scriptDialogs = TRUE;
};
