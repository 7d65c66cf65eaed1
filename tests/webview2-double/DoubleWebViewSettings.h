// The web view's settings: only the script-dialog setting is recorded.
#pragma once

#include "DoubleObject.h"

class DoubleWebViewSettings final : public DoubleObject<DoubleWebViewSettings> {
public:
    DoubleWebViewSettings() : DoubleObject(L"Settings") {}

    static constexpr const wchar_t* kInterface = L"ICoreWebView2Settings";
    static void BindEntries(FunctionTable& table);

private:
    static HRESULT STDMETHODCALLTYPE PutAreDefaultScriptDialogsEnabled(void* self, BOOL enabled);
};
