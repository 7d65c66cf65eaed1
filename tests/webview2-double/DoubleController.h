// The controller: records bounds and Close, and hands out its one web view.
#pragma once

#include "ComPtr.h"
#include "DoubleObject.h"
#include "DoubleWebView.h"
#include "WebView2.h"

class DoubleController final : public DoubleObject<ICoreWebView2Controller> {
public:
    DoubleController();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE get_IsVisible(BOOL*) override;
    HRESULT STDMETHODCALLTYPE put_IsVisible(BOOL) override;
    HRESULT STDMETHODCALLTYPE get_Bounds(RECT*) override;
    HRESULT STDMETHODCALLTYPE put_Bounds(RECT bounds) override;
    HRESULT STDMETHODCALLTYPE get_ZoomFactor(double*) override;
    HRESULT STDMETHODCALLTYPE put_ZoomFactor(double) override;
    HRESULT STDMETHODCALLTYPE add_ZoomFactorChanged(ICoreWebView2ZoomFactorChangedEventHandler*,
                                                    EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_ZoomFactorChanged(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE SetBoundsAndZoomFactor(RECT, double) override;
    HRESULT STDMETHODCALLTYPE MoveFocus(COREWEBVIEW2_MOVE_FOCUS_REASON) override;
    HRESULT STDMETHODCALLTYPE add_MoveFocusRequested(ICoreWebView2MoveFocusRequestedEventHandler*,
                                                     EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_MoveFocusRequested(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_GotFocus(ICoreWebView2FocusChangedEventHandler*, EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_GotFocus(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_LostFocus(ICoreWebView2FocusChangedEventHandler*, EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_LostFocus(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE add_AcceleratorKeyPressed(ICoreWebView2AcceleratorKeyPressedEventHandler*,
                                                        EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_AcceleratorKeyPressed(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE get_ParentWindow(HWND*) override;
    HRESULT STDMETHODCALLTYPE put_ParentWindow(HWND) override;
    HRESULT STDMETHODCALLTYPE NotifyParentWindowPositionChanged() override;
    HRESULT STDMETHODCALLTYPE Close() override;
    HRESULT STDMETHODCALLTYPE get_CoreWebView2(ICoreWebView2** webView) override;

private:
    ComPtr<DoubleWebView> m_webView;
};
