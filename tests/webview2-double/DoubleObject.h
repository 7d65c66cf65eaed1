// Reference counting and QueryInterface for the double's objects. An object logs
// "Destroyed <name>" when its last reference goes, so a test sees what the host released.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <string>

#include "CallLog.h"

template <typename Interface>
class DoubleObject : public Interface {
public:
    explicit DoubleObject(const wchar_t* name) : m_name(name) {}
    DoubleObject(const DoubleObject&) = delete;
    DoubleObject& operator=(const DoubleObject&) = delete;

    ULONG STDMETHODCALLTYPE AddRef() override { return ++m_references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --m_references;
        if (left == 0) {
            call_log::Write(L"Destroyed " + m_name);
            delete this;
        }
        return left;
    }

protected:
    virtual ~DoubleObject() = default;

    // Answers for IUnknown and for each of `ids`, all served by this one object.
    HRESULT Answer(REFIID iid, void** object, std::initializer_list<IID> ids)
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        bool known = iid == __uuidof(IUnknown);
        for (const IID& id : ids)
            known = known || iid == id;
        if (!known)
            return E_NOINTERFACE;
        *object = static_cast<Interface*>(this);
        AddRef();
        return S_OK;
    }

private:
    std::wstring m_name;
    ULONG m_references = 1;
};
