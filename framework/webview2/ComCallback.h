// COM callback objects: a reference-counted implementation of a one-method handler
// interface (Invoke) that forwards each call to a C++ callable.
#pragma once

#include <unknwn.h>

#include <functional>
#include <utility>

#include "ComPtr.h"

template <typename Interface, typename Invoke = decltype(&Interface::Invoke)>
class ComCallback;

template <typename Interface, typename... Args>
class ComCallback<Interface, HRESULT (Interface::*)(Args...)> final : public Interface {
public:
    using Function = std::function<HRESULT(Args...)>;

    explicit ComCallback(Function function) : m_function(std::move(function)) {}
    ComCallback(const ComCallback&) = delete;
    ComCallback& operator=(const ComCallback&) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (!object)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == Interface::kIid) {
            *object = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return static_cast<ULONG>(::InterlockedIncrement(&m_references)); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = ::InterlockedDecrement(&m_references);
        if (left == 0)
            delete this;
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE Invoke(Args... args) override { return m_function(args...); }

private:
    ~ComCallback() = default;

    LONG m_references = 1;
    Function m_function;
};

// A new callback object; the holder returned owns its first reference.
template <typename Interface>
ComPtr<Interface> MakeCallback(typename ComCallback<Interface>::Function function)
{
    return ComPtr<Interface>::Adopt(new ComCallback<Interface>(std::move(function)));
}
