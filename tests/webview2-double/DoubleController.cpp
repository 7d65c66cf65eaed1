#include "DoubleController.h"

#include "ArgumentCheck.h"

DoubleController::DoubleController()
    : DoubleObject(L"Controller"), m_webView(Reference<DoubleWebView>::Adopt(new DoubleWebView))
{
}

void DoubleController::BindEntries(FunctionTable& table)
{
    table.Bind(L"put_Bounds", L"RECT", &PutBounds);
    table.Bind(L"Close", L"-", &Close);
    table.Bind(L"get_CoreWebView2", L"ICoreWebView2**", &GetCoreWebView2);
}

HRESULT DoubleController::PutBounds(void*, RECT bounds)
{
    const std::wstring call = L"put_Bounds " + std::to_wstring(bounds.left) + L" " + std::to_wstring(bounds.top) +
                              L" " + std::to_wstring(bounds.right) + L" " + std::to_wstring(bounds.bottom);
    if (bounds.right < bounds.left || bounds.bottom < bounds.top)
        return Rejected(call, L"not a rectangle", E_INVALIDARG);
    call_log::Write(call);
    return S_OK;
}

HRESULT DoubleController::Close(void* self)
{
    call_log::Write(L"Close");
    From(self)->m_webView->MarkClosed();
    return S_OK;
}

HRESULT DoubleController::GetCoreWebView2(void* self, void** webView)
{
    DoubleWebView* handedOut = fault_plan::Flag(L"NullWebView") ? nullptr : From(self)->m_webView.Get();
    return HandOut(L"get_CoreWebView2", L"GetCoreWebView2", handedOut, webView);
}
