// ComPtr: holds one reference to a COM interface and releases it when replaced,
// cleared or destroyed.
#pragma once

#include <unknwn.h>

#include <utility>

template <typename Interface>
class ComPtr;

// QueryInterface on `object` for `Interface` (its kIid) into `target`, which is
// released first.
template <typename Interface>
HRESULT QueryInterfaceInto(IUnknown* object, ComPtr<Interface>& target)
{
    return object->QueryInterface(Interface::kIid, reinterpret_cast<void**>(target.ReleaseAndGetAddressOf()));
}

template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(Interface* pointer) : m_pointer(pointer) { AddRefHeld(); }
    ComPtr(const ComPtr& other) : ComPtr(other.m_pointer) {}
    ComPtr(ComPtr&& other) noexcept : m_pointer(std::exchange(other.m_pointer, nullptr)) {}
    ~ComPtr() { Reset(); }

    ComPtr& operator=(ComPtr other) noexcept
    {
        std::swap(m_pointer, other.m_pointer);
        return *this;
    }

    Interface* Get() const { return m_pointer; }
    Interface* operator->() const { return m_pointer; }
    explicit operator bool() const { return m_pointer != nullptr; }

    // Releases what is held and gives the slot for an out-parameter to fill.
    Interface** ReleaseAndGetAddressOf()
    {
        Reset();
        return &m_pointer;
    }

    void Reset()
    {
        if (Interface* held = std::exchange(m_pointer, nullptr))
            held->Release();
    }

    // Takes over a reference the caller already owns.
    static ComPtr Adopt(Interface* pointer)
    {
        ComPtr result;
        result.m_pointer = pointer;
        return result;
    }

private:
    void AddRefHeld() const
    {
        if (m_pointer)
            m_pointer->AddRef();
    }

    Interface* m_pointer = nullptr;
};
