// The controller: records bounds and Close, and hands out its one web view.
#pragma once

#include "DoubleObject.h"
#include "DoubleWebView.h"

class DoubleController final : public DoubleObject<DoubleController> {
public:
    DoubleController();

    static constexpr const wchar_t* kInterface = L"ICoreWebView2Controller";
    static void BindEntries(FunctionTable& table);

private:
    static HRESULT STDMETHODCALLTYPE PutBounds(void* self, RECT bounds);
    static HRESULT STDMETHODCALLTYPE Close(void* self);
    static HRESULT STDMETHODCALLTYPE GetCoreWebView2(void* self, void** webView);

    Reference<DoubleWebView> m_webView;
};
