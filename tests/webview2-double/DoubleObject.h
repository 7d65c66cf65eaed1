// The double's COM objects: an object starts with the header of its function table, so the
// program calls it through that table; reference counting and QueryInterface are the same
// for all. QueryInterface answers the table's interface and its bases only, each unless
// the test fails "Query<interface>". An object logs "Destroyed <name>" when its last
// reference goes, so a test sees what the program released.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

#include "ArgumentCheck.h"
#include "CallLog.h"
#include "FaultPlan.h"
#include "FunctionTable.h"

template <typename Derived>
class DoubleObject {
public:
    DoubleObject(const DoubleObject&) = delete;
    DoubleObject& operator=(const DoubleObject&) = delete;

    // What the program holds: the object's address, where its header is.
    void* Pointer() { return this; }
    static Derived* From(void* pointer) { return static_cast<Derived*>(static_cast<DoubleObject*>(pointer)); }

    void AddReference() { ++m_references; }
    void ReleaseReference()
    {
        if (--m_references > 0)
            return;
        call_log::Write(L"Destroyed " + m_name);
        delete static_cast<Derived*>(this);
    }

    // The function table of every object of the class: the published layout of
    // Derived::kInterface, with IUnknown's slots and those of Derived::BindEntries bound.
    static const FunctionTable& Table()
    {
        static const FunctionTable table = [] {
            FunctionTable laidOut(Derived::kInterface);
            laidOut.Bind(L"QueryInterface", L"REFIID, void**", &QueryInterface);
            laidOut.Bind(L"AddRef", L"-", &AddRef);
            laidOut.Bind(L"Release", L"-", &Release);
            Derived::BindEntries(laidOut);
            return laidOut;
        }();
        return table;
    }

protected:
    explicit DoubleObject(const wchar_t* name) : m_header{Table().Entries(), &Table()}, m_name(name) {}
    ~DoubleObject() = default;

private:
    static HRESULT STDMETHODCALLTYPE QueryInterface(void* self, REFIID id, void** object)
    {
        if (!object)
            return E_POINTER;
        *object = nullptr;
        DoubleObject* target = From(self);
        for (const auto& answer : target->m_header.table->Answers()) {
            if (id != answer.second)
                continue;
            const HRESULT fault = fault_plan::StepResult((L"Query" + answer.first).c_str());
            if (FAILED(fault))
                return fault;
            target->AddReference();
            *object = self;
            return S_OK;
        }
        return E_NOINTERFACE;
    }
    static ULONG STDMETHODCALLTYPE AddRef(void* self)
    {
        From(self)->AddReference();
        return From(self)->m_references;
    }
    static ULONG STDMETHODCALLTYPE Release(void* self)
    {
        const ULONG left = From(self)->m_references - 1;
        From(self)->ReleaseReference();
        return left;
    }

    ObjectHeader m_header;   // first: what the program calls through
    ULONG m_references = 1;
    std::wstring m_name;
};

// One reference to an object of the double, released when the holder goes.
template <typename Object>
class Reference {
public:
    Reference() = default;
    // Takes over a reference the caller owns.
    static Reference Adopt(Object* object)
    {
        Reference held;
        held.m_object = object;
        return held;
    }
    Reference(const Reference& other) : m_object(other.m_object)
    {
        if (m_object)
            m_object->AddReference();
    }
    Reference& operator=(Reference other) noexcept
    {
        std::swap(m_object, other.m_object);
        return *this;
    }
    ~Reference()
    {
        if (m_object)
            m_object->ReleaseReference();
    }

    Object* operator->() const { return m_object; }
    Object* Get() const { return m_object; }
    void* Pointer() const { return m_object ? m_object->Pointer() : nullptr; }

private:
    Object* m_object = nullptr;
};

// Gives the caller a new reference to `object` (none when it is null) through `out`, as
// a published getter does, unless `out` is null or the test fails `step`.
template <typename Object>
HRESULT HandOut(const std::wstring& call, const wchar_t* step, Object* object, void** out)
{
    if (!out)
        return Rejected(call, L"no place for the result", E_POINTER);
    const HRESULT fault = fault_plan::StepResult(step);
    if (FAILED(fault))
        return fault;
    *out = nullptr;
    if (object) {
        object->AddReference();
        *out = object->Pointer();
    }
    return S_OK;
}
