// The environment: creates the controller asynchronously, with the test's faults.
#pragma once

#include "DoubleObject.h"

class DoubleEnvironment final : public DoubleObject<DoubleEnvironment> {
public:
    DoubleEnvironment() : DoubleObject(L"Environment") {}

    static constexpr const wchar_t* kInterface = L"ICoreWebView2Environment2";
    static void BindEntries(FunctionTable& table);

private:
    static HRESULT STDMETHODCALLTYPE CreateCoreWebView2Controller(void* self, HWND parentWindow, void* handler);
};
