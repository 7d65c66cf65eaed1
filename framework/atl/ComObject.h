// COM objects the way the class library builds them: a class derives from
// CComObjectRootEx (its reference count) and from its interfaces, and leaves IUnknown
// to a wrapper that completes it: CComObject stand-alone, CComAggObject inside an
// outer object, CComObjectCached for a class factory that the module keeps.
//
// The class answers QueryInterface from its interface map, a table of ComInterfaceEntry
// handed to AtlInternalQueryInterface by its static InternalQueryInterface.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include <new>

#include "AtlModule.h"

// Reference counts of objects used on one thread: plain increment and decrement.
struct CComSingleThreadModel {
    static ULONG Increment(LONG* count) { return static_cast<ULONG>(++*count); }
    static ULONG Decrement(LONG* count) { return static_cast<ULONG>(--*count); }
};

// Reference counts of objects shared between threads: atomic.
struct CComMultiThreadModel {
    static ULONG Increment(LONG* count) { return static_cast<ULONG>(::InterlockedIncrement(count)); }
    static ULONG Decrement(LONG* count) { return static_cast<ULONG>(::InterlockedDecrement(count)); }
};

template <class ThreadModel>
class CComObjectRootEx {
public:
    using ThreadModelType = ThreadModel;

    ULONG InternalAddRef() { return ThreadModel::Increment(&m_dwRef); }
    ULONG InternalRelease() { return ThreadModel::Decrement(&m_dwRef); }
    // Hooks of the derived class: after construction, and at the last release.
    HRESULT FinalConstruct() { return S_OK; }
    void FinalRelease() {}

    // The controlling object of an aggregated object, else null.
    IUnknown* m_pOuterUnknown = nullptr;

protected:
    LONG m_dwRef = 0;
};

// One row of an interface map: the interface id and how to reach that interface.
template <class T>
struct ComInterfaceEntry {
    const IID* iid;
    IUnknown* (*cast)(T* object);
};

// The cast of an interface map row: T's base of interface I.
template <class I, class T>
IUnknown* InterfaceOf(T* object)
{
    return static_cast<I*>(object);
}

// IUnknown is answered by the first row.
template <class T, std::size_t N>
HRESULT AtlInternalQueryInterface(T* object, const ComInterfaceEntry<T> (&map)[N], REFIID iid, void** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    for (std::size_t i = 0; i < N; ++i) {
        if (::IsEqualIID(iid, *map[i].iid) || (i == 0 && ::IsEqualIID(iid, IID_IUnknown))) {
            IUnknown* found = map[i].cast(object);
            found->AddRef();
            *result = found;
            return S_OK;
        }
    }
    return E_NOINTERFACE;
}

// The last release destroys the object.
template <class Object>
ULONG AtlReleaseObject(Object* object)
{
    const ULONG count = object->InternalRelease();
    if (count == 0)
        delete object;
    return count;
}

// A stand-alone object. The module stays locked while it lives.
template <class Base>
class CComObject final : public Base {
public:
    explicit CComObject(void* = nullptr) { AtlGetModule()->Lock(); }
    ~CComObject()
    {
        this->FinalRelease();
        AtlGetModule()->Unlock();
    }

    STDMETHOD(QueryInterface)(REFIID iid, void** result) override { return Base::InternalQueryInterface(this, iid, result); }
    STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
    STDMETHOD_(ULONG, Release)() override { return AtlReleaseObject(this); }
};

// The inner part of an aggregated object: its interfaces speak for the outer object.
template <class Base>
class CComContainedObject final : public Base {
public:
    explicit CComContainedObject(void* outer) { this->m_pOuterUnknown = static_cast<IUnknown*>(outer); }

    STDMETHOD(QueryInterface)(REFIID iid, void** result) override
    {
        return this->m_pOuterUnknown->QueryInterface(iid, result);
    }
    STDMETHOD_(ULONG, AddRef)() override { return this->m_pOuterUnknown->AddRef(); }
    STDMETHOD_(ULONG, Release)() override { return this->m_pOuterUnknown->Release(); }
};

// An aggregated object: this is the inner, non-delegating IUnknown that the outer
// object holds; the object's other interfaces belong to the contained part.
template <class Base>
class CComAggObject final : public IUnknown, public CComObjectRootEx<typename Base::ThreadModelType> {
public:
    explicit CComAggObject(void* outer) : m_contained(outer) { AtlGetModule()->Lock(); }
    ~CComAggObject()
    {
        m_contained.FinalRelease();
        AtlGetModule()->Unlock();
    }
    CComAggObject(const CComAggObject&) = delete;
    CComAggObject& operator=(const CComAggObject&) = delete;

    HRESULT FinalConstruct() { return m_contained.FinalConstruct(); }

    STDMETHOD(QueryInterface)(REFIID iid, void** result) override
    {
        if (!result)
            return E_POINTER;
        if (::IsEqualIID(iid, IID_IUnknown)) {
            *result = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        return Base::InternalQueryInterface(&m_contained, iid, result);
    }
    STDMETHOD_(ULONG, AddRef)() override { return this->InternalAddRef(); }
    STDMETHOD_(ULONG, Release)() override { return AtlReleaseObject(this); }

private:
    CComContainedObject<Base> m_contained;
};

// An object that the module itself holds once (a cached class factory): only
// references beyond the module's own keep the module locked.
template <class Base>
class CComObjectCached final : public Base {
public:
    explicit CComObjectCached(void* = nullptr) {}
    ~CComObjectCached() { this->FinalRelease(); }

    STDMETHOD(QueryInterface)(REFIID iid, void** result) override { return Base::InternalQueryInterface(this, iid, result); }
    STDMETHOD_(ULONG, AddRef)() override
    {
        const ULONG count = this->InternalAddRef();
        if (count == 2)
            AtlGetModule()->Lock();
        return count;
    }
    STDMETHOD_(ULONG, Release)() override
    {
        const ULONG count = this->InternalRelease();
        if (count == 0)
            delete this;
        else if (count == 1)
            AtlGetModule()->Unlock();
        return count;
    }
};

// Makes a Wrapper object, constructed with `parameter`, lets `complete` finish it and
// asks it for `iid`: nothing outside sees the object before it is complete.
template <class Wrapper, class Complete>
HRESULT AtlCreateObject(void* parameter, REFIID iid, void** result, Complete complete)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    Wrapper* object = new (std::nothrow) Wrapper(parameter);
    if (!object)
        return E_OUTOFMEMORY;
    complete(object);
    // Held during the set-up, so that a failure destroys the object.
    object->AddRef();
    HRESULT hr = object->FinalConstruct();
    if (SUCCEEDED(hr))
        hr = object->QueryInterface(iid, result);
    object->Release();
    return hr;
}

template <class Wrapper>
HRESULT AtlCreateObject(void* parameter, REFIID iid, void** result)
{
    return AtlCreateObject<Wrapper>(parameter, iid, result, [](Wrapper*) {});
}
