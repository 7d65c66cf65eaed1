#include "DoubleController.h"

#include "FaultPlan.h"

DoubleController::DoubleController()
    : DoubleObject(L"Controller"), m_webView(ComPtr<DoubleWebView>::Adopt(new DoubleWebView))
{
}

HRESULT DoubleController::QueryInterface(REFIID iid, void** object)
{
    return Answer(iid, object, {ICoreWebView2Controller::kIid});
}

HRESULT DoubleController::put_Bounds(RECT bounds)
{
    call_log::Write(L"put_Bounds " + std::to_wstring(bounds.left) + L" " + std::to_wstring(bounds.top) + L" " +
                    std::to_wstring(bounds.right) + L" " + std::to_wstring(bounds.bottom));
    return S_OK;
}

HRESULT DoubleController::Close()
{
    call_log::Write(L"Close");
    m_webView->MarkClosed();
    return S_OK;
}

HRESULT DoubleController::get_CoreWebView2(ICoreWebView2** webView)
{
    const HRESULT fault = fault_plan::StepResult(L"GetCoreWebView2");
    if (FAILED(fault))
        return fault;
    *webView = nullptr;
    if (fault_plan::Flag(L"NullWebView"))
        return S_OK;
    *webView = m_webView.Get();
    m_webView->AddRef();
    return S_OK;
}

// What the host never calls.
HRESULT DoubleController::get_IsVisible(BOOL*) { return E_NOTIMPL; }
HRESULT DoubleController::put_IsVisible(BOOL) { return E_NOTIMPL; }
HRESULT DoubleController::get_Bounds(RECT*) { return E_NOTIMPL; }
HRESULT DoubleController::get_ZoomFactor(double*) { return E_NOTIMPL; }
HRESULT DoubleController::put_ZoomFactor(double) { return E_NOTIMPL; }
HRESULT DoubleController::add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleController::remove_ZoomFactorChanged(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleController::SetBoundsAndZoomFactor(RECT, double) { return E_NOTIMPL; }
HRESULT DoubleController::MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON) { return E_NOTIMPL; }
HRESULT DoubleController::add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleController::remove_MoveFocusRequested(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleController::add_GotFocus(ICoreWebView2FocusChangedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleController::remove_GotFocus(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleController::add_LostFocus(ICoreWebView2FocusChangedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleController::remove_LostFocus(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleController::add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler*, EventRegistrationToken*) { return E_NOTIMPL; }
HRESULT DoubleController::remove_AcceleratorKeyPressed(EventRegistrationToken) { return E_NOTIMPL; }
HRESULT DoubleController::get_ParentWindow(HWND*) { return E_NOTIMPL; }
HRESULT DoubleController::put_ParentWindow(HWND) { return E_NOTIMPL; }
HRESULT DoubleController::NotifyParentWindowPositionChanged() { return E_NOTIMPL; }
