// A library named like the loader that lacks the entry point the host looks up: it
// only has the loader's other creation function.
#include <windows.h>

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE CreateCoreWebView2Environment(void*)
{
    return E_NOTIMPL;
}
