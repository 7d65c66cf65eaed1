// The environment: creates the controller asynchronously, with the test's faults.
#pragma once

#include "DoubleObject.h"
#include "WebView2.h"

class DoubleEnvironment final : public DoubleObject<ICoreWebView2Environment2> {
public:
    DoubleEnvironment() : DoubleObject(L"Environment") {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(
        HWND parentWindow, ICoreWebView2CreateCoreWebView2ControllerCompletedHandler* handler) override;
    HRESULT STDMETHODCALLTYPE CreateWebResourceResponse(IStream*, int, LPCWSTR, LPCWSTR,
                                                        ICoreWebView2WebResourceResponse**) override;
    HRESULT STDMETHODCALLTYPE get_BrowserVersionString(LPWSTR*) override;
    HRESULT STDMETHODCALLTYPE add_NewBrowserVersionAvailable(ICoreWebView2NewBrowserVersionAvailableEventHandler*,
                                                             EventRegistrationToken*) override;
    HRESULT STDMETHODCALLTYPE remove_NewBrowserVersionAvailable(EventRegistrationToken) override;
    HRESULT STDMETHODCALLTYPE CreateWebResourceRequest(LPCWSTR, LPCWSTR, IStream*, LPCWSTR,
                                                       ICoreWebView2WebResourceRequest**) override;
};
