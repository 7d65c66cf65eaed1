// A handler object the program hands the double, reached as a COM client reaches it:
// through QueryInterface for the handler interface's published id, then through the slot
// the published table gives its Invoke.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <string>
#include <utility>

class ProgramHandler {
public:
    ProgramHandler() = default;
    // Holds nothing when `object` is null or does not answer the published id of
    // `interfaceName`.
    ProgramHandler(void* object, const std::wstring& interfaceName);
    ProgramHandler(const ProgramHandler& other);
    ProgramHandler& operator=(ProgramHandler other) noexcept
    {
        std::swap(m_object, other.m_object);
        std::swap(m_invokeSlot, other.m_invokeSlot);
        return *this;
    }
    ~ProgramHandler();

    explicit operator bool() const { return m_object != nullptr; }

    // Invoke with `args` after the object, as the published parameter types lay them out.
    template <typename... Args>
    HRESULT Invoke(Args... args) const
    {
        using Entry = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Args...);
        void* const* entries = *reinterpret_cast<void* const* const*>(m_object);
        return reinterpret_cast<Entry>(entries[m_invokeSlot])(m_object, args...);
    }

private:
    IUnknown* m_object = nullptr;
    size_t m_invokeSlot = 0;
};
