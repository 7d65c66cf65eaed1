#include "ComClassFactory.h"

#include "ComBoundary.h"

HRESULT CComClassFactory::InternalQueryInterface(CComClassFactory* factory, REFIID iid, void** result)
{
    static const ComInterfaceEntry<CComClassFactory> kInterfaceMap[] = {
        {&IID_IClassFactory, &InterfaceOf<IClassFactory, CComClassFactory>},
    };
    return AtlInternalQueryInterface(factory, kInterfaceMap, iid, result);
}

STDMETHODIMP CComClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** result)
{
    if (!result)
        return E_POINTER;
    *result = nullptr;
    // An outer object may ask only for the inner object's own IUnknown.
    if (outer && !::IsEqualIID(iid, IID_IUnknown))
        return CLASS_E_NOAGGREGATION;
    // The object's constructor may run out of memory.
    return ComBoundary([&] { return m_pfnCreateInstance(outer, iid, result); });
}

STDMETHODIMP CComClassFactory::LockServer(BOOL lock)
{
    if (lock)
        AtlGetModule()->Lock();
    else
        AtlGetModule()->Unlock();
    return S_OK;
}
