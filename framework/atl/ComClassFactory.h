// The class factory of a class and CComCoClass, which gives a class its object-map
// functions: its class id, its instance creator and its class-factory creator.
#pragma once

#include <windows.h>
#include <unknwn.h>

#include "AtlModule.h"
#include "ComObject.h"

class CComClassFactory : public IClassFactory, public CComObjectRootEx<CComMultiThreadModel> {
public:
    static HRESULT InternalQueryInterface(CComClassFactory* factory, REFIID iid, void** result);

    STDMETHOD(CreateInstance)(IUnknown* outer, REFIID iid, void** result) override;
    STDMETHOD(LockServer)(BOOL lock) override;

    // Makes the objects of this factory's class.
    AtlCreatorFunc m_pfnCreateInstance = nullptr;
};

// Base of a creatable class T with class id *clsid.
template <class T, const CLSID* clsid>
class CComCoClass {
public:
    static constexpr const CLSID* kObjectClsid = clsid;
    static const CLSID& WINAPI GetObjectCLSID() { return *clsid; }
    static void ObjectMain(bool) {}

    // A CComObject of T, or a CComAggObject when an outer object is given.
    static HRESULT CreateInstance(void* outer, REFIID iid, void** result)
    {
        return outer ? AtlCreateObject<CComAggObject<T>>(outer, iid, result)
                     : AtlCreateObject<CComObject<T>>(nullptr, iid, result);
    }

    // The factory that the module keeps for the class, with its instance creator.
    static HRESULT CreateClassFactory(AtlCreatorFunc instanceCreator, REFIID iid, void** result)
    {
        return AtlCreateObject<CComObjectCached<CComClassFactory>>(
            nullptr, iid, result, [instanceCreator](CComClassFactory* factory) {
                factory->m_pfnCreateInstance = instanceCreator;
            });
    }
};

// The object-map row of class T.
template <class T>
constexpr AtlObjectMapEntry AtlObjectEntry()
{
    return {T::kObjectClsid, &T::UpdateRegistry, &T::CreateClassFactory, &T::CreateInstance, &T::ObjectMain,
            nullptr};
}
